#pragma once

#include "ui/FlatButton.h"

#include <QColor>

namespace voveriz {

// A button that is only a color: a filled rounded rectangle with a thin border around it and no
// title. The background presets and the color well are drawn this way.
class SwatchButton : public FlatButton {
    Q_OBJECT

public:
    SwatchButton(const Color& fill, double cornerRadius, const QColor& border, QWidget* parent = nullptr);

    const QColor& border() const { return m_border; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_border;
};

}  // namespace voveriz
