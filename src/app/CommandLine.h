#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace voveriz {

// What `voveriz [PATH...]` asks for: the window, with the paths (absolute, in the order given) to
// be handled as one drop; or only a text to print (help, version, a mistake) and an exit status.
struct CommandLine {
    QStringList paths;
    QString text;
    int status = 0;

    bool startsWindow() const { return text.isEmpty(); }
};

// Whether the arguments ask only for help or the version, which need no display.
bool asksOnlyForText(int argc, char** argv);

// The arguments as QCoreApplication::arguments() gives them; relative paths are taken against
// callerFolder. Needs the application object (help names the program after its first argument).
CommandLine parseCommandLine(const QStringList& arguments, const QDir& callerFolder);

// Prints the command line's text where it belongs (standard output, or standard error for a
// mistake) and gives its exit status.
int printCommandLineText(const CommandLine& commandLine);

}  // namespace voveriz
