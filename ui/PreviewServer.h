#pragma once

#include <QDir>
#include <QList>
#include <QSet>
#include <QTcpServer>
#include <QUrl>

#include <chrono>

class QTcpSocket;

// A static file server for a web-font kit's preview page: browsers load web
// fonts over HTTP, not from file:// pages. It listens on 127.0.0.1 only, on a
// port the system picks, answers GET and HEAD for the kit's own files (those
// the job wrote straight into its folder) and nothing else, only to requests
// addressed to 127.0.0.1 or localhost at its port (a page on a rebound DNS
// name is refused), one request per connection, and stops when it is deleted.
// Idle connections cannot hold it down: it keeps few open at once and closes
// each after a few seconds.
class PreviewServer : public QObject
{
    Q_OBJECT

public:
    // Connections served at once. A browser opens about six per host, and the
    // page may be open as 127.0.0.1 and as localhost at the same time: twelve,
    // and room to spare. Each one costs the window a descriptor.
    static constexpr int kMostConnections = 16;
    // A connection is closed this long after it was taken, answered or not. A
    // browser sends its request as soon as it connects and reads a loopback
    // answer in well under a second; one still open after this is idle or
    // stalled, and only holds a slot a page's next request needs. (A spare
    // socket a browser opened ahead of need is closed too; it opens another.)
    static constexpr std::chrono::milliseconds kConnectionTime{5000};

    explicit PreviewServer(const QString &folder, const QStringList &kitFiles, QObject *parent = nullptr,
                           std::chrono::milliseconds connectionTime = kConnectionTime);
    ~PreviewServer() override;

    bool isListening() const;
    // http://127.0.0.1:<port>/<file>; invalid when the server is not listening.
    QUrl address(const QString &file) const;

private:
    void takeWaiting();
    bool closeOldestIdle();
    void closeConnection(QTcpSocket *socket);
    void answer(QTcpSocket *socket);

    QTcpServer server;
    QDir root;
    QSet<QString> servedNames; // file names inside root
    std::chrono::milliseconds connectionTime;
    QList<QTcpSocket *> open; // oldest first
};
