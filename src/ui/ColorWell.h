#pragma once

#include "appearance/Color.h"
#include "ui/SwatchButton.h"

#include <QColorDialog>
#include <QPointer>

namespace voveriz {

// A swatch showing one color. Pressing it opens Qt's own color dialog (never the desktop's:
// Qt's has the hue/saturation field), non-modal, and every color the user moves through there
// becomes the well's color and is reported at once. Cancel in the dialog brings back, and
// reports, the color the well had when the dialog opened.
//
// The dialog belongs to the first ordinary window above the well, never to a popup: a popup
// holding the well may close while the dialog stays open, and the well goes on reporting.
class ColorWell : public SwatchButton {
    Q_OBJECT

public:
    explicit ColorWell(const Color& color, QWidget* parent = nullptr);
    ~ColorWell() override;

    const Color& color() const { return *fill(); }
    // Shows the color; reports nothing.
    void setColor(const Color& color);

    // Opens (or raises) the color dialog on the well's color. A press of the well does this.
    void openDialog();
    // The dialog, once it has been opened.
    QColorDialog* dialog() const { return m_dialog.data(); }

signals:
    // Just before the dialog shows: a popup holding the well can step aside.
    void dialogAboutToOpen();
    // Each color picked in the dialog.
    void colorChanged(const voveriz::Color& color);

private:
    void makeDialog();
    void dialogColorChanged(const QColor& color);
    void dialogRejected();
    QWidget* dialogOwner() const;

    QPointer<QColorDialog> m_dialog;
    Color m_colorAtOpen;
};

}  // namespace voveriz
