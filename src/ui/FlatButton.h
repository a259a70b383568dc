#pragma once

#include "appearance/Color.h"

#include <QPushButton>

#include <optional>

namespace voveriz {

// A borderless push button that draws only an optional filled rounded rectangle and its title
// in the title tint over it, centred: no bezel, no shadow; a thin outline only while it has
// focus that came from the keyboard (Tab or Shift+Tab), as desktop toolkits show it. A click
// does not take the focus; focus handed over otherwise (a tab page that opens takes it from the
// slider on the page before) shows no outline, which would read as a choice. An ordinary
// push button (clicked() as usual); made checkable, its checked state changes nothing painted.
class FlatButton : public QPushButton {
    Q_OBJECT

public:
    explicit FlatButton(const QString& title, QWidget* parent = nullptr);

    // No fill: only the title shows.
    const std::optional<Color>& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }
    const Color& titleTint() const { return m_titleTint; }
    // The title's font size in device-independent pixels.
    int titlePixelSize() const { return font().pixelSize(); }

    void setFill(const std::optional<Color>& fill);
    void setCornerRadius(double radius);
    void setTitleTint(const Color& tint);

    // Whether the focus outline is drawn now.
    bool showsFocusOutline() const { return hasFocus() && m_focusFromKeyboard; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::optional<Color> m_fill;
    double m_cornerRadius = 0.0;
    Color m_titleTint{1.0, 1.0, 1.0, 1.0};
    bool m_focusFromKeyboard = false;
};

}  // namespace voveriz
