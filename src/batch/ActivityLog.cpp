#include "batch/ActivityLog.h"

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

void ActivityLog::log(const QString& text, const Colour& colour)
{
    QMetaObject::invokeMethod(this, [this, text, colour] { append(text, colour); }, Qt::QueuedConnection);
}

void ActivityLog::clear()
{
    m_view->clear();
}

void ActivityLog::recolourAll(const Colour& colour)
{
    const QColor painted = colour.toQColor();
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Text, painted);
    m_view->setPalette(palette);

    QTextCharFormat recoloured;
    recoloured.setForeground(painted);
    QTextCursor cursor(m_view->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(recoloured);
}

void ActivityLog::append(const QString& text, const Colour& colour)
{
    QTextCharFormat line;
    line.setFont(monospacedSystemFont(kLogFontPixelSize));
    line.setForeground(colour.toQColor());

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
