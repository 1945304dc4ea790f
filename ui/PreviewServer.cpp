#include "PreviewServer.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

// A request line and its headers; anything longer is not a browser's GET.
constexpr qint64 kLongestRequest = 16 * 1024;
// Preview files are small (a slice, the CSS, the page); a file larger than
// this is not one of them.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

QByteArray contentType(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return "text/html; charset=utf-8";
    if (suffix == QLatin1String("css"))
        return "text/css; charset=utf-8";
    if (suffix == QLatin1String("woff2"))
        return "font/woff2";
    if (suffix == QLatin1String("json"))
        return "application/json";
    if (suffix == QLatin1String("txt"))
        return "text/plain; charset=utf-8";
    return "application/octet-stream";
}

QByteArray response(const QByteArray &status, const QByteArray &type, const QByteArray &body, bool withBody)
{
    QByteArray bytes = "HTTP/1.1 " + status + "\r\nContent-Type: " + type
            + "\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nCache-Control: no-cache\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n";
    if (withBody)
        bytes += body;
    return bytes;
}

QByteArray failure(const QByteArray &status, bool withBody)
{
    return response(status, "text/plain; charset=utf-8", status + '\n', withBody);
}

// The file name a request path names; empty when it is not a plain name in
// the served folder (a subfolder, a hidden file, "..", a backslash, a NUL).
QString requestedName(const QByteArray &target)
{
    QByteArray path = target;
    const qsizetype end = path.indexOf('?');
    if (end >= 0)
        path.truncate(end);
    if (!path.startsWith('/'))
        return {};
    const QString decoded = QUrl::fromPercentEncoding(path.mid(1));
    if (decoded.isEmpty())
        return QStringLiteral("index.html");
    if (decoded.startsWith(QLatin1Char('.')) || decoded.contains(QLatin1Char('/'))
        || decoded.contains(QLatin1Char('\\')) || decoded.contains(QChar(0)))
        return {};
    return decoded;
}

// The Host header's value; empty when there is none.
QByteArray hostHeader(const QByteArray &request)
{
    const QList<QByteArray> lines = request.split('\n');
    for (qsizetype i = 1; i < lines.size() && !lines.at(i).trimmed().isEmpty(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "host")
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

PreviewServer::PreviewServer(const QString &folder, const QStringList &kitFiles, QObject *parent,
                             std::chrono::milliseconds connectionTime)
    : QObject(parent), root(folder), connectionTime(connectionTime)
{
    for (const QString &file : kitFiles) {
        const QString name = root.relativeFilePath(file);
        if (!name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/')))
            servedNames.insert(name);
    }
    // A connection waiting in Qt's queue already holds a descriptor; with one
    // at a time there, the rest wait in the system's backlog, which holds none
    // of the window's.
    server.setMaxPendingConnections(1);
    connect(&server, &QTcpServer::newConnection, this, &PreviewServer::takeWaiting);
    server.listen(QHostAddress::LocalHost, 0);
}

PreviewServer::~PreviewServer()
{
    // The sockets are deleted with the server; their last signals find no one.
    for (QTcpSocket *socket : std::as_const(open))
        socket->disconnect(this);
}

bool PreviewServer::isListening() const
{
    return server.isListening();
}

QUrl PreviewServer::address(const QString &file) const
{
    if (!server.isListening())
        return {};
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(server.serverPort()).arg(file));
}

// Takes the connections waiting in the queue while there is room for them.
// With every slot answering, the next one waits until a slot frees, at most
// connectionTime.
void PreviewServer::takeWaiting()
{
    while (server.hasPendingConnections()) {
        if (open.size() >= kMostConnections && !closeOldestIdle())
            return;
        QTcpSocket *socket = server.nextPendingConnection();
        open.append(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            closeConnection(socket);
            takeWaiting();
        });
        QTimer::singleShot(connectionTime, socket, [this, socket] {
            closeConnection(socket);
            takeWaiting();
        });
        // What came while it waited in the queue was read with no one to tell.
        answer(socket);
    }
}

// A new connection is worth more than the oldest one that has not sent its
// request: a browser sends it at once.
bool PreviewServer::closeOldestIdle()
{
    const auto idle = std::find_if(open.cbegin(), open.cend(),
                                   [](const QTcpSocket *socket) { return !socket->property("answered").toBool(); });
    if (idle == open.cend())
        return false;
    closeConnection(*idle);
    return true;
}

// Frees the connection's slot, whatever ended it.
void PreviewServer::closeConnection(QTcpSocket *socket)
{
    if (!open.removeOne(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void PreviewServer::answer(QTcpSocket *socket)
{
    // The request is answered once its headers are in; the socket's buffer
    // holds what came so far.
    if (socket->property("answered").toBool())
        return;
    const QByteArray received = socket->peek(kLongestRequest + 1);
    const bool complete = received.contains("\r\n\r\n") || received.contains("\n\n");
    if (!complete && received.size() <= kLongestRequest)
        return;
    socket->setProperty("answered", true);

    QByteArray reply;
    const QList<QByteArray> requestLine = received.left(received.indexOf('\n')).trimmed().split(' ');
    const QByteArray method = requestLine.value(0);
    const bool withBody = method != "HEAD";
    const QByteArray port = QByteArray::number(server.serverPort());
    const QByteArray host = hostHeader(received);
    if (!complete || requestLine.size() != 3 || !requestLine.at(2).startsWith("HTTP/1.")
        || (host != "127.0.0.1:" + port && host != "localhost:" + port)) {
        reply = failure("400 Bad Request", true);
    } else if (method != "GET" && method != "HEAD") {
        reply = failure("405 Method Not Allowed", true);
    } else {
        const QString name = requestedName(requestLine.at(1));
        const QString rootPath = root.canonicalPath();
        // Resolved through links, the file must still lie inside the folder.
        const QString path = name.isEmpty() ? QString() : QFileInfo(root.filePath(name)).canonicalFilePath();
        QFile file(path);
        if (name.isEmpty() || rootPath.isEmpty()) {
            reply = failure("403 Forbidden", withBody);
        } else if (!servedNames.contains(name) || path.isEmpty() || !path.startsWith(rootPath + QLatin1Char('/'))
                   || !QFileInfo(path).isFile()) {
            reply = failure("404 Not Found", withBody);
        } else if (file.size() > kLargestFile || !file.open(QIODevice::ReadOnly)) {
            reply = failure("500 Internal Server Error", withBody);
        } else {
            reply = response("200 OK", contentType(path), file.readAll(), withBody);
        }
    }
    socket->write(reply);
    socket->disconnectFromHost();
}
