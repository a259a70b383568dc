#pragma once

namespace voveriz {

// For tests: placeNewFile skips O_TMPFILE and takes the hidden named temporary file, as on a file
// system without O_TMPFILE. Process-wide.
void useNamedTemporaryFilesOnly(bool on);

}  // namespace voveriz
