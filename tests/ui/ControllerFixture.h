#pragma once

#include "appearance/PreferenceStore.h"
#include "ui/ResizerViewController.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace voveriz::testing {

// Answers the folder chooser as told and records the folders the window asked to open.
class FakeDesktop final : public DesktopActions {
public:
    std::optional<QString> chooseFolder(QWidget*) override { return nextChoice; }
    void openFolder(const QString& path) override { opened.push_back(path); }

    std::optional<QString> nextChoice;
    std::vector<QString> opened;
};

// A controller over a preference store of its own, in a temporary folder.
class ControllerFixture : public ::testing::Test {
protected:
    ControllerFixture()
        : store(std::make_unique<PreferenceStore>(dir.filePath(QStringLiteral("Voveriz.json"))))
    {
        relaunch();
    }

    // Starts again with what the store holds now, as the next launch would.
    void relaunch()
    {
        controller.reset();
        auto fake = std::make_unique<FakeDesktop>();
        desktop = fake.get();
        controller = std::make_unique<ResizerViewController>(*store, std::move(fake));
    }

    const MainWindowControls& controls() const { return controller->controls(); }

    QTemporaryDir dir;
    std::unique_ptr<PreferenceStore> store;
    std::unique_ptr<ResizerViewController> controller;
    FakeDesktop* desktop = nullptr;  // owned by the controller
};

}  // namespace voveriz::testing
