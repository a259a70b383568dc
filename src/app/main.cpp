#include "engine/EngineRuntime.h"

#include <cstdio>

int main(int argc, char** argv)
{
    (void)argc;
    voveriz::EngineRuntime runtime(argv[0]);
    std::puts("Voveriz: the window is not built yet; use voveriz-cli.");
    return 0;
}
