#pragma once

#include "engine/plan/OutputFormat.h"

#include <string>

namespace voveriz::cli {

// Whether the installed libvips (and the encoders it was built with, such as libheif's for AVIF
// and HEIC) writes format: a tiny image is encoded in it. Needs the engine's runtime.
bool canWrite(ImageFormat format);

// The names of the formats it writes, "jpeg, png, webp, ...", in --format's order.
std::string writableFormatNames();

} // namespace voveriz::cli
