#pragma once

#include "appearance/Color.h"

#include <QObject>
#include <QString>

class QPlainTextEdit;

namespace voveriz {

// The activity log: every message for the user becomes one colored line of a read-only,
// selectable text view. Each line is its text and a line feed, in the 13 px monospaced font and
// its own color. The log is never trimmed; it grows until cleared.
class ActivityLog : public QObject {
    Q_OBJECT

public:
    // Makes the view read-only, selectable and deaf to drops (a drop over it belongs to the
    // window), in the log's font with no undo history. The log lives as long as the view.
    explicit ActivityLog(QPlainTextEdit* view);

    QPlainTextEdit* view() const { return m_view; }

    // Appends text + "\n" in the color, then scrolls to the end. Callable from any thread; the
    // line is always appended on a later turn of the interface thread's event loop, never
    // within this call, and lines appear in the order of the calls.
    void log(const QString& text, const Color& color);

    // Empties the log at once. Lines logged before but not yet appended still follow.
    void clear();

    // Gives every line already there, and the view's own text, this color.
    void recolorAll(const Color& color);

private:
    void append(const QString& text, const Color& color);
    void scrollToEnd();

    QPlainTextEdit* m_view;
};

}  // namespace voveriz
