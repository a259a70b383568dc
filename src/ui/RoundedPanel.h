#pragma once

#include "appearance/Color.h"

#include <QWidget>

namespace voveriz {

// A plain container painted as a filled rounded rectangle: no border, no shadow.
class RoundedPanel : public QWidget {
    Q_OBJECT

public:
    explicit RoundedPanel(const Colour& fill, double cornerRadius, QWidget* parent = nullptr);

    const Colour& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }

    // Repaints with the new fill.
    void setFill(const Colour& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour m_fill;
    double m_cornerRadius;
};

}  // namespace voveriz
