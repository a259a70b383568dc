#include "app/OpenRequest.h"

#include <QStringDecoder>

#include <utility>

namespace voveriz {

namespace {

constexpr QByteArrayView kHeader = "VOVERIZ-OPEN/1";
// "100000": the longest count allowed.
constexpr qsizetype kMaxCountDigits = 6;

}  // namespace

QByteArray encodeOpenRequest(const QStringList& absolutePaths)
{
    if (absolutePaths.size() > kOpenRequestMaxPaths) {
        return {};
    }
    QByteArray message = kHeader.toByteArray() + '\n' + QByteArray::number(absolutePaths.size()) + '\n';
    for (const QString& path : absolutePaths) {
        message += path.toUtf8();
        message += '\0';
        if (message.size() > kOpenRequestMaxBytes) {
            return {};
        }
    }
    return message;
}

OpenRequestReader::State OpenRequestReader::feed(QByteArrayView bytes)
{
    if (m_state != State::Reading) {
        // Nothing may follow the last path.
        return bytes.isEmpty() ? m_state : fail();
    }
    m_received += bytes.size();
    if (m_received > kOpenRequestMaxBytes) {
        return fail();
    }
    while (!bytes.isEmpty()) {
        if (m_state == State::Complete) {
            return fail();
        }
        const char terminator = m_expected < 0 ? '\n' : '\0';
        const qsizetype end = bytes.indexOf(terminator);
        if (end < 0) {
            m_token += bytes;
            // The header and the count are short: random bytes fail here at once.
            const qsizetype longest = !m_headerRead ? kHeader.size() : m_expected < 0 ? kMaxCountDigits : -1;
            return longest >= 0 && m_token.size() > longest ? fail() : m_state;
        }
        m_token += bytes.first(end);
        bytes = bytes.sliced(end + 1);
        if (!takeToken(std::exchange(m_token, {}))) {
            return fail();
        }
    }
    return m_state;
}

bool OpenRequestReader::takeToken(QByteArray token)
{
    if (!m_headerRead) {
        m_headerRead = true;
        return token == kHeader;
    }
    if (m_expected < 0) {
        bool ok = false;
        const qsizetype count = token.toLongLong(&ok);
        // Digits only: no sign, blank or leading zero.
        const bool canonical = ok && token == QByteArray::number(count);
        if (!canonical || count < 0 || count > kOpenRequestMaxPaths) {
            return false;
        }
        m_expected = count;
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString path = utf8.decode(token);
        if (utf8.hasError() || !path.startsWith(QLatin1Char('/'))) {
            return false;
        }
        m_paths.append(std::move(path));
    }
    if (m_paths.size() == m_expected) {
        m_state = State::Complete;
    }
    return true;
}

OpenRequestReader::State OpenRequestReader::fail()
{
    m_state = State::Malformed;
    m_token.clear();
    m_paths.clear();
    return m_state;
}

}  // namespace voveriz
