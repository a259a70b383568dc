#pragma once

#include <string>

namespace voveriz {

// A PNG without its eXIf chunks; every other byte stays. Meant for what the PNG writer has just
// written: the signature, then chunks of a length, a type, the data and a CRC. A stream that does
// not read that way is returned as it is.
std::string withoutExifChunks(std::string png);

}  // namespace voveriz
