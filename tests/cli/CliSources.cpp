// The command-line tool's pure parts, compiled into this test binary: the tool itself is an
// executable, so its parser and runner are not in a library the tests could link.
#include "cli/CliOptions.cpp"
#include "cli/OrderedRunner.cpp"
