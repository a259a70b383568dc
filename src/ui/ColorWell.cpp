#include "ui/ColorWell.h"

#include <QColorDialog>
#include <QSignalBlocker>

namespace voveriz {

namespace {
constexpr double kWellCornerRadius = 5.0;
const QColor kWellBorder(255, 255, 255, 90);
}  // namespace

ColorWell::ColorWell(const Color& color, QWidget* parent)
    : SwatchButton(color, kWellCornerRadius, kWellBorder, parent)
{
    connect(this, &QPushButton::clicked, this, &ColorWell::openDialog);
}

ColorWell::~ColorWell()
{
    // The dialog belongs to another window; it must not outlive the well it reports to.
    delete m_dialog.data();
}

void ColorWell::setColor(const Color& color)
{
    setFill(color);
}

void ColorWell::openDialog()
{
    if (!m_dialog) makeDialog();
    m_colorAtOpen = color();
    {
        const QSignalBlocker quiet(m_dialog.data());
        m_dialog->setCurrentColor(color().toQColor());
    }
    emit dialogAboutToOpen();
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void ColorWell::makeDialog()
{
    m_dialog = new QColorDialog(dialogOwner());
    m_dialog->setOption(QColorDialog::DontUseNativeDialog);
    m_dialog->setModal(false);
    m_dialog->setWindowModality(Qt::NonModal);
    connect(m_dialog, &QColorDialog::currentColorChanged, this, &ColorWell::dialogColorChanged);
    connect(m_dialog, &QDialog::rejected, this, &ColorWell::dialogRejected);
}

void ColorWell::dialogColorChanged(const QColor& picked)
{
    const Color c = Color::fromQColor(picked);
    setFill(c);
    emit colorChanged(c);
}

void ColorWell::dialogRejected()
{
    if (color() == m_colorAtOpen) return;
    setFill(m_colorAtOpen);
    emit colorChanged(m_colorAtOpen);
}

QWidget* ColorWell::dialogOwner() const
{
    QWidget* owner = window();
    while (owner && owner->windowType() == Qt::Popup) {
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    }
    return owner;
}

}  // namespace voveriz
