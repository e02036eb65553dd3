#include "app/AppController.h"

#include <cstdio>
#include <memory>

#include <QTimer>
#include <QVersionNumber>

#include "app/AppInfo.h"
#include "app/SupportNumber.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/ProjectSession.h"
#include "core/DbManager/DBManager.h"
#include "core/Helper/CommonFunc.h"
#include "core/WebServices.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

namespace {

AppController* g_shared = nullptr;

struct Preset {
    const char* name;
    int width;
    int height;
};

constexpr Preset kPresets[] = {
    { "iPhone 4", 640, 960 },
    { "iPhone 5/5s", 640, 1136 },
    { "iPhone 6/7", 750, 1334 },
    { "iPhone 6/7 Plus", 1242, 2208 },
    { "iPad Mini/Air", 1536, 2048 },
    { "iPad Pro", 2048, 2732 },
    { "Apple Watch 38mm", 272, 340 },
    { "Apple Watch 42mm", 312, 390 },
};

} // namespace

AppController::AppController(Hooks hooks, QObject* parent)
    : QObject(parent)
    , m_hooks(std::move(hooks))
{
    g_shared = this;
}

AppController::~AppController()
{
    if (g_shared == this)
        g_shared = nullptr;
}

AppController* AppController::shared()
{
    return g_shared;
}

// --- Start-up --------------------------------------------------------------------------------

QList<AppController::LaunchStep> AppController::launchSteps()
{
    auto* delegate = AppDelegate::shareDelegate();
    return {
        { QStringLiteral("look"),
            [this] {
                if (m_hooks.applyLook)
                    m_hooks.applyLook();
            } },
        { QStringLiteral("runState"),
            [delegate] {
                delegate->setRawConvertFormat(QStringLiteral("png"));
                delegate->isSaveSessionShown = false;
            } },
        { QStringLiteral("firstLaunch"),
            [] {
                Defaults& defaults = Defaults::standard();
                if (defaults.contains(kDefaultsIsFirstTime))
                    return;
                addPredifinedSizePresets();
                defaults.setObject(kDefaultsIsFirstTime, QStringLiteral("yes"));
            } },
        { QStringLiteral("database"), [delegate] { delegate->dbManager = std::make_shared<DBManager>(); } },
        { QStringLiteral("languageTable"), [] { CommonFunc::loadLanguageDict(); } },
        { QStringLiteral("batch"), [delegate] { delegate->arraySelectedImagesToProcess.clear(); } },
        { QStringLiteral("mainWindow"), [this] { openMainWindow(); } },
        { QStringLiteral("reachability"),
            [this] {
                if (m_hooks.registerReachability)
                    m_hooks.registerReachability();
            } },
        { QStringLiteral("supportNumber"), [] { SupportNumber::registerDefault(); } },
        { QStringLiteral("tracking"),
            [this] {
                if (m_hooks.registerFroTracking)
                    m_hooks.registerFroTracking();
            } },
        { QStringLiteral("osVersion"), [this] { getOsVersion(); } },
    };
}

void AppController::applicationDidFinishLaunching()
{
    for (const LaunchStep& step : launchSteps())
        step.run();
}

QList<SizeObject> AppController::predefinedSizePresets()
{
    QList<SizeObject> presets;
    for (const Preset& p : kPresets) {
        SizeObject size;
        size.name = QString::fromLatin1(p.name);
        size.customWidth = p.width;
        size.customHeight = p.height;
        size.isCustomSize = true;
        presets.append(size);
    }
    return presets;
}

void AppController::addPredifinedSizePresets()
{
    ProjectSession session;
    session.arrayPredefinedSize = predefinedSizePresets();
    Defaults::standard().setObject(kDefaultsProjectSession, KeyedArchiver::archivedDataWithRootObject(session));
}

std::pair<bool, bool> AppController::osFlagsFor(const QString& version)
{
    if (version == QLatin1String("10.15"))
        return { true, false };
    if (version == QLatin1String("10.16"))
        return { false, true };
    return { false, false };
}

void AppController::getOsVersion()
{
    QString version;
    if (m_hooks.osVersion) {
        version = m_hooks.osVersion();
    } else {
        const QVersionNumber number = QVersionNumber::fromString(QSysInfo::productVersion());
        version = QStringLiteral("%1.%2").arg(number.majorVersion()).arg(number.minorVersion());
    }
    const auto [is15, is16] = osFlagsFor(version);
    AppDelegate::shareDelegate()->isOSX_15_AndAbove = is15;
    AppDelegate::shareDelegate()->isOSX_16_AndAbove = is16;
}

void AppController::openMainWindow()
{
    if (!m_mainWindow && m_hooks.makeMainWindow)
        m_mainWindow = m_hooks.makeMainWindow(this);
    if (m_mainWindow)
        m_mainWindow->showMainWindow();
}

// --- Quit ------------------------------------------------------------------------------------

AppController::TerminateReply AppController::applicationShouldTerminate()
{
    auto* delegate = AppDelegate::shareDelegate();
    if (delegate->isSubWindowOpened)
        return TerminateReply::Now;
    if (delegate->isProcessingInProgress) {
        // The stop-process question puts the run on hold; its answer decides.
        NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 122 } });
        return TerminateReply::Cancel;
    }
    if (!delegate->arraySelectedImagesToProcess.isEmpty() && m_mainWindow && m_mainWindow->ischangesMadeInSettings()) {
        if (delegate->isSaveSessionShown)
            return TerminateReply::Now;
        m_mainWindow->showSaveSessionWindow();
        return TerminateReply::Cancel;
    }
    return TerminateReply::Now;
}

void AppController::terminate()
{
    if (m_terminating)
        return;
    if (applicationShouldTerminate() == TerminateReply::Now)
        terminateNow();
}

void AppController::terminateNow()
{
    if (m_terminating)
        return;
    m_terminating = true;
    if (m_mainWindow && m_mainWindow->isRunActive()) {
        // The run stops (its summary comes at once), writes its log rows (or keeps them for the
        // next run when the database does not answer in time), and only then does the process leave.
        std::fprintf(stderr, "Quit: stopping the run\n");
        NotificationCenter::defaultCenter().addObserver(
            this, kNotificationsProcessFinished, [this](const Notification&) {
                NotificationCenter::defaultCenter().removeObserver(this, kNotificationsProcessFinished);
                exitWhenRunThreadsDone();
            });
        m_mainWindow->stopRun();
        return;
    }
    exitWhenRunThreadsDone();
}

void AppController::exitWhenRunThreadsDone()
{
    // Whichever comes first: the threads let go of their photos (a write cut off by the stop takes
    // its temporary away), or the wait runs out (a read that never returns).
    auto exited = std::make_shared<bool>(false);
    const auto exit = [this, exited](bool threadsDone) {
        if (*exited)
            return;
        *exited = true;
        if (!threadsDone)
            std::fprintf(stderr, "Quit: a photo of the run is still being read or written; leaving it\n");
        if (m_hooks.exitApplication)
            m_hooks.exitApplication();
    };
    if (m_mainWindow)
        m_mainWindow->whenRunThreadsDone([exit] { exit(true); });
    else
        exit(true); // no window, no run
    if (*exited)
        return;
    if (m_hooks.runThreadsWaitLimit)
        m_hooks.runThreadsWaitLimit([exit] { exit(false); });
    else
        QTimer::singleShot(kRunThreadsWaitMs, this, [exit] { exit(false); });
}

void AppController::saveSessionAnswered(SaveSessionAnswer answer, const std::function<void()>& saveSession)
{
    auto* delegate = AppDelegate::shareDelegate();
    switch (answer) {
    case SaveSessionAnswer::Save:
        delegate->isSaveSessionShown = true;
        delegate->isSubWindowOpened = false;
        if (saveSession)
            saveSession();
        terminate();
        break;
    case SaveSessionAnswer::DontSave:
        delegate->isSaveSessionShown = true;
        Defaults::standard().removeObjectForKey(kDefaultsSavedProjectSession);
        delegate->isSubWindowOpened = false;
        terminateNow();
        break;
    case SaveSessionAnswer::Cancel:
        delegate->isSubWindowOpened = false;
        break;
    }
}

// --- Menu ------------------------------------------------------------------------------------

void AppController::quitFromMenuTapped()
{
    terminate();
}

void AppController::btnFeedbackTapped()
{
    if (!AppDelegate::shareDelegate()->isSubWindowOpened)
        NotificationCenter::defaultCenter().post(kNotificationShowFeedback);
}

bool AppController::isHelpAvailable()
{
    return WebServices::supportPageUrl().isValid();
}

bool AppController::isRateAvailable()
{
    return WebServices::reviewPageUrl().isValid();
}

bool AppController::isFeedbackAvailable()
{
    return WebServices::isEnabled(WebServices::Service::Feedback);
}

void AppController::btnHelpTapped()
{
    const QUrl url = WebServices::supportPageUrl();
    if (!url.isValid()) {
        WebServices::logDisabled(WebServices::Service::Content, QStringLiteral("btnHelpTapped"));
        return;
    }
    if (m_hooks.openUrl)
        m_hooks.openUrl(url);
}

void AppController::showTips()
{
    NotificationCenter::defaultCenter().post(kNotificationShowTips);
}

bool AppController::openReviewPage()
{
    const QUrl url = WebServices::reviewPageUrl();
    if (!url.isValid()) {
        WebServices::logDisabled(WebServices::Service::Content, QStringLiteral("openReviewPage"));
        return false;
    }
    if (!m_hooks.openUrl || !m_hooks.openUrl(url))
        return false;
    Defaults::standard().setObject(kDefaultsAppVersion, AppInfo::bundleVersion(), false);
    return true;
}

void AppController::btnRateOnAppstoreTapped()
{
    openReviewPage();
}

void AppController::btnKorvingAppcenterTapped(int tag)
{
    if ((tag == 1 || tag == 2) && m_hooks.crossPromotion)
        m_hooks.crossPromotion(tag);
}

} // namespace vantrel
