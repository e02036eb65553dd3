// The support number: INI parsing, the number choice, the retry waits and a fetch from a local server.
#include <thread>

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include "app/ShellFakes.h"
#include "app/SupportNumber.h"

namespace vantrel {
namespace {

TEST(SupportNumberTest, IniTextBecomesSectionsOfTrimmedEntries)
{
    const QString text = "ignored = before any section\n"
                         "[default]\n"
                         " vantrel = (111) 222-3333 \r\n"
                         "two=equals=signs\n"
                         "no equals sign\n"
                         "  [ phone ]  \n"
                         "(800) 555-0142=(999) 888-7777\n"
                         "[broken\n"
                         "[a]b]\n"
                         "[phone]\n"
                         "k = v\n";
    const SupportNumber::IniSections ini = SupportNumber::parseIni(text);
    EXPECT_EQ(ini.keys(), QStringList({ "default", "phone" }));
    EXPECT_EQ(ini.value("default"), (QMap<QString, QString> { { "vantrel", "(111) 222-3333" } }));
    // The repeated section starts afresh; "[broken" and "[a]b]" are plain lines without "=".
    EXPECT_EQ(ini.value("phone"), (QMap<QString, QString> { { "k", "v" } }));
}

TEST(SupportNumberTest, TheNumberComesFromTheApplicationEntryElseFromTheCurrentNumber)
{
    using Ini = SupportNumber::IniSections;
    const QString current = "(800) 555-0142";
    const struct {
        Ini ini;
        QString expected;
    } cases[] = {
        { Ini { { "default", { { "vantrel", "(1) app" } } }, { "phone", { { current, "(2) mapped" } } } }, "(1) app" },
        { Ini { { "default", { { "other", "(1) app" } } }, { "phone", { { current, "(2) mapped" } } } }, "(2) mapped" },
        { Ini { { "phone", { { "(000) 000-0000", "x" } } } }, "" },
        { Ini {}, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SupportNumber::checkAndGetNewPhoneNumberForAppStoreApp(c.ini, current), c.expected);

    shelltest::clearShellDefaults();
    SupportNumber::registerDefault();
    EXPECT_EQ(SupportNumber::getDefaultPhoneNumber(), current);
    Defaults::standard().setObject(kDefaultsPhoneNumber, "");
    EXPECT_EQ(SupportNumber::getDefaultPhoneNumber(), current);
    Defaults::standard().setObject(kDefaultsPhoneNumber, "(123) 456-7890");
    EXPECT_EQ(SupportNumber::getDefaultPhoneNumber(), "(123) 456-7890");
    shelltest::clearShellDefaults();
}

TEST(SupportNumberTest, FailedAttemptsWaitFiveThenTwentySecondsAndNeverAfterTheLast)
{
    QList<int> waits;
    int fetches = 0;
    SupportNumber::IniSections result { { "x", {} } };
    std::thread worker([&] {
        result = SupportNumber::getDictParamsFromINIURL(
            QUrl("http://127.0.0.1:1/korving/phonenumber.ini"), true,
            [&](const QUrl&, QString* error) -> std::optional<QString> {
                ++fetches;
                *error = "refused";
                return std::nullopt;
            },
            [&](int seconds) { waits.append(seconds); });
    });
    worker.join();
    EXPECT_EQ(fetches, 5);
    EXPECT_EQ(waits, QList<int>({ 5, 5, 20, 20 }));
    EXPECT_TRUE(result.isEmpty());

    fetches = 0;
    std::thread offline([&] {
        result = SupportNumber::getDictParamsFromINIURL(
            QUrl("http://127.0.0.1:1/x"), false,
            [&](const QUrl&, QString*) {
                ++fetches;
                return std::optional<QString>();
            },
            [](int) {});
    });
    offline.join();
    EXPECT_EQ(fetches, 0);
}

TEST(SupportNumberTest, ReadsTheIniFileFromALocalServer)
{
    // The server answers from its own thread with blocking calls; the reader runs on another.
    QByteArray requestLine;
    quint16 port = 0;
    std::atomic<bool> listening { false };
    std::thread server([&] {
        QTcpServer tcp;
        const bool ok = tcp.listen(QHostAddress::LocalHost, 0);
        port = tcp.serverPort();
        listening = true;
        if (!ok || !tcp.waitForNewConnection(10000))
            return;
        QTcpSocket* client = tcp.nextPendingConnection();
        while (!client->canReadLine() && client->waitForReadyRead(10000)) { }
        requestLine = client->readLine().trimmed();
        client->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n[default]\nvantrel = (321) 654-0987\n");
        client->waitForBytesWritten(10000);
        client->disconnectFromHost();
        if (client->state() != QAbstractSocket::UnconnectedState)
            client->waitForDisconnected(10000);
    });
    while (!listening)
        std::this_thread::yield();

    SupportNumber::IniSections ini;
    std::thread reader([&] {
        const QUrl url(QString("http://127.0.0.1:%1/korving/phonenumber.ini").arg(port));
        ini = SupportNumber::getDictParamsFromINIURL(
            url, true, [](const QUrl& u, QString* e) { return SupportNumber::httpGet(u, e); }, [](int) {});
    });
    reader.join();
    server.join();
    EXPECT_EQ(requestLine, "GET /korving/phonenumber.ini HTTP/1.0");
    EXPECT_EQ(SupportNumber::checkAndGetNewPhoneNumberForAppStoreApp(ini, "x"), "(321) 654-0987");
}

} // namespace
} // namespace vantrel
