#pragma once

#include "ui/DropView.h"

class QMimeData;

namespace voveriz {

// The files and folders copied to the clipboard, in order, read as a drop reads them: only
// local locations count. A file manager offers them as text/uri-list or, in GNOME Files and
// other GTK file managers, as x-special/gnome-copied-files ("copy" or "cut", then one location
// a line); the first that holds any is taken. A cut is a copy like any other: nothing here
// moves or deletes a source. Empty for text, images and anything else.
DroppedFiles clipboardFileLocations(const QMimeData* data);

}  // namespace voveriz
