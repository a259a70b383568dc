#pragma once

#include "appearance/Colour.h"

#include <QPushButton>

#include <optional>

namespace voveriz {

// A borderless push button that draws only an optional filled rounded rectangle and its title
// in the title tint over it, centred: no bezel, no shadow; a thin outline only while it has the
// keyboard focus, which it takes from Tab, not from a click. An ordinary momentary button
// (clicked() as usual); it holds no on/off state.
class FlatButton : public QPushButton {
    Q_OBJECT

public:
    explicit FlatButton(const QString& title, QWidget* parent = nullptr);

    // No fill: only the title shows.
    const std::optional<Colour>& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }
    const Colour& titleTint() const { return m_titleTint; }
    // The title's font size in device-independent pixels.
    int titlePixelSize() const { return font().pixelSize(); }

    void setFill(const std::optional<Colour>& fill);
    void setCornerRadius(double radius);
    void setTitleTint(const Colour& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<Colour> m_fill;
    double m_cornerRadius = 0.0;
    Colour m_titleTint{1.0, 1.0, 1.0, 1.0};
};

}  // namespace voveriz
