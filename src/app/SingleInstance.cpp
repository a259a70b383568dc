#include "app/SingleInstance.h"

#include "app/OpenRequest.h"
#include "app/RuntimeFolder.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <memory>

namespace voveriz {

namespace {

const QString kSocketName = QStringLiteral("org.voveriz.Voveriz");
// A request is read within this time, or its client is cut off.
constexpr int kClientTimeoutMs = 5000;
// More clients at once than any person's launches make are turned away.
constexpr int kMaxClients = 16;
constexpr qint64 kReadChunk = 64 * 1024;

}  // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::Outcome SingleInstance::start(const QStringList& absolutePaths)
{
    const std::optional<QString> folder = privateRuntimeFolder(m_problem);
    if (!folder) {
        return Outcome::Alone;
    }
    const QString socketPath = *folder + QLatin1Char('/') + kSocketName;
    // Held from the look for a running window to listening: of two launches at once, the second
    // finds the first one's socket.
    QLockFile lock(socketPath + QStringLiteral(".lock"));
    lock.tryLock(10000);

    const Outcome outcome = handOver(socketPath, absolutePaths);
    if (outcome != Outcome::Listening) {
        return outcome;
    }
    // No one listens there: whatever is left is a killed window's socket.
    QLocalServer::removeServer(socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(socketPath)) {
        m_problem = QStringLiteral("cannot listen on %1: %2").arg(socketPath, m_server.errorString());
        return Outcome::Alone;
    }
    // Once the window is gone, a batch may still finish its file with no event loop to answer:
    // a launch meanwhile starts a new window instead of waiting for this one.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { m_server.close(); });
    return Outcome::Listening;
}

SingleInstance::Outcome SingleInstance::handOver(const QString& socketPath, const QStringList& absolutePaths)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(2000)) {
        const auto error = socket.error();
        if (error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError) {
            return Outcome::Listening;
        }
        m_problem = QStringLiteral("cannot reach the running window: %1").arg(socket.errorString());
        return Outcome::NoAnswer;
    }
    const QByteArray request = encodeOpenRequest(absolutePaths);
    if (request.isEmpty()) {
        m_problem = QStringLiteral("too many paths to hand to the running window at once");
        return Outcome::NoAnswer;
    }
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kClientTimeoutMs)) {
            m_problem = QStringLiteral("the running window did not take the paths");
            return Outcome::NoAnswer;
        }
    }
    QByteArray answer;
    while (answer.size() < kOpenRequestAnswer.size() && socket.waitForReadyRead(kClientTimeoutMs)) {
        answer += socket.readAll();
    }
    if (answer != kOpenRequestAnswer) {
        m_problem = QStringLiteral("the running window did not answer");
        return Outcome::NoAnswer;
    }
    return Outcome::HandedOver;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (m_clients >= kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_clients;
        connect(socket, &QObject::destroyed, this, [this] { --m_clients; });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->setReadBufferSize(kReadChunk);

        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        deadline->start(kClientTimeoutMs);

        auto reader = std::make_shared<OpenRequestReader>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            if (reader->state() != OpenRequestReader::State::Reading) {
                // Answered already: whatever follows is not read.
                socket->readAll();
                return;
            }
            while (reader->state() == OpenRequestReader::State::Reading && socket->bytesAvailable() > 0) {
                reader->feed(socket->read(kReadChunk));
            }
            if (reader->state() == OpenRequestReader::State::Reading) {
                return;
            }
            if (reader->state() == OpenRequestReader::State::Malformed || socket->bytesAvailable() > 0) {
                socket->abort();
                socket->deleteLater();
                return;
            }
            socket->write(kOpenRequestAnswer.data(), kOpenRequestAnswer.size());
            socket->disconnectFromServer();
            emit opened(reader->paths());
        });
    }
}

}  // namespace voveriz
