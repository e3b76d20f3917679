#include "hostile/LoopbackServer.h"

#include <QTcpSocket>

LoopbackServer::LoopbackServer(const QHostAddress& address) {
    listen(address);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            ++connections_;
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LoopbackServer::origin() const {
    return QStringLiteral("http://%1:%2").arg(serverAddress().toString()).arg(serverPort());
}

void LoopbackServer::answer(QTcpSocket* socket) {
    if (!socket->canReadLine() || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> request = socket->readLine().split(' ');
    const QString path = request.size() > 1 ? QString::fromLatin1(request[1]) : QString();
    paths_ << path;
    if (path.startsWith(QLatin1String("/script")))
        ++scriptRequests_;
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    socket->disconnectFromHost();
}
