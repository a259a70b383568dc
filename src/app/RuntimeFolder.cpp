#include "app/RuntimeFolder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace voveriz {

std::optional<QString> privateRuntimeFolder(QString& problem)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty()) {
        folder = QStringLiteral("/tmp/voveriz-%1").arg(geteuid());
        // Someone else may have made it first: what is there is checked below, whoever made it.
        if (mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
            problem = QStringLiteral("cannot make %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
            return std::nullopt;
        }
    }
    struct stat status {};
    if (lstat(QFile::encodeName(folder).constData(), &status) != 0) {
        problem = QStringLiteral("cannot read %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != geteuid() || (status.st_mode & 077) != 0) {
        problem = QStringLiteral("%1 is not a folder of this user's alone (mode 0700)").arg(folder);
        return std::nullopt;
    }
    return folder;
}

}  // namespace voveriz
