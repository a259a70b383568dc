#include "ui/ColorWell.h"

#include <QColorDialog>
#include <QSignalBlocker>

namespace voveriz {

namespace {
constexpr double kWellCornerRadius = 5.0;
const QColor kWellBorder(255, 255, 255, 90);
}  // namespace

ColourWell::ColourWell(const Colour& colour, QWidget* parent)
    : SwatchButton(colour, kWellCornerRadius, kWellBorder, parent)
{
    connect(this, &QPushButton::clicked, this, &ColourWell::openDialog);
}

ColourWell::~ColourWell()
{
    // The dialog belongs to another window; it must not outlive the well it reports to.
    delete m_dialog.data();
}

void ColourWell::setColour(const Colour& colour)
{
    setFill(colour);
}

void ColourWell::openDialog()
{
    if (!m_dialog) makeDialog();
    m_colourAtOpen = colour();
    {
        const QSignalBlocker quiet(m_dialog.data());
        m_dialog->setCurrentColor(colour().toQColor());
    }
    emit dialogAboutToOpen();
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void ColourWell::makeDialog()
{
    m_dialog = new QColorDialog(dialogOwner());
    m_dialog->setOption(QColorDialog::DontUseNativeDialog);
    m_dialog->setModal(false);
    m_dialog->setWindowModality(Qt::NonModal);
    connect(m_dialog, &QColorDialog::currentColorChanged, this, &ColourWell::dialogColourChanged);
    connect(m_dialog, &QDialog::rejected, this, &ColourWell::dialogRejected);
}

void ColourWell::dialogColourChanged(const QColor& picked)
{
    const Colour c = Colour::fromQColor(picked);
    setFill(c);
    emit colourChanged(c);
}

void ColourWell::dialogRejected()
{
    if (colour() == m_colourAtOpen) return;
    setFill(m_colourAtOpen);
    emit colourChanged(m_colourAtOpen);
}

QWidget* ColourWell::dialogOwner() const
{
    QWidget* owner = window();
    while (owner && owner->windowType() == Qt::Popup) {
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    }
    return owner;
}

}  // namespace voveriz
