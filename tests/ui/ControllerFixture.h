#pragma once

#include "appearance/PreferenceStore.h"
#include "ui/ResizerViewController.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace voveriz::testing {

// A controller over a preference store of its own, in a temporary folder.
class ControllerFixture : public ::testing::Test {
protected:
    ControllerFixture()
        : store(std::make_unique<PreferenceStore>(dir.filePath(QStringLiteral("Voveriz.json"))))
        , controller(std::make_unique<ResizerViewController>(*store))
    {
    }

    // Starts again with what the store holds now, as the next launch would.
    void relaunch()
    {
        controller = std::make_unique<ResizerViewController>(*store);
    }

    const MainWindowControls& controls() const { return controller->controls(); }

    QTemporaryDir dir;
    std::unique_ptr<PreferenceStore> store;
    std::unique_ptr<ResizerViewController> controller;
};

}  // namespace voveriz::testing
