#include "appearance/Palette.h"

namespace voveriz {

Colour dimmedText(const Colour& text)
{
    return text.withAlpha(kDimmedTextAlpha);
}

Palette::Palette()
    : m_bg(Colour::fromHex(QStringLiteral("#111111")))
    , m_panelBg(Colour::fromHex(QStringLiteral("#222222")))
    , m_accent(Colour::fromHex(QStringLiteral("#607080")))
    , m_textCol(Colour::fromHex(QStringLiteral("#e0e0f0")))
    , m_textDim(Colour::fromHex(QStringLiteral("#888888")))
    , m_btnOff(Colour::fromHex(QStringLiteral("#404040")))
{
}

void Palette::setAccent(const Colour& accent)
{
    m_accent = accent;
}

void Palette::setTextColour(const Colour& text)
{
    m_textCol = text;
    m_textDim = dimmedText(text);
}

}  // namespace voveriz
