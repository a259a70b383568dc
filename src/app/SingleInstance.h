#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace voveriz {

// One window per user. The first launch listens on a local socket in the user's private runtime
// folder, named after the application id; a later launch hands its paths to it and ends. What
// arrives on the socket is read as it comes, within a time and size bound, and anything that is
// not a well-formed request is dropped without a word.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        HandedOver,   // a running window took the paths: this launch is done
        NoAnswer,     // a window runs but did not take them
        Listening,    // this launch is the window; later ones will reach it
        Alone,        // this launch is the window, but later ones cannot reach it (see problem())
    };

    explicit SingleInstance(QObject* parent = nullptr);

    // Hands the absolute paths (none: "come to the front") to the running window, or, where none
    // runs, becomes the one later launches reach. A socket left by a killed window is replaced;
    // of two launches at once, one listens and the other hands over to it.
    Outcome start(const QStringList& absolutePaths);
    QString problem() const { return m_problem; }

signals:
    // A later launch's paths, to be handled as one drop; none: it asks for the window.
    void opened(const QStringList& absolutePaths);

private:
    Outcome handOver(const QString& socketPath, const QStringList& absolutePaths);
    void acceptConnections();

    QString m_problem;
    // Before the server: its clients, going with it, still count themselves off.
    int m_clients = 0;
    QLocalServer m_server;
};

}  // namespace voveriz
