#pragma once

#include <QString>

#include <optional>

namespace voveriz {

// The folder for this user's private files that live as long as the session: $XDG_RUNTIME_DIR,
// or where that is unset /tmp/voveriz-UID, made for the purpose. Either must be a real folder
// (not a link), owned by this user, that no one else may enter or read; otherwise there is none,
// and problem says why.
std::optional<QString> privateRuntimeFolder(QString& problem);

}  // namespace voveriz
