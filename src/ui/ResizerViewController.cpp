#include "ui/ResizerViewController.h"

#include "appearance/PreferenceStore.h"
#include "ui/ActivityLog.h"
#include "batch/BatchSettings.h"
#include "batch/BatchWorkers.h"
#include "ui/ClipboardFiles.h"
#include "ui/ColorApplication.h"
#include "ui/DesktopActions.h"
#include "ui/DisplayPath.h"
#include "ui/SettingsPopover.h"
#include "ui/SettingsViewController.h"
#include "ui/ControlStyling.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/MainWindowBuilder.h"
#include "ui/TargetField.h"
#include "ui/WidgetColors.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QShortcut>

namespace voveriz {

namespace {

constexpr int kRootWidth = 400;
constexpr int kRootHeight = 580;

// Runs work with the controller on a later turn of the interface thread, if it is still there then.
template <typename Work>
void onInterfaceThread(QPointer<ResizerViewController> controller, Work work)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [controller, work = std::move(work)] {
            if (controller) work(*controller);
        },
        Qt::QueuedConnection);
}

}  // namespace

ResizerViewController::ResizerViewController(PreferenceStore& store, std::unique_ptr<DesktopActions> desktop,
                                             QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_batchSettings(std::make_shared<BatchSettings>())
    , m_desktop(desktop ? std::move(desktop) : std::make_unique<SystemDesktopActions>())
{
}

ResizerViewController::~ResizerViewController()
{
    // Without the settings no file starts any more; the files in hand finish before the workers end.
    m_batchSettings.reset();
    if (m_view && !m_view->parent()) {
        delete m_view.data();
    }
    m_workers.reset();
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
    const Color background = Color::fromHex(m_store.stringOrDefault(PreferenceKey::BgColor));
    MainWindowControls& c = m_controls = buildMainWindowTree(*m_view, m_palette, background);

    connect(c.gearBtn, &FlatButton::clicked, this, &ResizerViewController::openSettings);
    connect(c.targetField, &TargetField::editingFinished, this, &ResizerViewController::controlTextDidEndEditing);
    // The batch sees every edit of the size at once, not only when editing ends.
    connect(c.targetField, &TargetField::textChanged, this,
            [this](const QString& text) {
                if (m_batchSettings) m_batchSettings->setTargetText(text.toStdString());
            });
    connect(c.widthButton, &FlatButton::clicked, this, &ResizerViewController::setWidth);
    connect(c.heightButton, &FlatButton::clicked, this, &ResizerViewController::setHeight);
    connect(c.changeOutputBtn, &FlatButton::clicked, this, &ResizerViewController::pickOutputFolder);
    connect(c.openOutputBtn, &FlatButton::clicked, this, &ResizerViewController::openOutputFolder);
    connect(c.clearBtn, &FlatButton::clicked, this, &ResizerViewController::clearLog);

    m_log = new ActivityLog(c.logView);
    m_view->takeFileDropsFrom({c.targetField, c.logView, c.logView->viewport()});

    // Paste works wherever the focus is in the window. The target field pastes text itself, so
    // with the focus there it is the window's only when the clipboard holds no text, or files
    // (see eventFilter).
    new QShortcut(QKeySequence::Paste, m_view, this, &ResizerViewController::paste, Qt::WindowShortcut);
    c.targetField->installEventFilter(this);

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
    // The size field pastes text alone. A file manager's copy offers the paths as text too: with
    // files on the clipboard the field leaves Ctrl+V to the window's paste. With neither it
    // leaves it too: pasted, an image would replace the field's selected text with nothing.
    if (event->type() == QEvent::ShortcutOverride && watched == m_controls.targetField) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->matches(QKeySequence::Paste)) return false;
        const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
        const bool fieldPastes = clipboard && clipboard->hasText() && clipboardFileLocations(clipboard).empty();
        return !fieldPastes;
    }
    // The event's type first: while the root view is being destroyed its events still pass
    // here, and looking at m_view then would treat a half-destroyed widget as a DropView.
    const bool placesControls = event->type() == QEvent::Resize || event->type() == QEvent::Show;
    if (placesControls && watched == m_view) {
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

void ResizerViewController::log(const QString& text, const Color& color)
{
    Q_ASSERT(m_log);
    m_log->log(text, color);
}

void ResizerViewController::clearLog()
{
    m_log->clear();
}

SettingsPopover* ResizerViewController::settingsPopover() const
{
    return m_settingsPopover.data();
}

void ResizerViewController::openSettings()
{
    if (!m_settingsPopover) {
        // Owned by the window, so a dialog opened from it outlives the popup's closing.
        m_settingsPopover = new SettingsPopover(m_store, m_view->window());
        SettingsViewController& settings = m_settingsPopover->content();
        settings.onColorChanged = [self = QPointer(this)](const Color& color) {
            if (self) self->applyBackgroundColor(color);
        };
        settings.onTextColorChanged = [self = QPointer(this)](const Color& color) {
            if (self) self->applyTextColor(color);
        };
    }
    m_settingsPopover->showAnchoredTo(m_controls.gearBtn);
}

void ResizerViewController::setWidth()
{
    chooseDimension(Dimension::Width, *m_controls.widthButton, *m_controls.heightButton);
}

void ResizerViewController::setHeight()
{
    chooseDimension(Dimension::Height, *m_controls.heightButton, *m_controls.widthButton);
}

void ResizerViewController::chooseDimension(Dimension dimension, FlatButton& chosen, FlatButton& other)
{
    m_dimension = dimension;
    m_batchSettings->setDimension(dimension);
    checkToggle(chosen, other);
    paintToggle(chosen, true, m_palette);
    paintToggle(other, false, m_palette);
    m_store.setString(PreferenceKey::Dimension, QLatin1String(dimensionName(dimension)));
}

void ResizerViewController::setOutputFolder(const QString& path)
{
    m_outputPath = path;
    m_batchSettings->setOutputPath(std::filesystem::path(QFile::encodeName(path).toStdString()));
    m_controls.outputLabel->setText(displayPath(path, QDir::homePath()));
    m_store.setString(PreferenceKey::OutputPath, path);
}

void ResizerViewController::pickOutputFolder()
{
    const std::optional<QString> chosen = m_desktop->chooseFolder(m_view);
    if (!chosen || chosen->isEmpty()) return;
    setOutputFolder(QFileInfo(*chosen).absoluteFilePath());
}

void ResizerViewController::openOutputFolder()
{
    if (m_outputPath) {
        m_desktop->openFolder(*m_outputPath);
    } else {
        log(QStringLiteral("Choose a Resized folder first."), m_palette.textCol());
    }
}

void ResizerViewController::controlTextDidEndEditing()
{
    m_store.setString(PreferenceKey::TargetSize, m_controls.targetField->text());
}

void ResizerViewController::restoreOutputPath()
{
    const std::optional<QString> stored = m_store.string(PreferenceKey::OutputPath);
    if (!stored || stored->isEmpty()) return;
    const QFileInfo folder(*stored);
    // A folder that has gone, or is now a file, is passed over quietly; its key stays.
    if (!folder.exists() || !folder.isDir()) return;
    setOutputFolder(folder.absoluteFilePath());
}

void ResizerViewController::restoreSettings()
{
    const std::optional<QString> target = m_store.string(PreferenceKey::TargetSize);
    if (target && !target->isEmpty()) {
        m_controls.targetField->setText(*target);
    }
    if (m_store.string(PreferenceKey::Dimension) == QLatin1String(dimensionName(Dimension::Height))) {
        setHeight();
    }
    // Always a grey, even with nothing stored: the window never starts in the palette's first color.
    applyTextColor(Color::grey(m_store.numberOrDefault(PreferenceKey::TextColorValue)));
}

void ResizerViewController::applyTextColor(const Color& color)
{
    recolorText(color, m_palette, m_controls, *m_log, m_dimension);
}

void ResizerViewController::applyBackgroundColor(const Color& color)
{
    recolorBackground(color, m_palette, *m_view, m_controls, m_dimension);
}

void ResizerViewController::paste()
{
    const DroppedFiles files = clipboardFileLocations(QGuiApplication::clipboard()->mimeData());
    if (!files.empty()) handleDrop(files);
}

void ResizerViewController::handleDrop(const DroppedFiles& files)
{
    // The drop joins the shared workers at once; its outcomes come back in file order and each
    // line is composed on the interface thread in the text color current then. The counts
    // follow the same road, one post per change, so they arrive in the order they changed.
    if (!m_workers) {
        m_workers = std::make_unique<BatchWorkers>(
            BatchWorkers::coreCount(), m_fileProcessor, [self = QPointer(this)](const BatchCounts& counts) {
                onInterfaceThread(self, [counts](ResizerViewController& controller) {
                    emit controller.batchCountsChanged(counts);
                });
            });
    }
    m_workers->submit(files, m_batchSettings, [self = QPointer(this)](BatchOutcome outcome) {
        onInterfaceThread(self, [outcome = std::move(outcome)](ResizerViewController& controller) {
            controller.log(QString::fromStdString(outcome.line()), controller.m_palette.textCol());
        });
    });
}

}  // namespace voveriz
