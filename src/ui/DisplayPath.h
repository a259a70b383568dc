#pragma once

#include <QString>

namespace voveriz {

// How a folder's path is shown: every occurrence of the home folder's path replaced by "~".
QString displayPath(const QString& path, const QString& home);

}  // namespace voveriz
