#pragma once

#include <string>
#include <vector>

namespace voveriz::testing {

// One finished run of the built voveriz-cli.
struct CliRun {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs voveriz-cli with the arguments and waits for it, capturing stdout and stderr.
CliRun runCli(const std::vector<std::string>& arguments);

}  // namespace voveriz::testing
