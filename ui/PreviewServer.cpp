#include "PreviewServer.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>

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

// The file a request path names, relative to the served folder; empty when
// the path could lead outside it (a ".." segment, a backslash, a NUL, a path
// that is not relative once its leading slash is gone).
QString relativeFile(const QByteArray &target)
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
    if (decoded.startsWith(QLatin1Char('/')) || decoded.contains(QLatin1Char('\\')) || decoded.contains(QChar(0)))
        return {};
    for (const QString &segment : decoded.split(QLatin1Char('/'))) {
        if (segment == QLatin1String("..") || segment == QLatin1String("."))
            return {};
    }
    return decoded.endsWith(QLatin1Char('/')) ? decoded + QStringLiteral("index.html") : decoded;
}

} // namespace

PreviewServer::PreviewServer(const QString &folder, QObject *parent) : QObject(parent), root(folder)
{
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
    server.listen(QHostAddress::LocalHost, 0);
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
    if (!complete || requestLine.size() != 3 || !requestLine.at(2).startsWith("HTTP/1.")) {
        reply = failure("400 Bad Request", true);
    } else if (method != "GET" && method != "HEAD") {
        reply = failure("405 Method Not Allowed", true);
    } else {
        const QString relative = relativeFile(requestLine.at(1));
        const QString rootPath = root.canonicalPath();
        // Resolved through links, the file must still lie inside the folder.
        const QString path = relative.isEmpty() ? QString() : QFileInfo(root.filePath(relative)).canonicalFilePath();
        QFile file(path);
        if (relative.isEmpty() || rootPath.isEmpty()) {
            reply = failure("403 Forbidden", withBody);
        } else if (path.isEmpty() || !path.startsWith(rootPath + QLatin1Char('/')) || !QFileInfo(path).isFile()) {
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
