#include "ui/ActivityLog.h"

#include "appearance/SystemFonts.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>

namespace voveriz {

namespace {

constexpr int kLogFontPixelSize = 13;

}  // namespace

ActivityLog::ActivityLog(QPlainTextEdit* view)
    : QObject(view)
    , m_view(view)
{
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_view->setUndoRedoEnabled(false);
    m_view->setAcceptDrops(false);
    m_view->viewport()->setAcceptDrops(false);
    m_view->setFont(monospacedSystemFont(kLogFontPixelSize));
}

void ActivityLog::log(const QString& text, const Color& color)
{
    QMetaObject::invokeMethod(this, [this, text, color] { append(text, color); }, Qt::QueuedConnection);
}

void ActivityLog::clear()
{
    m_view->clear();
}

void ActivityLog::recolorAll(const Color& color)
{
    const QColor painted = color.toQColor();
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Text, painted);
    m_view->setPalette(palette);

    QTextCharFormat recolored;
    recolored.setForeground(painted);
    QTextCursor cursor(m_view->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(recolored);
}

void ActivityLog::append(const QString& text, const Color& color)
{
    QTextCharFormat line;
    line.setFont(monospacedSystemFont(kLogFontPixelSize));
    line.setForeground(color.toQColor());

    QTextCursor cursor(m_view->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    cursor.insertText(text + QLatin1Char('\n'), line);
    cursor.endEditBlock();
    scrollToEnd();
}

void ActivityLog::scrollToEnd()
{
    QScrollBar* bar = m_view->verticalScrollBar();
    bar->setValue(bar->maximum());
}

}  // namespace voveriz
