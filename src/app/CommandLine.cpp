#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace voveriz {

bool asksOnlyForText(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0) {
            return false;
        }
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argument, option) == 0) {
                return true;
            }
        }
    }
    return false;
}

CommandLine parseCommandLine(const QStringList& arguments, const QDir& callerFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Resizes photos into the chosen folder. The paths given are handled as one drop on the window; "
                       "when Voveriz already runs, they go to its window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Photos or folders of photos to resize."),
                                 QStringLiteral("[PATH...]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.text = parser.errorText() + QStringLiteral("\n\n") + parser.helpText();
        result.status = 1;
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.text = parser.helpText();
    } else if (parser.isSet(version)) {
        result.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
    } else {
        for (const QString& path : parser.positionalArguments()) {
            result.paths.append(QDir::cleanPath(callerFolder.absoluteFilePath(path)));
        }
    }
    return result;
}

int printCommandLineText(const CommandLine& commandLine)
{
    std::FILE* stream = commandLine.status == 0 ? stdout : stderr;
    std::fputs(commandLine.text.toLocal8Bit().constData(), stream);
    return commandLine.status;
}

}  // namespace voveriz
