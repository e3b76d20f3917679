#pragma once

#include <QHostAddress>
#include <QString>
#include <QTcpServer>

// An HTTP server on a loopback address that answers every request with a short text and
// counts what reached it: every connection, and the requests a script of the content would
// make (paths beginning with /script).
class LoopbackServer : public QTcpServer {
public:
    explicit LoopbackServer(const QHostAddress& address);

    // Its origin, "http://127.0.0.1:port".
    QString origin() const;
    int connections() const { return connections_; }
    int scriptRequests() const { return scriptRequests_; }
    // The paths requested, in order.
    const QStringList& paths() const { return paths_; }

private:
    void answer(QTcpSocket* socket);

    int connections_ = 0;
    int scriptRequests_ = 0;
    QStringList paths_;
};
