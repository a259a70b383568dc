#include "app/OpenRequest.h"

#include <gtest/gtest.h>

namespace voveriz {
namespace {

using State = OpenRequestReader::State;

// The bytes in one piece, then one byte at a time: a request may arrive in pieces of any size.
std::vector<OpenRequestReader> readBothWays(const QByteArray& bytes)
{
    std::vector<OpenRequestReader> readers(2);
    readers[0].feed(bytes);
    for (char byte : bytes) {
        readers[1].feed(QByteArrayView(&byte, 1));
    }
    return readers;
}

TEST(OpenRequestTest, PathsComeBackInOrderWhateverTheirCharacters)
{
    const QStringList paths{QStringLiteral("/home/ana/plage d'été.jpg"), QStringLiteral("/tmp/line\nbreak"),
                            QStringLiteral("/photos")};
    for (const OpenRequestReader& reader : readBothWays(encodeOpenRequest(paths))) {
        EXPECT_EQ(reader.state(), State::Complete);
        EXPECT_EQ(reader.paths(), paths);
    }
    // No paths: a request for the window alone.
    for (const OpenRequestReader& reader : readBothWays(encodeOpenRequest({}))) {
        EXPECT_EQ(reader.state(), State::Complete);
        EXPECT_TRUE(reader.paths().isEmpty());
    }
}

TEST(OpenRequestTest, AnythingElseIsRefusedOrStillWaiting)
{
    const QByteArray oversized = "VOVERIZ-OPEN/1\n1\n/" + QByteArray(kOpenRequestMaxBytes, 'a');
    const struct {
        const char* what;
        QByteArray bytes;
        State state;
    } cases[] = {
        {"random bytes", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), State::Malformed},
        {"another version", QByteArray("VOVERIZ-OPEN/2\n1\n/a.jpg\0", 24), State::Malformed},
        {"a count with a leading zero", QByteArray("VOVERIZ-OPEN/1\n01\n/a.jpg\0", 25), State::Malformed},
        {"a negative count", QByteArray("VOVERIZ-OPEN/1\n-1\n", 18), State::Malformed},
        {"more paths than allowed", QByteArray("VOVERIZ-OPEN/1\n100001\n"), State::Malformed},
        {"a relative path", QByteArray("VOVERIZ-OPEN/1\n1\na.jpg\0", 23), State::Malformed},
        {"an empty path", QByteArray("VOVERIZ-OPEN/1\n1\n\0", 18), State::Malformed},
        {"a path not in UTF-8", QByteArray("VOVERIZ-OPEN/1\n1\n/caf\xe9.jpg\0", 27), State::Malformed},
        {"a byte after the last path", QByteArray("VOVERIZ-OPEN/1\n1\n/a.jpg\0/", 25), State::Malformed},
        {"more than the size bound", oversized, State::Malformed},
        {"a path without its end", QByteArray("VOVERIZ-OPEN/1\n2\n/a.jpg\0/b.jpg"), State::Reading},
    };
    for (const auto& c : cases) {
        for (const OpenRequestReader& reader : readBothWays(c.bytes)) {
            EXPECT_EQ(reader.state(), c.state) << c.what;
            if (c.state == State::Malformed) {
                EXPECT_TRUE(reader.paths().isEmpty()) << c.what;
            }
        }
    }
}

TEST(OpenRequestTest, ALaunchWithMoreThanTheBoundsSendsNothing)
{
    EXPECT_TRUE(encodeOpenRequest(QStringList(kOpenRequestMaxPaths + 1, QStringLiteral("/a"))).isEmpty());
    EXPECT_TRUE(encodeOpenRequest({QLatin1Char('/') + QString(kOpenRequestMaxBytes, QLatin1Char('a'))}).isEmpty());
    EXPECT_FALSE(encodeOpenRequest(QStringList(kOpenRequestMaxPaths, QStringLiteral("/a"))).isEmpty());
}

}  // namespace
}  // namespace voveriz
