#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "app/Online/FeedbackDocument.h"
#include "app/Online/FeedbackWindowController.h"
#include "app/Online/OnlineServices.h"
#include "app/Online/Reachability.h"
#include "components/RvWindow/CustomWindowNag.h"
#include "components/Sheet.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"

using namespace vantrel;
using namespace vantrel::testing;

namespace {

constexpr char kPath[] = "/miscserviceandrall/MiscService.asmx";

const QByteArray kFault = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                          "<soap:Fault><faultcode>soap:Server</faultcode><faultstring>no</faultstring></soap:Fault>"
                          "</soap:Body></soap:Envelope>";
const QByteArray kAccepted = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                             "<UploadFeedbackResponse xmlns=\"http://services.vantrel.org/feedback/\"/>"
                             "</soap:Body></soap:Envelope>";

class FeedbackUploadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        NotificationCenter::defaultCenter().addObserver(
            &observer, QLatin1String(kNotificationSubmitFeedback), [this](const Notification&) {
                ++submitted;
                // The confirmation alert is refused while a sheet is open: the form must be gone.
                subWindowOpenAtSubmit = AppDelegate::shareDelegate()->isSubWindowOpened;
            });
        services.setTransferTimeout(3000);
    }

    template <class Widget> static Widget* named(FeedbackWindowController* form, const QString& name)
    {
        for (Widget* widget : form->window()->findChildren<Widget*>()) {
            if (widget->accessibleName() == name)
                return widget;
        }
        return nullptr;
    }

    /// Types into the form's fields and clicks Submit, as a user does.
    static void typeAndSubmit(FeedbackWindowController* form, const QString& email, const QString& text)
    {
        auto* emailField = named<QLineEdit>(form, "Email Address");
        auto* type = named<QComboBox>(form, "Feedback Type");
        auto* experience = named<QPlainTextEdit>(form, "Share your experience");
        auto* submit = named<QAbstractButton>(form, "Submit");
        ASSERT_TRUE(emailField && type && experience && submit);
        QTest::mouseClick(emailField, Qt::LeftButton);
        QTest::keyClicks(emailField, email);
        type->setFocus();
        QTest::keyClick(type, Qt::Key_Down); // "General Feedback"
        QTest::mouseClick(experience->viewport(), Qt::LeftButton);
        QTest::keyClicks(experience->viewport(), text);
        QTest::mouseClick(submit, Qt::LeftButton);
    }

    FeedbackValues values()
    {
        FeedbackValues v;
        v.appName = "Vantrel";
        v.email = "user@example.com";
        v.feedbackType = "General Feedback";
        v.content = "fine & dandy";
        return v;
    }

    LoopbackHttpServer server;
    ScopedEnv feedback { "VANTREL_FEEDBACK_URL", server.baseUrl() };
    OnlineServices services;
    QObject observer;
    int submitted = 0;
    bool subWindowOpenAtSubmit = true;
};

} // namespace

TEST_F(FeedbackUploadTest, OnlyAnAcceptedReplyCountsAsSubmitted)
{
    struct Case {
        const char* name;
        LoopbackHttpServer::Answer answer;
        bool refused;
        bool submitted;
    };
    const Case cases[] = {
        { "200", { 200, kAccepted, "text/xml" }, false, true },
        { "200 empty", { 200, "" }, false, true },
        { "500 fault", { 500, kFault, "text/xml" }, false, false },
        { "200 fault", { 200, kFault, "text/xml" }, false, false },
        { "404", { 404, "not here" }, false, false },
        { "refused", {}, true, false },
        { "timeout", { 200, "", "text/plain", true }, false, false },
    };
    for (const Case& c : cases) {
        submitted = 0;
        server.answer(kPath, c.answer);
        ScopedEnv url("VANTREL_FEEDBACK_URL",
            c.refused ? "http://127.0.0.1:" + QByteArray::number(refusedPort()) : server.baseUrl());
        services.setTransferTimeout(c.answer.hang ? 300 : 3000);
        QSignalSpy finished(&services, &OnlineServices::feedbackFinished);
        services.uploadFeedback(values(), "Vantrel-Feedback 20261207T0930 1.xml");
        ASSERT_TRUE(finished.wait(5000)) << c.name;
        EXPECT_EQ(finished.at(0).at(0).toBool(), c.submitted) << c.name;
        EXPECT_EQ(submitted, c.submitted ? 1 : 0) << c.name;
    }
    ASSERT_FALSE(server.requests().isEmpty());
    const RecordedRequest& request = server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, kPath);
    EXPECT_EQ(request.headers.value("content-type"), "text/xml; charset=utf-8");
    EXPECT_EQ(request.headers.value("soapaction"), "http://services.vantrel.org/feedback/UploadFeedback");
    EXPECT_EQ(request.headers.value("content-length").toInt(), request.body.size());
    EXPECT_EQ(request.body, FeedbackDocument::envelope(values(), "Vantrel-Feedback 20261207T0930 1.xml").toUtf8());
}

TEST_F(FeedbackUploadTest, NothingIsSentWhenTheServiceIsNotConfigured)
{
    qunsetenv("VANTREL_FEEDBACK_URL");
    QSignalSpy finished(&services, &OnlineServices::feedbackFinished);
    services.uploadFeedback(values(), "x.xml");
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    EXPECT_EQ(submitted, 0);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(FeedbackUploadTest, FormChecksConnectionAndFieldsThenSendsAndClosesOnceAccepted)
{
    QWidget mainWindow;
    mainWindow.resize(1000, 720);
    mainWindow.show();
    server.answer(kPath, { 200, kAccepted, "text/xml" });

    FeedbackWindowController* form = FeedbackWindowController::showFeedBackWindow(&mainWindow, &services);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(FeedbackWindowController::showFeedBackWindow(&mainWindow, &services), nullptr);
    EXPECT_NE(Sheet::activeSheet(&mainWindow), nullptr);
    EXPECT_EQ(form->btnFBType()->count(), 5);
    EXPECT_EQ(form->btnFBType()->itemText(0), "*Please Select Feedback Type");
    EXPECT_FALSE(form->btnFBSendScanLog()->isChecked());
    QSignalSpy finished(&services, &OnlineServices::feedbackFinished);

    // Offline: the alert, and the form stays.
    form->txtFBEmailID()->setText("  Someone@Example.ORG ");
    form->btnFBType()->setCurrentIndex(0);
    form->txtViewFBExp()->setPlainText("  It works %2 & <well>  ");
    AppDelegate::shareDelegate()->isInternetAvailable = false;
    form->submitFeedback();
    EXPECT_TRUE(form->isAlertShown());
    EXPECT_EQ(form->alertText(), "Internet Not Connected");
    EXPECT_TRUE(form->window()->isVisible());
    form->dismissAlert();
    EXPECT_FALSE(form->isAlertShown());

    // Online with the type on its placeholder: its error line, nothing sent.
    AppDelegate::shareDelegate()->isInternetAvailable = true;
    form->submitFeedback();
    EXPECT_EQ(form->txtFBEmailID()->text(), "someone@example.org");
    EXPECT_FALSE(form->lblFBInvalidEmail()->isVisibleTo(form->window()));
    EXPECT_TRUE(form->lblFBInvalidType()->isVisibleTo(form->window()));
    EXPECT_FALSE(form->lblFBInvalidExp()->isVisibleTo(form->window()));
    EXPECT_TRUE(form->window()->isVisible());
    EXPECT_EQ(finished.size(), 0);

    QTemporaryDir logs;
    const QString logPath = QDir(logs.path()).filePath("Vantrel.log");
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QDate::currentDate().toString("yyyy-MM-dd").toUtf8() + " started & <ok>\n");
    log.close();
    form->setLogFilePath(logPath);
    form->btnFBSendLogs()->setChecked(true);
    form->btnFBType()->setCurrentIndex(3);
    QPointer<FeedbackWindowController> guard(form);
    form->submitFeedback();
    EXPECT_TRUE(form->isSendingFB()); // the form waits for the service's answer
    EXPECT_NE(Sheet::activeSheet(&mainWindow), nullptr);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(Sheet::activeSheet(&mainWindow), nullptr);
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(submitted, 1);
    EXPECT_FALSE(subWindowOpenAtSubmit);
    ASSERT_EQ(server.requests().size(), 1);
    const QString body = QString::fromUtf8(server.requests().at(0).body);
    EXPECT_TRUE(body.contains("&lt;email&gt;someone@example.org&lt;/email&gt;"));
    EXPECT_TRUE(body.contains("&lt;feedback_type&gt;I want to report a problem&lt;/feedback_type&gt;"));
    EXPECT_TRUE(body.contains("&lt;content&gt;It works %2 &amp;amp; (lessthan)well&gt;&lt;/content&gt;"));
    EXPECT_TRUE(body.contains(" started &amp;amp; (lessthan)ok&gt;\n&lt;/logs_Data&gt;"));
    EXPECT_TRUE(body.contains("&lt;logs_Data_Scan&gt;SCAN_LOGSNOTSELECTED&lt;/logs_Data_Scan&gt;"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 2000));
}

TEST_F(FeedbackUploadTest, CancelSendsNothingAndClearsTheFlag)
{
    QWidget mainWindow;
    mainWindow.resize(1000, 720);
    mainWindow.show();
    AppDelegate::shareDelegate()->isInternetAvailable = true;
    QSignalSpy finished(&services, &OnlineServices::feedbackFinished);
    FeedbackWindowController* form = FeedbackWindowController::showFeedBackWindow(&mainWindow, &services);
    ASSERT_NE(form, nullptr);
    form->txtFBEmailID()->setText("a@b.org");
    form->btnFBType()->setCurrentIndex(1);
    form->txtViewFBExp()->setPlainText("text");
    form->cancelFeedbackSheet();
    EXPECT_EQ(Sheet::activeSheet(&mainWindow), nullptr);
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(finished.size(), 0);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(FeedbackUploadTest, AnUploadThatDoesNotGoThroughKeepsTheFormAndItsText)
{
    QWidget mainWindow;
    mainWindow.resize(1000, 720);
    mainWindow.show();
    AppDelegate::shareDelegate()->isInternetAvailable = true;
    const struct {
        const char* name;
        QByteArray url; // null: the service is not configured
        LoopbackHttpServer::Answer answer;
    } cases[] = {
        { "500", server.baseUrl(), { 500, "broken", "text/plain" } },
        { "fault", server.baseUrl(), { 200, kFault, "text/xml" } },
        { "refused", "http://127.0.0.1:" + QByteArray::number(refusedPort()), {} },
        { "not configured", QByteArray(), {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.answer(kPath, c.answer);
        ScopedEnv url("VANTREL_FEEDBACK_URL", c.url);
        QSignalSpy finished(&services, &OnlineServices::feedbackFinished);
        FeedbackWindowController* form = FeedbackWindowController::showFeedBackWindow(&mainWindow, &services);
        ASSERT_NE(form, nullptr);
        typeAndSubmit(form, "someone@example.org", "The resize step keeps my text");
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_FALSE(finished.at(0).at(0).toBool());
        EXPECT_EQ(submitted, 0);

        // Still open, everything typed still there, and the form says the feedback did not go.
        ASSERT_NE(Sheet::activeSheet(&mainWindow), nullptr);
        EXPECT_TRUE(form->window()->isVisible());
        EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
        EXPECT_EQ(named<QLineEdit>(form, "Email Address")->text(), "someone@example.org");
        EXPECT_EQ(named<QComboBox>(form, "Feedback Type")->currentText(), "General Feedback");
        EXPECT_EQ(named<QPlainTextEdit>(form, "Share your experience")->toPlainText(), "The resize step keeps my text");
        EXPECT_TRUE(form->isAlertShown());
        EXPECT_EQ(form->alertText(), FeedbackWindowController::kNotSentMessage);
        EXPECT_TRUE(named<QAbstractButton>(form, "Submit")->isEnabled());

        // OK leaves the form as it was, ready to try again; Cancel then closes it.
        QTest::mouseClick(named<QAbstractButton>(form, "OK"), Qt::LeftButton);
        EXPECT_FALSE(form->isAlertShown());
        EXPECT_NE(Sheet::activeSheet(&mainWindow), nullptr);
        QTest::mouseClick(named<QAbstractButton>(form, "Cancel"), Qt::LeftButton);
        EXPECT_EQ(Sheet::activeSheet(&mainWindow), nullptr);
        EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    }
    EXPECT_EQ(server.requests().size(), 2); // the 500 and the fault; nothing else went out
}

TEST_F(FeedbackUploadTest, WithoutANetworkInformationBackendTheFeedbackStillGoesOut)
{
    QWidget mainWindow;
    mainWindow.resize(1000, 720);
    mainWindow.show();
    server.answer(kPath, { 200, kAccepted, "text/xml" });
    // No backend can tell whether the internet is there: nobody claims it is not.
    services.registerReachability(std::make_unique<NetworkInformationSource>(QStringList()));
    EXPECT_FALSE(services.internetReachability()->isStatusKnown());
    EXPECT_TRUE(AppDelegate::shareDelegate()->isInternetAvailable);

    QSignalSpy finished(&services, &OnlineServices::feedbackFinished);
    FeedbackWindowController* form = FeedbackWindowController::showFeedBackWindow(&mainWindow, &services);
    ASSERT_NE(form, nullptr);
    typeAndSubmit(form, "someone@example.org", "sent from a machine without a network manager");
    EXPECT_FALSE(form->isAlertShown()); // no "Internet Not Connected"
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_EQ(submitted, 1);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests().at(0).body.contains("sent from a machine without a network manager"));
    EXPECT_EQ(Sheet::activeSheet(&mainWindow), nullptr);
}

TEST_F(FeedbackUploadTest, TheLogReportModeSendsTheLogWhateverTheBoxesSay)
{
    QWidget mainWindow;
    mainWindow.resize(1000, 720);
    mainWindow.show();
    FeedbackWindowController* form = FeedbackWindowController::showFeedBackWindow(&mainWindow, &services);
    ASSERT_NE(form, nullptr);
    QTemporaryDir logs;
    const QString logPath = QDir(logs.path()).filePath("Vantrel.log");
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QDate::currentDate().toString("yyyy-MM-dd").toUtf8() + " run ended\n");
    log.close();
    form->setLogFilePath(logPath);
    form->txtFBEmailID()->setText("field@example.org");
    form->btnFBType()->setCurrentIndex(1);
    form->txtViewFBExp()->setPlainText("typed text");

    const struct {
        bool isFeedback;
        bool logsBox;
        bool usageBox;
        const char* emailID;
        QStringList present;
    } cases[] = {
        { false, false, true, "",
            { "&lt;email&gt;field@example.org&lt;", "&lt;feedback_type&gt;Sending logs&lt;",
                "&lt;content&gt;Sending logs&lt;", " run ended\n&lt;/logs_Data&gt;",
                "&lt;logs_Data_Scan&gt;SCAN_LOGSNOTSELECTED&lt;" } },
        { false, false, false, "given@example.org", { "&lt;email&gt;given@example.org&lt;" } },
        { true, false, false, "given@example.org",
            { "&lt;email&gt;given@example.org&lt;", "&lt;content&gt;typed text&lt;",
                "&lt;logs_Data&gt;LOGSNOTSELECTED&lt;" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.isFeedback << c.emailID);
        form->btnFBSendLogs()->setChecked(c.logsBox);
        form->btnFBSendScanLog()->setChecked(c.usageBox);
        const QString soap = form->prepareSoapMsg(c.isFeedback, c.emailID);
        EXPECT_TRUE(soap.startsWith("<soap:Envelope"));
        for (const QString& part : c.present)
            EXPECT_TRUE(soap.contains(part)) << part.toStdString();
    }
    EXPECT_EQ(server.requests().size(), 0); // preparing sends nothing

    form->displayAlertWithMessageText("Logs are on their way");
    EXPECT_TRUE(form->isAlertShown());
    EXPECT_EQ(form->alertText(), "Logs are on their way");
    auto* ok = named<QAbstractButton>(form, "OK");
    ASSERT_TRUE(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(form->isAlertShown());
    form->cancelFeedbackSheet();
}
