#pragma once

namespace voveriz {

// Registers the images compiled into the interface library (":/favicon.png"). The library is
// static, so nothing else pulls its resources into a program. Safe to call more than once.
void initUiResources();

}  // namespace voveriz
