#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace voveriz {

// The user's stored choices.
enum class PreferenceKey {
    TargetSize,      // text: the target field exactly as typed
    Dimension,       // text: "width" or "height"
    OutputPath,      // text: absolute path of the output folder
    BgColor,         // text: "#rrggbb"
    TextColorValue,  // number: lightness of the text grey
};

inline constexpr const char* kDefaultTargetSize = "1080";
inline constexpr const char* kDefaultDimension = "width";
inline constexpr const char* kDefaultBgColor = "#111111";
inline constexpr double kDefaultTextLightness = 0.878;
// Key of the main window's saved frame (QWidget::saveGeometry bytes).
inline constexpr const char* kWindowFrameKey = "VoverizMainWindow";

// The per-user preference store: a JSON file in the platform's per-user config folder
// ($XDG_CONFIG_HOME/Voveriz/Voveriz.json on Linux), read and written through QSettings, so a
// number comes back as a number and text as text. Every setter writes the file at once.
// A missing, unreadable or corrupt file reads as empty; the next write replaces it with a good
// one. A value of the wrong type reads as missing. Interface thread only.
class PreferenceStore {
public:
    // The user's own store.
    PreferenceStore();
    // A store in the given file (tests, tools).
    explicit PreferenceStore(const QString& filePath);
    ~PreferenceStore();

    PreferenceStore(const PreferenceStore&) = delete;
    PreferenceStore& operator=(const PreferenceStore&) = delete;

    // The key's name in the file: "targetSize", "dimension", "outputPath", "bgColor",
    // "textColorValue".
    static QString keyName(PreferenceKey key);

    // The stored value, or nothing when it is missing or of the other type.
    std::optional<QString> string(PreferenceKey key) const;
    std::optional<double> number(PreferenceKey key) const;

    // The stored value with the key's fallback applied: an empty or missing targetSize gives
    // "1080"; a dimension other than "height" gives "width"; a missing outputPath gives "";
    // a missing bgColor gives "#111111"; a textColorValue that is not a number gives 0.878.
    QString stringOrDefault(PreferenceKey key) const;
    double numberOrDefault(PreferenceKey key) const;

    void setString(PreferenceKey key, const QString& value);
    void setNumber(PreferenceKey key, double value);

    // The saved window frame; empty when none is saved or it is unusable.
    QByteArray windowFrame() const;
    void setWindowFrame(const QByteArray& frame);

    // The file behind the store.
    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace voveriz
