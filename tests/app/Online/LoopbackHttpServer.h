#pragma once

#include <functional>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace vantrel::testing {

/// One request as the server read it.
struct RecordedRequest {
    QByteArray method;
    QByteArray path;
    QHash<QByteArray, QByteArray> headers; // names lower-cased
    QByteArray body;
};

/// A small HTTP/1.1 server on 127.0.0.1 for the online services' tests. It records every
/// complete request and answers from a per-path table (default 200 with an empty body); an
/// answer marked `hang` is never sent, so the client's timeout decides.
class LoopbackHttpServer {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/plain";
        bool hang = false;
    };

    LoopbackHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                m_sockets.append(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QByteArray baseUrl() const { return "http://127.0.0.1:" + QByteArray::number(port()); }

    void answer(const QByteArray& path, Answer answer) { m_answers.insert(path, answer); }
    void setDefaultAnswer(Answer answer) { m_default = answer; }

    const QList<RecordedRequest>& requests() const { return m_requests; }
    /// Waits (events running) until `count` requests arrived; false when they did not in time.
    bool waitForRequests(int count, int maxMs = 5000)
    {
        return QTest::qWaitFor([&] { return m_requests.size() >= count; }, maxMs);
    }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        RecordedRequest request;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines.at(i).indexOf(':');
            if (colon > 0)
                request.headers.insert(
                    lines.at(i).left(colon).trimmed().toLower(), lines.at(i).mid(colon + 1).trimmed());
        }
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.clear();
        m_requests.append(request);
        const Answer reply = m_answers.value(request.path, m_default);
        if (reply.hang)
            return;
        socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\nContent-Type: " + reply.contentType
            + "\r\nContent-Length: " + QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n\r\n"
            + reply.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_sockets;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QByteArray, Answer> m_answers;
    Answer m_default;
    QList<RecordedRequest> m_requests;
};

/// Sets an environment variable for the life of a test and restores its absence afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() { qunsetenv(m_name); }

private:
    const char* m_name;
};

/// A port nothing listens on: a server is opened and closed again.
inline quint16 refusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace vantrel::testing
