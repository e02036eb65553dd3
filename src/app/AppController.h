#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "core/DataBeans/SizeObject.h"

namespace vantrel {

/// What the start-up and quit rules need from the main window's side (the main window
/// controller in the application; a fake in tests).
class MainWindowSide {
public:
    virtual ~MainWindowSide() = default;
    /// Shows the main window and brings it to the front.
    virtual void showMainWindow() = 0;
    /// The main screen's answer: are the current options different from the defaults?
    virtual bool ischangesMadeInSettings() = 0;
    /// Opens the save-session sheet; the sub-window flag is set once it shows (it may wait for
    /// the rating sheet to close).
    virtual void showSaveSessionWindow() = 0;
    /// True from a run's start until its summary and log rows are written.
    virtual bool isRunActive() = 0;
    /// Stops the active run: it shows its summary at once, writes its log rows and posts
    /// "notificationsProcessFinished".
    virtual void stopRun() = 0;
    /// Calls `done` once no thread of a run is left: photos a stopped run was still reading or
    /// writing are let go of (their results dropped). At once when none is.
    virtual void whenRunThreadsDone(std::function<void()> done) = 0;
};

/// The application's start-up, quit rules and menu actions, without widgets. One instance for
/// the process (shared()); main thread only.
///
/// Start-up runs launchSteps() in their fixed order. Every quit request (the menu, Ctrl+Q, the
/// title bar's close button, the window manager's close, the session manager) goes through
/// applicationShouldTerminate(); when the answer is to quit while a run is active, the run is
/// stopped and the process exits once its summary and log rows exist. A quit waits for the run's
/// threads only a bounded time (kRunThreadsWaitMs): a photo whose source stopped answering never
/// holds the process, which then leaves without joining them (see main).
class AppController : public QObject {
    Q_OBJECT
public:
    enum class TerminateReply { Now, Cancel };
    enum class SaveSessionAnswer { Save, DontSave, Cancel };

    /// The outside world, replaceable in tests. Unset members do nothing.
    struct Hooks {
        std::function<std::unique_ptr<MainWindowSide>(AppController*)> makeMainWindow;
        std::function<void()> applyLook; ///< the application's own look (launch step 1)
        std::function<bool(const QUrl&)> openUrl; ///< the default browser; false when it failed
        std::function<void()> exitApplication; ///< leaves the main loop
        std::function<void()> registerReachability; ///< the reachability monitor (online services)
        std::function<void()> registerFroTracking; ///< the install registration (online services)
        std::function<void(int tag)> crossPromotion; ///< a cross-promotion menu item (tag 1 or 2)
        std::function<QStringList()> crossPromotionTitles; ///< the two items' titles, in tag order
        std::function<QString()> osVersion; ///< the system's version as "major.minor"
        /// Runs its argument when a quit has waited long enough for a run's threads (a timer of
        /// kRunThreadsWaitMs when unset); tests run it when they choose.
        std::function<void(std::function<void()>)> runThreadsWaitLimit;
    };

    /// How long a quit waits for a run's threads to let go of their photos.
    static constexpr int kRunThreadsWaitMs = 3000;

    struct LaunchStep {
        QString name;
        std::function<void()> run;
    };

    explicit AppController(Hooks hooks, QObject* parent = nullptr);
    ~AppController() override;

    /// The controller of the process; nullptr before one exists.
    static AppController* shared();

    // --- Start-up ------------------------------------------------------------------------------
    /// The launch, in order: look, run state, first-launch presets, log database, language
    /// table, batch, main window, reachability, support-number default, tracking, system flags.
    QList<LaunchStep> launchSteps();
    void applicationDidFinishLaunching();
    /// The eight device size presets stored at first launch, in their order.
    static QList<SizeObject> predefinedSizePresets();
    /// Stores a session holding only those presets under "PROJECT_SESSION".
    static void addPredifinedSizePresets();
    /// The two system flags for a "major.minor" text: exactly "10.15" sets the first, exactly
    /// "10.16" the second.
    static std::pair<bool, bool> osFlagsFor(const QString& version);
    void getOsVersion();
    void openMainWindow();
    MainWindowSide* mainWindow() const { return m_mainWindow.get(); }

    // --- Quit ----------------------------------------------------------------------------------
    TerminateReply applicationShouldTerminate();
    /// A quit request: asks the rules and quits when they agree.
    void terminate();
    /// Quits now: during an active run, once the run has stopped and its log rows are written;
    /// then once the run's threads are done, or when the wait for them runs out.
    void terminateNow();
    /// The save-session sheet's answer (the sheet itself is the main window's).
    void saveSessionAnswered(SaveSessionAnswer answer, const std::function<void()>& saveSession);
    bool isTerminating() const { return m_terminating; }

    // --- Menu ----------------------------------------------------------------------------------
    void quitFromMenuTapped();
    void btnFeedbackTapped();
    void btnHelpTapped();
    void showTips();
    void btnRateOnAppstoreTapped();
    void btnKorvingAppcenterTapped(int tag);
    /// Help and rating lead somewhere only when the content server is configured.
    static bool isHelpAvailable();
    static bool isRateAvailable();
    /// The feedback form can send only when the feedback service is configured.
    static bool isFeedbackAvailable();
    bool isCrossPromotionAvailable() const { return bool(m_hooks.crossPromotion); }
    /// Opens the review page; true (and "appVersion" stored) only when it opened.
    bool openReviewPage();

    Hooks& hooks() { return m_hooks; }

private:
    /// Leaves the main loop once the run's threads are done or the wait for them is over.
    void exitWhenRunThreadsDone();

    Hooks m_hooks;
    std::unique_ptr<MainWindowSide> m_mainWindow;
    bool m_terminating = false;
};

} // namespace vantrel
