#include "platform/NotificationCenter.h"

#include <memory>

#include <QStringList>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(NotificationCenter, DeliversInOrderWithPayloadAndDropsDeadObservers)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    QStringList seen;
    auto first = std::make_unique<QObject>();
    QObject second;
    center.addObserver(first.get(), "n.order", [&](const Notification& n) {
        seen << "first:" + n.userInfo.value("type").toString();
    });
    center.addObserver(&second, "n.order", [&](const Notification& n) {
        seen << "second:" + n.object.toString();
    });
    center.addObserver(&second, "n.other", [&](const Notification&) { seen << "other"; });

    center.post("n.order", {{"type", 102}}, QString("obj"));
    EXPECT_EQ(seen, QStringList({"first:102", "second:obj"}));

    first.reset(); // observers go away with their context
    seen.clear();
    center.post("n.order");
    EXPECT_EQ(seen, QStringList({"second:"}));
    EXPECT_EQ(center.observerCount("n.order"), 1);

    center.removeObserver(&second, "n.order");
    seen.clear();
    center.post("n.order");
    center.post("n.other");
    EXPECT_EQ(seen, QStringList({"other"}));
    center.removeObserver(&second);
    EXPECT_EQ(center.observerCount("n.other"), 0);
}

TEST(NotificationCenter, HandlerMayRemoveAnotherObserverDuringDelivery)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    auto victim = std::make_unique<QObject>();
    QObject killer;
    int victimCalls = 0;
    center.addObserver(&killer, "n.remove", [&](const Notification&) { victim.reset(); });
    center.addObserver(victim.get(), "n.remove", [&](const Notification&) { ++victimCalls; });
    center.post("n.remove");
    EXPECT_EQ(victimCalls, 0);
    center.removeObserver(&killer);
}
