#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <cstddef>

namespace voveriz {

// What a later launch sends the running window: the absolute paths it was given, to be handled as
// one drop there (none: only bring the window to the front). On the wire:
//
//   VOVERIZ-OPEN/1 \n  <count in decimal> \n  <UTF-8 absolute path> \0  ... (count paths)
//
// The running window answers "OK\n" once it has taken the request.
inline constexpr qsizetype kOpenRequestMaxBytes = 1024 * 1024;
inline constexpr qsizetype kOpenRequestMaxPaths = 100000;
inline constexpr QByteArrayView kOpenRequestAnswer = "OK\n";

// The request for these paths; empty when it would pass either bound.
QByteArray encodeOpenRequest(const QStringList& absolutePaths);

// Reads a request as its bytes arrive, in pieces of any size, in time linear in its length. Any
// departure from the format (wrong header, a count out of range, an empty, relative or non-UTF-8
// path, a byte past the last path, more than kOpenRequestMaxBytes) makes it Malformed for good.
class OpenRequestReader {
public:
    enum class State { Reading, Complete, Malformed };

    State feed(QByteArrayView bytes);
    State state() const { return m_state; }
    // Once Complete: the paths in the order sent.
    const QStringList& paths() const { return m_paths; }

private:
    bool takeToken(QByteArray token);
    State fail();

    State m_state = State::Reading;
    qsizetype m_received = 0;
    QByteArray m_token;
    bool m_headerRead = false;
    qsizetype m_expected = -1;
    QStringList m_paths;
};

}  // namespace voveriz
