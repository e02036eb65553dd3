#include <algorithm>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "app/Online/OnlineServices.h"
#include "app/Online/PromotionalAdsView.h"
#include "app/Online/RecommendedApps.h"
#include "app/Online/Tracker.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Helper/SystemInfo.h"
#include "platform/Defaults.h"

using namespace vantrel;
using namespace vantrel::testing;

namespace {

QJsonObject jsonBody(const RecordedRequest& request)
{
    return QJsonDocument::fromJson(request.body).object();
}

class TrackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        Defaults::standard().removeObjectForKey(QLatin1String(kDefaultsTrackedForAppStore));
    }

    void expectJsonPost(const RecordedRequest& request, const QByteArray& path)
    {
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.path, path);
        EXPECT_EQ(request.headers.value("accept"), "application/json");
        EXPECT_EQ(request.headers.value("content-type"), "application/json");
        EXPECT_EQ(request.headers.value("content-length").toInt(), request.body.size());
        EXPECT_FALSE(QJsonDocument::fromJson(request.body).isNull()) << request.body.constData();
    }

    LoopbackHttpServer server;
    ScopedEnv trackerEnv { "VANTREL_TRACKER_URL", server.baseUrl() };
};

RecommendedApp row(const QString& name, const QString& track, const QString& id)
{
    RecommendedApp app;
    app.name = name;
    app.description = name + QStringLiteral(" does things");
    app.features = { QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three") };
    app.storeUrl = QStringLiteral("https://store.example.org/") + track;
    app.trackName = track;
    app.appId = id;
    return app;
}

} // namespace

TEST_F(TrackerTest, InstallIsRegisteredOncePerInstallationAndTheTidIsKept)
{
    server.answer("/ormeltracker/OrmelParser.svc/registerAppInstalls", { 200, R"({"tid": 4242})" });
    OnlineServices first;
    first.registerFroTracking();
    ASSERT_TRUE(server.waitForRequests(1));
    expectJsonPost(server.requests().at(0), "/ormeltracker/OrmelParser.svc/registerAppInstalls");
    const QJsonObject body = jsonBody(server.requests().at(0));
    EXPECT_EQ(body.keys(), QStringList({ "bins", "mac", "pid" }));
    EXPECT_EQ(body.value("pid").toString(), QString::number(Tracker::kAppCatalogueId));
    EXPECT_EQ(body.value("bins").toString(), "1");
    const QString serial = SystemInfo::computerSerialNumber();
    EXPECT_EQ(body.value("mac").toString(), serial.isEmpty() ? QString(Tracker::kDummySerial) : serial);
    EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsTrackedForAppStore), "TRACKING CALLED");
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.tracker()->tid() == 4242u; }, 5000));

    // The next launch sends nothing: the only request after it is the report fired as a marker.
    OnlineServices second;
    second.registerFroTracking();
    second.fireKorvBraskHit("exit_nag", "abc", "1", "2");
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(server.requests().at(1).path, "/ormeltracker/ormelparser.svc/CrossTracking");
}

TEST_F(TrackerTest, FailedFirstReportIsNotRetried)
{
    ScopedEnv refused("VANTREL_TRACKER_URL", "http://127.0.0.1:" + QByteArray::number(refusedPort()));
    OnlineServices first;
    first.setTransferTimeout(2000);
    QSignalSpy finished(first.tracker(), &Tracker::reportFinished);
    first.registerFroTracking();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(Defaults::standard().contains(kDefaultsTrackedForAppStore));
    EXPECT_EQ(first.tracker()->tid(), 0u);
}

TEST_F(TrackerTest, BrokenRepliesChangeNothing)
{
    const QByteArray path = "/ormeltracker/OrmelParser.svc/registerAppInstalls";
    OnlineServices services;
    Tracker* tracker = services.tracker();
    server.answer(path, { 200, R"({"tid": 77})" });
    QSignalSpy finished(tracker, &Tracker::reportFinished);
    tracker->fireOrmelHitForTrackSource(1);
    ASSERT_TRUE(finished.wait(5000));
    ASSERT_EQ(tracker->tid(), 77u);

    const QList<LoopbackHttpServer::Answer> broken = {
        { 200, "not json" },
        { 200, "[1, 2, 3]" },
        { 200, R"({"tid": "abc"})" },
        { 200, R"({"tid": -5})" },
        { 200, R"({"other": 1})" },
        { 200, "" },
        { 500, R"({"tid": 99})" },
        { 503, "Service Unavailable" },
    };
    for (const auto& answer : broken) {
        server.answer(path, answer);
        tracker->fireOrmelHitForTrackSource(1);
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_EQ(tracker->tid(), 77u) << answer.body.constData();
    }
}

TEST_F(TrackerTest, NothingIsSentWhenTheTrackerIsNotConfigured)
{
    qunsetenv("VANTREL_TRACKER_URL");
    OnlineServices services;
    services.registerFroTracking();
    services.fireKorvBraskHit("exit_nag", "abc", "1", "2");
    EXPECT_TRUE(services.getURLForTATTracking().isEmpty());
    // Disabled operations create no request at all; the marker is the first thing the server sees.
    qputenv("VANTREL_TRACKER_URL", server.baseUrl());
    OnlineServices marker;
    marker.fireKorvBraskHit("exit_nag", "marker", "1", "2");
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(jsonBody(server.requests().at(0)).value("to").toString(), "marker");
}

TEST_F(TrackerTest, TheTrackersOwnReportsGoToTheirAddressesAndAreOffWithoutAService)
{
    OnlineServices services;
    Tracker* tracker = services.tracker();
    tracker->setMacSerialNumber("SER1");
    tracker->fireKorvBraskHit("exit_nag");
    tracker->loginWithFacebook("a@example.org", 12345678901ull, 7311, "fb-1", "token-1");
    ASSERT_TRUE(server.waitForRequests(2));
    QMap<QByteArray, QJsonObject> byPath;
    for (const RecordedRequest& request : server.requests()) {
        expectJsonPost(request, request.path);
        byPath.insert(request.path, jsonBody(request));
    }
    const QJsonObject cross = byPath.value("/ormeltracker/ormelparser.svc/CrossTracking");
    EXPECT_EQ(cross, QJsonObject({ { "from", "kvx" }, { "to", "brk" }, { "mac", "SER1" }, { "btn", "exit_nag" } }));
    const QJsonObject signup = byPath.value("/ormeltracker/ormelparser.svc/usersignup");
    EXPECT_EQ(signup,
        QJsonObject({ { "TrackingID", "12345678901" }, { "ProductId", "7311" }, { "FBID", "fb-1" },
            { "FBToken", "token-1" }, { "fromFB", "1" }, { "Email", "a@example.org" } }));

    // Without a tracking service neither report makes a request: the marker is all the server sees next.
    qunsetenv("VANTREL_TRACKER_URL");
    OnlineServices off;
    off.tracker()->fireKorvBraskHit("exit_nag");
    off.tracker()->loginWithFacebook("a@example.org", 1, 2, "x", "y");
    qputenv("VANTREL_TRACKER_URL", server.baseUrl());
    OnlineServices marker;
    marker.tracker()->fireKorvBraskHit("marker");
    ASSERT_TRUE(server.waitForRequests(3));
    EXPECT_EQ(server.requests().size(), 3);
    EXPECT_EQ(jsonBody(server.requests().at(2)).value("btn").toString(), "marker");
}

TEST_F(TrackerTest, MenuItemsReportTheClickAndOpenTheStoreLink)
{
    OnlineServices services;
    QList<QUrl> opened;
    services.setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    // A tracking name from the content service may hold anything; the body stays valid JSON.
    RecommendedApp beta = row("Beta", "bet", "202");
    beta.trackName = "b\"e\\t\n";
    services.recommendedApps().setRows({ row("Alpha", "alp", "101"), beta });
    EXPECT_EQ(services.appcenterMenuTitles(), QStringList({ "Alpha", "Beta" }));

    struct Case {
        int tag;
        const char* to;
        const char* toid;
    };
    for (const Case& c : { Case { 2, "b\"e\\t\n", "202" }, Case { 1, "alp", "101" } }) {
        const int before = static_cast<int>(server.requests().size());
        services.btnKorvingAppcenterTapped(c.tag);
        ASSERT_TRUE(server.waitForRequests(before + 1));
        const RecordedRequest& request = server.requests().last();
        expectJsonPost(request, "/ormeltracker/ormelparser.svc/CrossTracking");
        const QJsonObject body = jsonBody(request);
        EXPECT_EQ(body.keys(), QStringList({ "btn", "from", "fromid", "mac", "to", "toid" }));
        EXPECT_EQ(body.value("from").toString(), "kvx");
        EXPECT_EQ(body.value("btn").toString(), "exit_nag");
        EXPECT_EQ(body.value("to").toString(), c.to);
        EXPECT_EQ(body.value("toid").toString(), c.toid);
        EXPECT_EQ(body.value("fromid").toString(), QString::number(Tracker::kAppCatalogueId));
        EXPECT_EQ(opened.last(), QUrl(QStringLiteral("https://store.example.org/") + (c.tag == 1 ? "alp" : "bet")));
    }
    for (int tag : { 0, 3, -1 })
        services.btnKorvingAppcenterTapped(tag);
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(TrackerTest, RowsComeFromTheContentServiceWithTheirLogos)
{
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        logo.save(&buffer, "PNG");
    }
    server.answer("/korving/recommendedapps.json", { 200, R"([
        {"name": "Alpha", "description": "A", "features": ["f1", "f2", "f3"], "logo": "logos/a.png",
         "store": "https://store.example.org/a", "track": "alp", "id": 101},
        {"name": "../evil", "store": "https://store.example.org/x"},
        {"name": "NoStore", "store": "file:///etc/passwd"},
        {"name": "Beta", "features": ["only one"], "store": "http://store.example.org/b", "track": "bet", "id": "202"},
        {"name": "Gamma", "store": "https://store.example.org/c"}
    ])" });
    server.answer("/korving/logos/a.png", { 200, png, "image/png" });
    ScopedEnv content("VANTREL_CONTENT_URL", server.baseUrl());
    OnlineServices services;
    services.loadRecommendedApps();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !services.recommendedApps().rows().value(0).logo.isNull(); }, 5000));
    const QList<RecommendedApp>& rows = services.recommendedApps().rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(0).name, "Alpha");
    EXPECT_EQ(rows.at(0).appId, "101");
    EXPECT_EQ(rows.at(0).features, QStringList({ "f1", "f2", "f3" }));
    EXPECT_EQ(rows.at(1).name, "Beta");
    EXPECT_EQ(rows.at(1).features, QStringList({ "only one", "", "" }));
    EXPECT_EQ(rows.at(1).appId, "202");
}

TEST(PromotionPlan, InstalledRowsLeaveTheirSlotsToTheOthers)
{
    struct Case {
        QList<bool> installed;
        QList<int> slotRows;
        bool divider;
        bool centred;
        int firstX; // W 800, second panel at 430, panels 340 wide
    };
    const Case cases[] = {
        { { false, false }, { 0, 1 }, true, false, 800 - 430 - 340 + 30 },
        { { true, false }, { 1 }, false, true, (800 - 340) / 2 },
        { { false, true }, { 0 }, false, true, (800 - 340) / 2 },
        { { true, true }, {}, false, false, (800 - 340) / 2 },
        { {}, {}, false, false, (800 - 340) / 2 },
    };
    for (const Case& c : cases) {
        const PromotionPlan plan = PromotionPlan::forInstalled(c.installed);
        EXPECT_EQ(plan.slotRows, c.slotRows);
        EXPECT_EQ(plan.headingVisible, !c.slotRows.isEmpty());
        EXPECT_EQ(plan.firstPanelVisible, !c.slotRows.isEmpty());
        EXPECT_EQ(plan.secondPanelVisible, c.slotRows.size() == 2);
        EXPECT_EQ(plan.dividerVisible, c.divider);
        EXPECT_EQ(plan.firstTitleCentred, c.centred);
        EXPECT_EQ(plan.firstPanelX(800, 430, 340), c.firstX);
    }
}

TEST_F(TrackerTest, PanelShowsTheApplicationsNotInstalledAndReportsClicks)
{
    QTemporaryDir apps;
    OnlineServices services;
    QList<QUrl> opened;
    services.setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    services.recommendedApps().setApplicationsFolders({ apps.path() });
    services.recommendedApps().setRows({ row("Alpha", "alp", "101"), row("Beta", "bet", "202") });
    PromotionalAdsView view(&services);
    view.resize(800, 220);
    view.show();
    EXPECT_EQ(view.plan().slotRows, QList<int>({ 0, 1 }));
    EXPECT_EQ(view.slotTitle(0), "Alpha");
    EXPECT_EQ(view.slotTitle(1), "Beta");
    EXPECT_TRUE(view.divider()->isVisible());

    QFile desktop(QDir(apps.path()).filePath("Alpha.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::WriteOnly));
    desktop.close();
    view.setPromotionHidden(false);
    EXPECT_TRUE(view.isFirstAppInstalled());
    EXPECT_FALSE(view.isSecondAppInstalled());
    EXPECT_EQ(view.slotTitle(0), "Beta");
    EXPECT_TRUE(view.slotPanel(0)->isVisible());
    EXPECT_FALSE(view.slotPanel(1)->isVisible());
    EXPECT_EQ(view.slotPanel(0)->x(), (800 - view.slotPanel(0)->width()) / 2);

    view.findChild<QPushButton*>("btnFirst")->click();
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_EQ(jsonBody(server.requests().at(0)).value("to").toString(), "bet");
    EXPECT_EQ(opened, QList<QUrl>({ QUrl("https://store.example.org/bet") }));

    view.setPromotionHidden(true);
    EXPECT_FALSE(view.heading()->isVisible());
    EXPECT_FALSE(view.slotPanel(0)->isVisible());
    EXPECT_TRUE(view.isVisible());

    QFile other(QDir(apps.path()).filePath("Beta.desktop"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    view.setPromotionHidden(false);
    EXPECT_TRUE(view.plan().slotRows.isEmpty());
    EXPECT_FALSE(view.heading()->isVisible());
}

TEST_F(TrackerTest, TextsFromTheContentServerAreShownAsWritten)
{
    QTemporaryDir apps;
    OnlineServices services;
    services.recommendedApps().setApplicationsFolders({ apps.path() });
    RecommendedApp marked = row("Photo <u>Tidy", "pht", "303");
    marked.description = "Sorts <b>every</b> photo";
    marked.features = { "<i>Fast</i>", "A &amp; B", "<a href='x'>link</a>" };
    services.recommendedApps().setRows({ marked });
    PromotionalAdsView view(&services);
    view.resize(800, 220);
    view.show();
    ASSERT_EQ(view.plan().slotRows, QList<int>({ 0 }));

    const QStringList literal = { marked.name, marked.description, marked.features[0], marked.features[1],
        marked.features[2] };
    for (const QString& text : literal) {
        SCOPED_TRACE(text.toStdString());
        const QList<QLabel*> labels = view.slotPanel(0)->findChildren<QLabel*>();
        const auto shown = std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->text().endsWith(text); });
        ASSERT_NE(shown, labels.end());
        // Drawn as markup, the tags take no room: the ink would end well before the text's width.
        QLabel* label = *shown;
        const int advance = label->fontMetrics().horizontalAdvance(label->text());
        label->resize(advance + 60, label->fontMetrics().height() + 8);
        const QImage ink = label->grab().toImage();
        const QRgb background = ink.pixel(ink.width() - 1, ink.height() / 2);
        int right = -1;
        for (int x = 0; x < ink.width(); ++x)
            for (int y = 0; y < ink.height(); ++y)
                if (ink.pixel(x, y) != background)
                    right = x;
        EXPECT_GT(right, advance * 9 / 10);
    }
}
