#include "ui/AccessiblePopups.h"

#include "ui/SettingsPopover.h"

#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QApplication>

namespace voveriz {

namespace {

QObjectList shownPopups()
{
    QObjectList popups;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowType() == Qt::Popup && window->isVisible()) popups.append(window);
    }
    return popups;
}

// Qt's own list of windows, then the popups that show.
class ApplicationWithPopups : public QAccessibleApplication {
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(shownPopups().size()); }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const int window = QAccessibleApplication::indexOfChild(child);
        if (window >= 0 || !child) return window;
        const int popup = int(shownPopups().indexOf(child->object()));
        return popup < 0 ? -1 : QAccessibleApplication::childCount() + popup;
    }

    QAccessibleInterface* child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows) return QAccessibleApplication::child(index);
        const QObjectList popups = shownPopups();
        return index - windows < popups.size() ? QAccessible::queryAccessibleInterface(popups.at(index - windows))
                                               : nullptr;
    }
};

QAccessibleInterface* popupAwareInterface(const QString& className, QObject* object)
{
    if (object && object == qApp) return new ApplicationWithPopups;
    if (className == QLatin1String(SettingsPopover::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

void installAccessiblePopups()
{
    static const bool installed = [] {
        QAccessible::installFactory(popupAwareInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace voveriz
