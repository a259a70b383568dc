#include "appearance/Palette.h"

namespace voveriz {

Color dimmedText(const Color& text)
{
    return text.withAlpha(kDimmedTextAlpha);
}

Palette::Palette()
    : m_bg(Color::fromHex(QStringLiteral("#111111")))
    , m_panelBg(Color::fromHex(QStringLiteral("#222222")))
    , m_accent(Color::fromHex(QStringLiteral("#607080")))
    , m_textCol(Color::fromHex(QStringLiteral("#e0e0f0")))
    , m_textDim(Color::fromHex(QStringLiteral("#888888")))
    , m_btnOff(Color::fromHex(QStringLiteral("#404040")))
{
}

void Palette::setAccent(const Color& accent)
{
    m_accent = accent;
}

void Palette::setTextColor(const Color& text)
{
    m_textCol = text;
    m_textDim = dimmedText(text);
}

}  // namespace voveriz
