// The notifications the wizard answers, posted under the names other parts (and stored
// settings) use, written out here letter for letter: a name renamed in the code leaves its
// poster unheard and fails here. Also the rating request after a run, decided by the stored
// "appVersion".
#include <functional>
#include <memory>
#include <optional>

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "WizardFakes.h"
#include "core/Wizard/WizardDriver.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"

namespace vantrel::test {
namespace {

class WizardNotificationsTest : public WizardFixture {
public:
    void post(const char* name, const QVariantMap& userInfo = {})
    {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(name), userInfo);
    }
};

TEST_F(WizardNotificationsTest, EachNameTheWizardObservesReachesItsHandler)
{
    struct Row {
        const char* name;
        QVariantMap userInfo;
        bool photos; // one photo in the batch
        std::function<void(FakeWizardScreen&)> before;
        std::function<bool(const FakeWizardScreen&)> after;
    };
    const auto nothing = [](FakeWizardScreen&) {};
    const Row rows[] = {
        { "notificationShowAlertWithType", { { "type", 103 } }, true, nothing,
            [](const FakeWizardScreen& s) { return s.alertShown && s.alert.tag == 103; } },
        { "notificationSubmitFeedback", {}, true, nothing,
            [](const FakeWizardScreen& s) { return s.alertShown && s.alert.tag == 107; } },
        { "notificationShowOverwriteAlert", {}, true, nothing,
            [](const FakeWizardScreen& s) { return s.overwriteShown; } },
        { "notificationHideOverwriteAlert", {}, true,
            [this](FakeWizardScreen&) { post("notificationShowOverwriteAlert"); },
            [](const FakeWizardScreen& s) { return !s.overwriteShown && s.calls.contains("hideOverwrite"); } },
        { "notificationsDisbleView", {}, true, nothing, [](const FakeWizardScreen& s) { return !s.buttonsEnabled; } },
        { "notificationsEnable", {}, true, [](FakeWizardScreen& s) { s.buttonsEnabled = false; },
            [](const FakeWizardScreen& s) { return s.buttonsEnabled; } },
        { "notificationsShowLoadingWithText", { { "textStr", "Scanning" } }, true, nothing,
            [](const FakeWizardScreen& s) { return s.loading == "Scanning"; } },
        { "notificationsHideLoading", {}, true, [](FakeWizardScreen& s) { s.loading = "Scanning"; },
            [](const FakeWizardScreen& s) { return s.loading.isEmpty(); } },
        { "notificationUpdateFooterInfo", { { "textStr", "Batch Count: 1" } }, true, nothing,
            [](const FakeWizardScreen& s) { return s.buttons.footer && s.footerText == "Batch Count: 1"; } },
        // An empty batch hides the footer and leaves it without text, whatever the text sent.
        { "notificationUpdateFooterInfo", { { "textStr", "Batch Count: 1" } }, false,
            [](FakeWizardScreen& s) {
                s.buttons.footer = true;
                s.footerText = "old";
            },
            [](const FakeWizardScreen& s) { return !s.buttons.footer && s.footerText.isEmpty(); } },
        { "notificationsPhotosModified", {}, false, nothing,
            [](const FakeWizardScreen& s) { return !s.nextOnPhotosEnabled; } },
        { "notificationsProcessFinished", {}, true, nothing,
            [](const FakeWizardScreen& s) { return s.buttons.finishOnProcessing; } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        if (row.photos)
            addBatchPhoto("a.jpg");
        row.before(*screen);
        post(row.name, row.userInfo);
        EXPECT_TRUE(row.after(*screen)) << screen->calls.join(", ").toStdString();
    }
}

TEST_F(WizardNotificationsTest, AFinishedRunAsksForARatingUnlessThisVersionWasRated)
{
    const QString version = QStringLiteral("7.3.1");
    const QString saved = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(version);
    const struct {
        std::optional<QString> stored; // under "appVersion"; none: never rated
        bool asks;
    } rows[] = {
        { std::nullopt, true },
        { QStringLiteral("7.3.0"), true },
        { QString(), true },
        { version, false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored.value_or("(none)").toStdString());
        if (row.stored)
            Defaults::standard().setObject("appVersion", *row.stored);
        else
            Defaults::standard().removeObjectForKey("appVersion");
        QObject observer;
        int requests = 0;
        NotificationCenter::defaultCenter().addObserver(
            &observer, "showRatePopup", [&](const Notification&) { ++requests; });
        post("notificationsProcessFinished");
        // The request, when there is one, comes 50 ms after the run; a wait for none ends early
        // only when one came.
        (void)QTest::qWaitFor([&] { return requests > 0; }, row.asks ? 5000 : 300);
        EXPECT_EQ(requests, row.asks ? 1 : 0);
    }
    QCoreApplication::setApplicationVersion(saved);
}

} // namespace
} // namespace vantrel::test
