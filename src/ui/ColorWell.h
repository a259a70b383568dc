#pragma once

#include "appearance/Color.h"
#include "ui/SwatchButton.h"

#include <QColorDialog>
#include <QPointer>

namespace voveriz {

// A swatch showing one colour. Pressing it opens Qt's own colour dialog (never the desktop's:
// Qt's has the hue/saturation field), non-modal, and every colour the user moves through there
// becomes the well's colour and is reported at once. Cancel in the dialog brings back, and
// reports, the colour the well had when the dialog opened.
//
// The dialog belongs to the first ordinary window above the well, never to a popup: a popup
// holding the well may close while the dialog stays open, and the well goes on reporting.
class ColourWell : public SwatchButton {
    Q_OBJECT

public:
    explicit ColourWell(const Colour& colour, QWidget* parent = nullptr);
    ~ColourWell() override;

    const Colour& colour() const { return *fill(); }
    // Shows the colour; reports nothing.
    void setColour(const Colour& colour);

    // Opens (or raises) the colour dialog on the well's colour. A press of the well does this.
    void openDialog();
    // The dialog, once it has been opened.
    QColorDialog* dialog() const { return m_dialog.data(); }

signals:
    // Just before the dialog shows: a popup holding the well can step aside.
    void dialogAboutToOpen();
    // Each colour picked in the dialog.
    void colourChanged(const voveriz::Colour& colour);

private:
    void makeDialog();
    void dialogColourChanged(const QColor& colour);
    void dialogRejected();
    QWidget* dialogOwner() const;

    QPointer<QColorDialog> m_dialog;
    Colour m_colourAtOpen;
};

}  // namespace voveriz
