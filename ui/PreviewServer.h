#pragma once

#include <QDir>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A static file server for a web-font kit's preview page: browsers load web
// fonts over HTTP, not from file:// pages. It listens on 127.0.0.1 only, on a
// port the system picks, answers GET and HEAD for files inside its folder and
// nothing else, and stops when it is deleted.
class PreviewServer : public QObject
{
    Q_OBJECT

public:
    explicit PreviewServer(const QString &folder, QObject *parent = nullptr);

    bool isListening() const;
    // http://127.0.0.1:<port>/<file>; invalid when the server is not listening.
    QUrl address(const QString &file) const;

private:
    void answer(QTcpSocket *socket);

    QTcpServer server;
    QDir root;
};
