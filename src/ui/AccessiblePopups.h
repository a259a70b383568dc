#pragma once

namespace voveriz {

// Screen readers find windows among the application's children on the accessibility bus, and
// Qt leaves popups out of them, so the settings popover could be reached only through its
// focus. With this, every popup window that shows (the popover, a menu) is listed after the
// ordinary windows while it shows, and the popover reads as a window. Call once, before the
// application object is made.
void installAccessiblePopups();

}  // namespace voveriz
