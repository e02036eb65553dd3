#include <functional>
#include <optional>

#include <QList>
#include <QNetworkInformation>
#include <QStringList>

#include <gtest/gtest.h>

#include "app/Online/OnlineServices.h"
#include "app/Online/Reachability.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"

using namespace vantrel;
using namespace vantrel::ReachabilityFlag;

namespace {

class FakeSource : public ReachabilitySource {
public:
    explicit FakeSource(std::optional<quint32> flags)
        : m_flags(flags)
    {
    }
    std::optional<quint32> flags() const override { return m_flags; }
    void set(std::optional<quint32> flags)
    {
        m_flags = flags;
        emit changed();
    }

private:
    std::optional<quint32> m_flags;
};

} // namespace

TEST(Reachability, StatusRules)
{
    struct Case {
        quint32 flags;
        qint32 network;
        qint32 localWiFi;
    };
    const Case cases[] = {
        { 0, 0, 0 },
        { kIsDirect, 0, 0 },
        { kReachable, 1, 0 },
        { kReachable | kIsDirect, 2, 1 },
        { kReachable | kConnectionRequired, 0, 0 },
        { kReachable | kConnectionRequired | kConnectionOnDemand, 1, 0 },
        { kReachable | kConnectionRequired | kConnectionOnTraffic, 1, 0 },
        { kReachable | kConnectionRequired | kConnectionOnDemand | kInterventionRequired, 0, 0 },
        { kReachable | kConnectionOnTraffic | kInterventionRequired, 1, 0 },
        { kReachable | kConnectionRequired | kIsDirect, 2, 1 },
        { kReachable | kTransientConnection | kIsLocalAddress, 1, 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Reachability::networkStatusForFlags(c.flags), c.network) << c.flags;
        EXPECT_EQ(Reachability::localWiFiStatusForFlags(c.flags), c.localWiFi) << c.flags;
    }
    EXPECT_EQ(Reachability::flagStatusLine(kIsDirect | kReachable | kConnectionOnDemand, "networkStatusForFlags"),
        "Reachability Flag Status: WR ----D- networkStatusForFlags\n");
    EXPECT_EQ(Reachability::flagStatusLine(0x3003F | kIsDirect, "x"), "Reachability Flag Status: WR tcCiDl x\n");
}

TEST(Reachability, SharedFlagsFollowTheSource)
{
    AppDelegate* delegate = AppDelegate::resetShared();
    OnlineServices services;
    auto owned = std::make_unique<FakeSource>(kReachable | kIsDirect);
    FakeSource* source = owned.get();
    services.registerReachability(std::move(owned));
    EXPECT_EQ(delegate->internetReachability.data(), services.internetReachability());

    struct Step {
        std::optional<quint32> flags;
        qint32 status;
        bool required;
        bool available;
    };
    const Step steps[] = {
        { kReachable | kIsDirect, 2, false, true },
        { kReachable, 1, false, true },
        { kReachable | kConnectionRequired, 0, true, false },
        { std::nullopt, 0, false, true }, // the system cannot tell: not claimed offline
        { 0u, 0, false, false },
        { kReachable | kConnectionRequired | kConnectionOnDemand, 1, true, true },
    };
    bool first = true;
    for (const Step& step : steps) {
        if (!first)
            source->set(step.flags); // posts the change notification
        first = false;
        EXPECT_EQ(delegate->networkStatus.load(), step.status);
        EXPECT_EQ(delegate->isInternetAvailable.load(), step.available);
        EXPECT_EQ(delegate->isInternetAvailableUsingWiFi.load(), step.status == 1);
        EXPECT_EQ(delegate->isInternetAvailableUsingDataProvider.load(), step.status == 2);
        EXPECT_EQ(delegate->connectionRequired.load(), step.required);
    }

    QObject spy;
    int posts = 0;
    NotificationCenter::defaultCenter().addObserver(
        &spy, QLatin1String(kNetworkReachabilityChangedNotification), [&](const Notification&) { ++posts; });
    services.internetReachability()->stopNotifier();
    source->set(0u);
    EXPECT_EQ(posts, 0);
    EXPECT_TRUE(delegate->isInternetAvailable);
}

TEST(Reachability, LocalWiFiMonitorUsesTheLocalRule)
{
    // The same flags read by each monitor's own rule: a direct link is WiFi for the local
    // monitor and the data provider for the internet one.
    struct Case {
        quint32 flags;
        qint32 local;
        qint32 internet;
    };
    const Case cases[] = { { kReachable, 0, 1 }, { kReachable | kIsDirect, 1, 2 }, { 0, 0, 0 } };
    for (const Case& c : cases) {
        auto monitor = Reachability::reachabilityForLocalWiFi(std::make_unique<FakeSource>(c.flags));
        EXPECT_TRUE(monitor->localWiFiRef());
        EXPECT_EQ(monitor->currentReachabilityStatus(), c.local) << c.flags;
        auto internet = Reachability::reachabilityForInternetConnection(std::make_unique<FakeSource>(c.flags));
        EXPECT_FALSE(internet->localWiFiRef());
        EXPECT_EQ(internet->currentReachabilityStatus(), c.internet) << c.flags;
    }

    // A started notifier posts each change of its source once, naming the monitor that saw it
    // (the one of two monitors the receiver asks for the new status); a stopped one posts nothing.
    auto owned = std::make_unique<FakeSource>(kReachable);
    FakeSource* source = owned.get();
    auto internet = Reachability::reachabilityForInternetConnection(std::move(owned));
    auto other = Reachability::reachabilityForLocalWiFi(std::make_unique<FakeSource>(kReachable));
    other->startNotifier();
    QObject spy;
    QList<QObject*> posted;
    NotificationCenter::defaultCenter().addObserver(&spy, QLatin1String(kNetworkReachabilityChangedNotification),
        [&](const Notification& n) { posted.append(n.object.value<QObject*>()); });
    const struct {
        const char* step;
        std::function<void()> act;
        int posts; // in all, after the step
        bool notifying;
    } steps[] = {
        { "a change before the start", [&] { source->set(0u); }, 0, false },
        { "started twice, one change",
            [&] {
                internet->startNotifier();
                internet->startNotifier();
                source->set(kReachable | kIsDirect);
            },
            1, true },
        { "stopped",
            [&] {
                internet->stopNotifier();
                source->set(0u);
            },
            1, false },
        { "started again",
            [&] {
                internet->startNotifier();
                source->set(kReachable);
            },
            2, true },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        EXPECT_EQ(posted.size(), step.posts);
        EXPECT_EQ(internet->isNotifying(), step.notifying);
    }
    EXPECT_EQ(posted, (QList<QObject*> { internet.get(), internet.get() }));
}

TEST(Reachability, HostAndAddressMonitorsFollowTheSystemStateOrAreNotMade)
{
    const struct {
        const char* host;
        bool made;
    } hosts[] = { { "example.org", true }, { "localhost", true }, { "", false }, { "  ", false }, { "bad host", false },
        { "a/b", false } };
    for (const auto& c : hosts) {
        SCOPED_TRACE(c.host);
        auto monitor
            = Reachability::reachabilityWithHostName(c.host, std::make_unique<FakeSource>(kReachable | kIsDirect));
        ASSERT_EQ(monitor != nullptr, c.made);
        if (monitor) {
            EXPECT_FALSE(monitor->localWiFiRef());
            EXPECT_EQ(monitor->currentReachabilityStatus(), Reachability::kReachableViaWWAN);
        }
    }
    const struct {
        QHostAddress address;
        bool made;
    } addresses[]
        = { { QHostAddress("192.0.2.1"), true }, { QHostAddress("2001:db8::1"), true }, { QHostAddress(), false } };
    for (const auto& c : addresses) {
        SCOPED_TRACE(c.address.toString().toStdString());
        auto monitor = Reachability::reachabilityWithAddress(c.address, std::make_unique<FakeSource>(kReachable));
        ASSERT_EQ(monitor != nullptr, c.made);
        if (monitor)
            EXPECT_EQ(monitor->currentReachabilityStatus(), Reachability::kReachableViaWiFi);
    }
}

// NetworkManager, where Qt offers it, is tried before every other backend (most machines run
// without it, and GLib's monitor answers there); the others keep Qt's order and none is lost.
TEST(Reachability, NetworkManagerIsTriedFirstThenTheOthersInQtsOrder)
{
    const QStringList offered = QNetworkInformation::availableBackends();
    const QStringList tried = NetworkInformationSource::systemBackends();
    ASSERT_EQ(tried.size(), offered.size()) << tried.join(", ").toStdString();
    if (offered.contains("networkmanager")) {
        EXPECT_EQ(tried.front(), "networkmanager") << tried.join(", ").toStdString();
    }
    QStringList others = tried;
    others.removeAll("networkmanager");
    QStringList offeredOthers = offered;
    offeredOthers.removeAll("networkmanager");
    EXPECT_EQ(others, offeredOthers);
}
