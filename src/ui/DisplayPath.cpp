#include "ui/DisplayPath.h"

namespace voveriz {

QString displayPath(const QString& path, const QString& home)
{
    if (home.isEmpty()) return path;
    QString shown = path;
    return shown.replace(home, QStringLiteral("~"));
}

}  // namespace voveriz
