#pragma once

#include <QDir>
#include <QSet>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A static file server for a web-font kit's preview page: browsers load web
// fonts over HTTP, not from file:// pages. It listens on 127.0.0.1 only, on a
// port the system picks, answers GET and HEAD for the kit's own files (those
// the job wrote straight into its folder) and nothing else, only to requests
// addressed to 127.0.0.1 or localhost at its port (a page on a rebound DNS
// name is refused), and stops when it is deleted.
class PreviewServer : public QObject
{
    Q_OBJECT

public:
    explicit PreviewServer(const QString &folder, const QStringList &kitFiles, QObject *parent = nullptr);

    bool isListening() const;
    // http://127.0.0.1:<port>/<file>; invalid when the server is not listening.
    QUrl address(const QString &file) const;

private:
    void answer(QTcpSocket *socket);

    QTcpServer server;
    QDir root;
    QSet<QString> servedNames; // file names inside root
};
