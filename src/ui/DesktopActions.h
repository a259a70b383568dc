#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace voveriz {

// What the window asks of the desktop: a folder chooser and the file browser. Behind an interface
// so tests can answer without a dialog.
class DesktopActions {
public:
    virtual ~DesktopActions() = default;

    // Asks the user for a folder; nothing when cancelled or nothing was chosen.
    virtual std::optional<QString> chooseFolder(QWidget* parent) = 0;

    // Shows the folder in the desktop's file browser.
    virtual void openFolder(const QString& path) = 0;
};

// The real desktop: a folder dialog whose accept button reads "Choose", and the desktop's
// default file browser.
class SystemDesktopActions final : public DesktopActions {
public:
    std::optional<QString> chooseFolder(QWidget* parent) override;
    void openFolder(const QString& path) override;
};

}  // namespace voveriz
