#include "ui/SettingsPopover.h"

#include "ui/ColorWell.h"
#include "ui/SettingsViewController.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace voveriz {

QRect popoverGeometry(const QRect& anchor, const QSize& size, const QRect& screen)
{
    const int gap = SettingsPopover::kAnchorGap;
    int x = anchor.center().x() + 1 - size.width() / 2;
    int y = anchor.top() - gap - size.height();
    if (y < screen.top()) y = anchor.bottom() + 1 + gap;
    // Inside the screen; a screen smaller than the popover shows its top-left corner.
    x = std::max(std::min(x, screen.right() + 1 - size.width()), screen.left());
    y = std::max(std::min(y, screen.bottom() + 1 - size.height()), screen.top());
    return QRect(QPoint(x, y), size);
}

SettingsPopover::SettingsPopover(PreferenceStore& store, QWidget* parent)
    : QWidget(parent, Qt::Popup)
    , m_content(new SettingsViewController(store, this))
{
    setFixedSize(kSize);
    setAccessibleName(QStringLiteral("Settings"));
    setAccessibleDescription(QStringLiteral("Background color and text lightness"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content->view());
    // The first opening puts the focus on the tabs (the tab bar draws no mark for it), so a
    // screen reader learns the popover has opened and Tab goes on from there; later openings
    // give it back where it was left.
    m_content->tabView()->setFocus(Qt::PopupFocusReason);
    // The color dialog takes the user elsewhere; a popup would close at the first click into it
    // and swallow that click, so it closes before the dialog shows.
    connect(m_content->colorWell(), &ColorWell::dialogAboutToOpen, this, &QWidget::close);
}

SettingsPopover::~SettingsPopover() = default;

void SettingsPopover::showAnchoredTo(QWidget* anchor)
{
    if (anchor) {
        const QRect anchorRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
        QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), kSize);
        setGeometry(popoverGeometry(anchorRect, kSize, available));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace voveriz
