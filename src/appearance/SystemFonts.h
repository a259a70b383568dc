#pragma once

#include <QFont>

namespace voveriz {

// The interface font (DejaVu Sans) at a size in device-independent pixels.
QFont systemFont(int pixelSize, bool bold = false);
// The monospaced interface font (DejaVu Sans Mono), regular weight.
QFont monospacedSystemFont(int pixelSize);

}  // namespace voveriz
