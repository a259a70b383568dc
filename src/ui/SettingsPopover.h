#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

namespace voveriz {

class PreferenceStore;
class SettingsViewController;

// Where a popover of a given size goes for an anchor, all in global coordinates: centred on the
// anchor horizontally, above it when it fits on the screen's available area, else below it;
// always moved inside the screen.
QRect popoverGeometry(const QRect& anchor, const QSize& size, const QRect& screen);

// The settings popover: a transient panel of 280 x 200 holding the SettingsViewController's
// view. It is made once and shown again as the user left it (tab and controls). A click
// outside it or Escape closes it; closing changes nothing, every choice is already applied
// and stored. It steps aside while the color dialog of its well is open: the dialog keeps
// reporting through the well.
class SettingsPopover : public QWidget {
    Q_OBJECT

public:
    // The parent is the window the popover belongs to (the color dialog goes to it too).
    explicit SettingsPopover(PreferenceStore& store, QWidget* parent = nullptr);
    ~SettingsPopover() override;

    static constexpr QSize kSize{280, 200};
    // Space between the anchor and the popover.
    static constexpr int kAnchorGap = 4;

    SettingsViewController& content() const { return *m_content; }

    // Shows the popover next to the anchor (the gear button), on the anchor's screen.
    void showAnchoredTo(QWidget* anchor);

private:
    SettingsViewController* m_content;
};

}  // namespace voveriz
