#include "app/DoneNotifier.h"
#include "ui/WaitUntil.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace voveriz {
namespace {

using testing::waitUntil;

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

// The variable that gives the clicks' test its private session bus, set only for the process
// it runs in.
constexpr const char* kPrivateBusVariable = "VOVERIZ_TEST_PRIVATE_SESSION_BUS";

// A private session bus: a dbus-daemon of our own that starts no services, so that only what the
// test serves answers on it.
class PrivateSessionBus {
public:
    ~PrivateSessionBus()
    {
        if (m_daemon.state() == QProcess::NotRunning) return;
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    // The bus's address; empty, with the reason in unavailable(), when it cannot start here.
    QString start()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) {
            m_unavailable = "dbus-daemon is not installed";
            return QString();
        }
        const QString config = m_folder.filePath(QStringLiteral("session.conf"));
        QFile file(config);
        if (!m_folder.isValid() || !file.open(QIODevice::WriteOnly)) {
            m_unavailable = "no folder for the bus";
            return QString();
        }
        file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                  "<auth>EXTERNAL</auth><policy context=\"default\">"
                                  "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                  "<allow own=\"*\"/></policy></busconfig>")
                       .arg(m_folder.path())
                       .toUtf8());
        file.close();
        m_daemon.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000)) {
            m_unavailable = "dbus-daemon did not start";
            return QString();
        }
        return QString::fromUtf8(m_daemon.readLine().trimmed());
    }

    const char* unavailable() const { return m_unavailable; }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    const char* m_unavailable = nullptr;
};

// The notification server, as far as a click goes: Notify answers each call with a new id, and a
// click sends ActivationToken, then ActionInvoked "default", as a server does.
class NotificationServer : public QDBusVirtualObject {
public:
    explicit NotificationServer(const QDBusConnection& bus)
        : m_bus(bus)
    {
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != kInterface || message.member() != QLatin1String("Notify")) return false;
        connection.send(message.createReply(QVariant::fromValue(++m_lastId)));
        return true;
    }
    QString introspect(const QString&) const override { return QString(); }

    uint lastId() const { return m_lastId; }

    // A click on notification id; its token is sent for tokenId, which is id for a real click.
    void click(uint tokenId, const QString& token, uint id)
    {
        QDBusMessage activationToken = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActivationToken"));
        activationToken << tokenId << token;
        QDBusMessage actionInvoked = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"));
        actionInvoked << id << QStringLiteral("default");
        m_bus.send(activationToken);
        m_bus.send(actionInvoked);
    }

private:
    QDBusConnection m_bus;
    uint m_lastId = 0;
};

// The counts of a stretch of work: files queued, and done, each of those a photo handled.
BatchCounts stretch(std::size_t queued, std::size_t done)
{
    BatchCounts counts;
    counts.queued = queued;
    counts.done = done;
    counts.handled = done;
    return counts;
}

// Runs in a process of its own, started by the test below with a private session bus: Qt
// connects to the session bus once, at its first use, and an application once active stays so
// offscreen, whatever tests ran before.
TEST(DoneNotifierOnItsOwnBus, ClickCases)
{
    const QString address = qEnvironmentVariable(kPrivateBusVariable);
    if (address.isEmpty()) GTEST_SKIP() << "run by DoneNotifierTest, in a process of its own";
    ASSERT_NE(QGuiApplication::applicationState(), Qt::ApplicationActive) << "a notification is sent only when away";
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("notification server"));
    ASSERT_TRUE(bus.isConnected());
    ASSERT_TRUE(bus.registerService(kService));
    NotificationServer server(bus);
    ASSERT_TRUE(bus.registerVirtualObject(kPath, &server));

    struct Case {
        const char* what;
        const char* platform;
        uint tokenFor;  // 0: the notification clicked; otherwise one that is not ours
        std::optional<std::string> tokenAtRaise;
    };
    const std::string token = "kwin-4711_TIME1234";
    const Case cases[] = {
        {"Wayland", "wayland", 0, token},
        {"Wayland with EGL", "wayland-egl", 0, token},
        {"X11, where raising takes no token", "xcb", 0, std::nullopt},
        {"Wayland, a token sent for another notification", "wayland", 1000, std::nullopt},
    };
    for (const Case& c : cases) {
        qunsetenv("XDG_ACTIVATION_TOKEN");
        int raised = 0;
        std::optional<std::string> tokenAtRaise;
        DoneNotifier notifier(
            [&] {
                ++raised;
                if (qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")) {
                    tokenAtRaise = qgetenv("XDG_ACTIVATION_TOKEN").toStdString();
                }
            },
            QString::fromLatin1(c.platform));
        const uint before = server.lastId();
        notifier.show(stretch(1, 0));
        notifier.show(stretch(1, 1));
        ASSERT_TRUE(waitUntil([&] { return server.lastId() != before; })) << c.what << ": no notification";
        // The reply with the id goes first on the server's connection, so the notifier knows the
        // id before the click's signals arrive.
        server.click(server.lastId() + c.tokenFor, QString::fromStdString(token), server.lastId());
        ASSERT_TRUE(waitUntil([&] { return raised > 0; })) << c.what << ": the click did not raise the window";
        EXPECT_EQ(raised, 1) << c.what;
        EXPECT_EQ(tokenAtRaise, c.tokenAtRaise) << c.what;
    }
}

// A click's signals reach the notifier as a server sends them, on the bus; the window is raised
// with the click's token in XDG_ACTIVATION_TOKEN where the platform needs one, and with none
// elsewhere or when the token was sent for a notification that is not ours.
TEST(DoneNotifierTest, AClickRaisesTheWindowWithItsActivationTokenOnWaylandOnly)
{
    PrivateSessionBus bus;
    const QString address = bus.start();
    if (address.isEmpty()) GTEST_SKIP() << bus.unavailable();
    QProcess clicks;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    environment.insert(QString::fromLatin1(kPrivateBusVariable), address);
    environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    clicks.setProcessEnvironment(environment);
    clicks.setProcessChannelMode(QProcess::MergedChannels);
    clicks.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=DoneNotifierOnItsOwnBus.*")});
    ASSERT_TRUE(clicks.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(clicks.readAll());
    EXPECT_EQ(clicks.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(clicks.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("[       OK ] DoneNotifierOnItsOwnBus.ClickCases")))
        << output.toStdString();
}

}  // namespace
}  // namespace voveriz
