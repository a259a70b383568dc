#include "engine/EngineRuntime.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Widget tests run with no display and never touch the user's own preferences.
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QTemporaryDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);

    voveriz::EngineRuntime runtime(argv[0]);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
