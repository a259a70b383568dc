#pragma once

#include "appearance/Color.h"
#include "appearance/Palette.h"
#include "batch/BatchCounts.h"
#include "batch/BatchWorkers.h"
#include "engine/plan/Dimension.h"
#include "ui/DropView.h"
#include "ui/DesktopActions.h"
#include "ui/MainWindowControls.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

namespace voveriz {

class ActivityLog;
class BatchSettings;

class PreferenceStore;
class SettingsPopover;

// The main window's controller: it makes the root view (the drop target) and every control in
// it, keeps the batch settings and the palette, and serves every action of the window.
class ResizerViewController : public QObject {
    Q_OBJECT

public:
    // desktop answers the folder chooser and opens folders; the real desktop when none is given.
    explicit ResizerViewController(PreferenceStore& store, std::unique_ptr<DesktopActions> desktop = nullptr,
                                   QObject* parent = nullptr);
    ~ResizerViewController() override;

    // The root view. The first call makes it, 400 x 580 and filled with bg, and runs the load
    // sequence: construction, the drop hook, the restore of the stored settings. Whoever shows
    // it may take it over (a window's central widget); otherwise the controller deletes it.
    DropView* view();
    bool isViewLoaded() const { return !m_view.isNull(); }

    const MainWindowControls& controls() const { return m_controls; }
    const Palette& palette() const { return m_palette; }
    // The side the target size applies to.
    Dimension dimension() const { return m_dimension; }
    // The output folder's absolute path; absent until one is chosen or restored.
    const std::optional<QString>& outputPath() const { return m_outputPath; }
    // The appearance popover; absent until the gear is first pressed.
    SettingsPopover* settingsPopover() const;

    // Adds one line to the activity log on a later turn of the interface thread. Any thread.
    void log(const QString& text, const Color& color);

    // For tests: what each dropped file comes to, instead of the engine. Before the first drop.
    void processFilesWith(BatchWorkers::FileProcessor process) { m_fileProcessor = std::move(process); }

    // Repaint the window in a new text or background color (the settings popover calls these).
    void applyTextColor(const Color& color);
    void applyBackgroundColor(const Color& color);

public slots:
    void openSettings();
    void setWidth();
    void setHeight();
    void pickOutputFolder();
    void openOutputFolder();
    void clearLog();
    void handleDrop(const voveriz::DroppedFiles& files);
    // Ctrl+V anywhere in the window: the files and folders on the clipboard, if any, go to
    // handleDrop as a drop of them would; anything else on the clipboard changes nothing, but
    // text, which the size field pastes when it has the focus.
    void paste();
    // Places every control for the root view's current size; nothing before construction.
    void relayout();

signals:
    // The batch's counts over all drops, on the interface thread, in the order they changed.
    void batchCountsChanged(const voveriz::BatchCounts& counts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadView();
    void viewDidLoad();
    void buildUI();
    void restoreOutputPath();
    void restoreSettings();
    void controlTextDidEndEditing();
    void chooseDimension(Dimension dimension, FlatButton& chosen, FlatButton& other);
    void setOutputFolder(const QString& path);

    PreferenceStore& m_store;
    QPointer<DropView> m_view;
    MainWindowControls m_controls;
    ActivityLog* m_log = nullptr;
    Dimension m_dimension = Dimension::Width;
    std::optional<QString> m_outputPath;
    Palette m_palette;
    // Made at the first press of the gear, then shown again as the user left it.
    QPointer<SettingsPopover> m_settingsPopover;
    // What the batch workers read; they hold it weakly, so files not yet reached are skipped
    // once the controller is gone.
    std::shared_ptr<BatchSettings> m_batchSettings;
    // The workers every drop shares, started at the first drop.
    std::unique_ptr<BatchWorkers> m_workers;
    BatchWorkers::FileProcessor m_fileProcessor;
    std::unique_ptr<DesktopActions> m_desktop;
};

}  // namespace voveriz
