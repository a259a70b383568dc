#include "engine/EngineRuntime.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    voveriz::EngineRuntime runtime(argv[0]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
