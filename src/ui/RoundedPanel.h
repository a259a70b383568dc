#pragma once

#include "appearance/Color.h"

#include <QWidget>

namespace voveriz {

// A plain container painted as a filled rounded rectangle: no border, no shadow.
class RoundedPanel : public QWidget {
    Q_OBJECT

public:
    explicit RoundedPanel(const Color& fill, double cornerRadius, QWidget* parent = nullptr);

    const Color& fill() const { return m_fill; }
    double cornerRadius() const { return m_cornerRadius; }

    // Repaints with the new fill.
    void setFill(const Color& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color m_fill;
    double m_cornerRadius;
};

}  // namespace voveriz
