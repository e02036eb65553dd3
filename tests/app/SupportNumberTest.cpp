// The support number: INI parsing, the number choice, the retry waits and a fetch from a local server.
#include <thread>

#include <QTcpServer>
#include <QTcpSocket>
#include <QThreadPool>

#include <gtest/gtest.h>

#include "app/Online/LoopbackHttpServer.h"
#include "app/ShellFakes.h"
#include "app/SupportNumber.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/WebServices.h"
#include "platform/NotificationCenter.h"

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

// The whole pass as the application starts it: the reader works off the main thread (the server
// below answers from the main thread's events, so a reader on it would never be served), and the
// number read reaches the screens as the object of "updatePhoneNumber" and is kept.
TEST(SupportNumberTest, UpdatePhoneInfoPostsTheNumberReadFromTheContentServer)
{
    const struct {
        const char* what;
        bool online;
        QByteArray ini;
        QString posted;
        int requests;
    } cases[] = {
        { "the application's own entry", true, "[default]\nvantrel = (321) 654-0987\n", "(321) 654-0987", 1 },
        { "the entry under the current number", true, "[phone]\n(800) 555-0142 = (555) 010-2030\n", "(555) 010-2030",
            1 },
        { "offline: nothing is asked and the number is emptied", false, "[default]\nvantrel = x\n", "", 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shelltest::clearShellDefaults();
        AppDelegate* app = AppDelegate::resetShared();
        app->isInternetAvailable = c.online;
        app->strPhoneNumber = "before";
        testing::LoopbackHttpServer server;
        server.answer(WebServices::kPhoneNumberIniPath, { 200, c.ini });
        const testing::ScopedEnv content("VANTREL_CONTENT_URL", server.baseUrl());
        QObject observer;
        QStringList posted;
        NotificationCenter::defaultCenter().addObserver(
            &observer, kUpdatePhoneNumber, [&](const Notification& n) { posted << n.object.toString(); });

        SupportNumber::updatePhoneInfo();
        EXPECT_TRUE(posted.isEmpty()) << "the reader ran before the call returned";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !posted.isEmpty(); }, 20000)) << "nothing was posted";
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(posted.join(" | ").toStdString(), c.posted.toStdString());
        EXPECT_EQ(app->strPhoneNumber.toStdString(), c.posted.toStdString());
        EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsPhoneNumber).toStdString(), c.posted.toStdString());
        ASSERT_EQ(server.requests().size(), c.requests);
        if (c.requests > 0) {
            EXPECT_EQ(server.requests().front().method, "GET");
            EXPECT_EQ(server.requests().front().path, "/korving/phonenumber.ini");
        }
    }
    shelltest::clearShellDefaults();
}

} // namespace
} // namespace vantrel
