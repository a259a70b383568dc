#include "engine/EngineRuntime.h"

int main(int, char** argv)
{
    voveriz::EngineRuntime runtime(argv[0]);
    return 0;
}
