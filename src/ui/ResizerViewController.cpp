#include "ui/ResizerViewController.h"

#include "appearance/PreferenceStore.h"
#include "batch/ActivityLog.h"
#include "ui/ControlStyling.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/MainWindowBuilder.h"
#include "ui/TargetField.h"
#include "ui/WidgetColours.h"

#include <QEvent>
#include <QPlainTextEdit>

namespace voveriz {

namespace {

constexpr int kRootWidth = 400;
constexpr int kRootHeight = 580;

}  // namespace

ResizerViewController::ResizerViewController(PreferenceStore& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
{
}

ResizerViewController::~ResizerViewController()
{
    if (m_view && !m_view->parent()) {
        delete m_view.data();
    }
}

DropView* ResizerViewController::view()
{
    if (!m_view) {
        loadView();
        viewDidLoad();
    }
    return m_view.data();
}

void ResizerViewController::loadView()
{
    m_view = new DropView;
    m_view->resize(kRootWidth, kRootHeight);
    setBackgroundFill(*m_view, m_palette.bg());
    m_view->installEventFilter(this);
}

void ResizerViewController::buildUI()
{
    const Colour background = Colour::fromHex(m_store.stringOrDefault(PreferenceKey::BgColor));
    MainWindowControls& c = m_controls = buildMainWindowTree(*m_view, m_palette, background);

    connect(c.gearBtn, &FlatButton::clicked, this, &ResizerViewController::openSettings);
    connect(c.targetField, &TargetField::editingFinished, this, &ResizerViewController::controlTextDidEndEditing);
    connect(c.widthButton, &FlatButton::clicked, this, &ResizerViewController::setWidth);
    connect(c.heightButton, &FlatButton::clicked, this, &ResizerViewController::setHeight);
    connect(c.changeOutputBtn, &FlatButton::clicked, this, &ResizerViewController::pickOutputFolder);
    connect(c.openOutputBtn, &FlatButton::clicked, this, &ResizerViewController::openOutputFolder);
    connect(c.clearBtn, &FlatButton::clicked, this, &ResizerViewController::clearLog);

    m_log = new ActivityLog(c.logView);
    m_view->takeFileDropsFrom({c.targetField, c.logView, c.logView->viewport()});

    log(QString::fromLatin1(kHintLine), m_palette.textCol());
    relayout();
}

void ResizerViewController::viewDidLoad()
{
    buildUI();
    m_view->setOnDrop([self = QPointer(this)](const DroppedFiles& files) {
        if (self) self->handleDrop(files);
    });
    restoreOutputPath();
    restoreSettings();
}

bool ResizerViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        relayout();
    }
    return QObject::eventFilter(watched, event);
}

void ResizerViewController::relayout()
{
    if (m_view) {
        applyMainWindowLayout(m_controls.laidOut(), m_view->size());
    }
}

void ResizerViewController::log(const QString& text, const Colour& colour)
{
    Q_ASSERT(m_log);
    m_log->log(text, colour);
}

void ResizerViewController::clearLog()
{
    m_log->clear();
}

void ResizerViewController::openSettings()
{
    // The appearance popover anchors to the gear here.
}

void ResizerViewController::setWidth()
{
    chooseDimension(QStringLiteral("width"), *m_controls.widthButton, *m_controls.heightButton);
}

void ResizerViewController::setHeight()
{
    chooseDimension(QStringLiteral("height"), *m_controls.heightButton, *m_controls.widthButton);
}

void ResizerViewController::chooseDimension(const QString& value, FlatButton& chosen, FlatButton& other)
{
    m_dimension = value;
    paintToggle(chosen, true, m_palette);
    paintToggle(other, false, m_palette);
}

void ResizerViewController::pickOutputFolder()
{
    // The folder chooser sets outputPath here.
}

void ResizerViewController::openOutputFolder()
{
    // The chosen folder opens in the file browser here.
}

void ResizerViewController::controlTextDidEndEditing()
{
    // The target text is stored here when its editing ends.
}

void ResizerViewController::restoreOutputPath()
{
    // The stored output folder comes back here.
}

void ResizerViewController::restoreSettings()
{
    // The stored target size, dimension and text lightness come back here.
}

void ResizerViewController::handleDrop(const DroppedFiles& files)
{
    (void)files;  // the batch takes the dropped files from here
}

}  // namespace voveriz
