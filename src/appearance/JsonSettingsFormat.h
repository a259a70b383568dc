#pragma once

#include <QSettings>

namespace voveriz {

// A QSettings format that keeps the values in a JSON object, so numbers stay numbers and text
// stays text (the INI format turns every value into text). Registered on first use; the files
// end in ".json". A file that is not a JSON object reads as empty.
QSettings::Format jsonSettingsFormat();

}  // namespace voveriz
