#include "core/Helper/CommonFunc.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

// Answers every request on 127.0.0.1 with a small page; serves from the calling thread's loop.
class TinyHttpServer {
public:
    TinyHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
};

} // namespace

TEST(InternetCheck, DisabledWithoutAConfiguredService)
{
    qunsetenv("VANTREL_FEEDBACK_URL");
    EXPECT_FALSE(CommonFunc::isInternetConnected());
}

TEST(InternetCheck, ReachesTheLoopbackServiceOrGivesUp)
{
    TinyHttpServer server;
    ASSERT_NE(server.port(), 0);
    qputenv("VANTREL_FEEDBACK_URL", QByteArray("http://127.0.0.1:") + QByteArray::number(server.port()) + "/");
    EXPECT_TRUE(CommonFunc::isInternetConnected());

    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        closedPort = probe.serverPort();
    }
    qputenv("VANTREL_FEEDBACK_URL", QByteArray("http://127.0.0.1:") + QByteArray::number(closedPort) + "/");
    EXPECT_FALSE(CommonFunc::isInternetConnected());
    qunsetenv("VANTREL_FEEDBACK_URL");
}
