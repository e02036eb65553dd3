#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRect>

#include "app/AppController.h"
#include "components/MouseDownViewDelegate.h"
#include "core/DataBeans/PhotoFile.h"

class QAction;
class QTimer;
class QWidget;

namespace vantrel {

class MainScreenInterface;
class MainTitleBarView;
class MessageSheetPanel;
class OvAppStoreWindow;
class Sheet;
struct Notification;

/// The main window: a frameless 1200 x 800 title-bar window holding the step tabs, the window
/// buttons and the menu in its 160-point bar, and the main screen below. It turns the wizard's
/// notifications into tab moves, enables and disables the wizard, asks for a rating after runs,
/// offers the last session at launch and asks to save the session at quit. Main thread only.
class MainWindowController : public QObject, public MainWindowSide, public MouseDownViewDelegate {
    Q_OBJECT
public:
    using Delay = std::function<void(int milliseconds, std::function<void()> fn)>;
    using MainScreenFactory = std::function<std::unique_ptr<MainScreenInterface>()>;
    /// Opens the feedback form as a sheet on the window (wired by the online services).
    using FeedbackOpener = std::function<void(QWidget* window)>;

    static constexpr int kWindowWidth = 1200;
    static constexpr int kWindowHeight = 800;
    static constexpr int kTitleBarHeight = 160;

    /// `delay` replaces the timer behind the short waits of the start-up (tests run them at once).
    MainWindowController(
        AppController* app, MainScreenFactory makeMainScreen, Delay delay = {}, QObject* parent = nullptr);

    /// The window's first frame: 1200 x 800 centred in the screen's available area (smaller
    /// when the screen is).
    static QRect initialFrame(const QRect& available);
    ~MainWindowController() override;

    void setFeedbackOpener(FeedbackOpener opener);

    OvAppStoreWindow* windowMain() const { return m_window; }
    MainTitleBarView* titleBar() const { return m_titleBar; }
    MainScreenInterface* mainScreen() const { return m_mainScreen.get(); }
    QWidget* loadingOverlay() const { return m_vwLoading; }

    // --- MainWindowSide ------------------------------------------------------------------------
    void showMainWindow() override;
    bool ischangesMadeInSettings() override;
    void showSaveSessionWindow() override;
    bool isRunActive() override;
    void stopRun() override;
    void whenRunThreadsDone(std::function<void()> done) override;

    // --- Start-up ------------------------------------------------------------------------------
    void awakeFromNib();
    void checkForLastSession();
    void showLoadLastSessionWindow();
    void btnLoadLastSessionTapped();
    void btnStartNewSessionTapped();
    /// Closes the tips window; from the notification it only brings the main window to the front,
    /// at start-up it also offers the last session.
    void elementClicked();
    void showTipsNotification();
    /// The tips page has no content here (no web view): shows nothing.
    void showTipsScreen();
    /// Centres the tips window over the main window.
    void setTipsWinFrame();
    QWidget* winTips() const { return m_winTips; }
    bool isTipsFromNotfication() const { return m_isTipsFromNotfication; }

    // --- Tabs ----------------------------------------------------------------------------------
    void tabSelectPhotosTapped();
    void tabResizeOptionsTapped();
    void tabSettingOptionsTapped();
    void btnSelectBackground(int tab);
    void changeTabNotification(const Notification& notification);
    static QList<PhotoFilePtr> getSelectedPhotoFiles();

    // --- Window buttons and moving --------------------------------------------------------------
    void btnCloseWindowTapped();
    void btnMinimizeWindowTapped();
    void btnZoomWindowTapped();
    void mouseDown(QPointF inWindow);
    void mouseDragged(QPointF onScreen);
    /// The title bar's background view reports here: a press keeps its place in the window, a
    /// drag moves the window.
    void mouseDown(QMouseEvent* event, MouseDownView* view) override;
    void mouseDragged(QMouseEvent* event, MouseDownView* view) override;
    /// Whoever moved the window (the title-bar drag, the window manager, a keyboard move), its
    /// top never stays above the top of the screen: the title bar, the menu and the window
    /// buttons stay in reach. Not in full screen or maximised.
    void windowDidMove();
    void disableView();
    void enableView();
    void disableCross();
    void enableCross();
    void makeMainWindowFront();

    // --- Rating, saving, feedback, support number -------------------------------------------------
    /// The rating counter: absent starts at 7; 7 shows the prompt (and becomes 1); otherwise +1.
    /// True when the prompt is to show now.
    static bool advanceRateMeCounter();
    void showAlertForRateApp();
    void btnYesOnRateUsTapped();
    void btnNoOnRateUsTapped();
    void btnSaveSessionTapped();
    void btnCloseOnSessionWindowTapped();
    void btnCancelOnSessionWindowTapped();
    void showFeedBackWindow();
    void updatePhoneNumber(const Notification& notification);
    void updatePhoneNumber_MainThread(const QString& number);

    // --- Windows that no operation opens (kept with their actions) -------------------------------
    /// The add-photos sheet: translucent, with buttons for files, folders and photo libraries.
    void showAddPhotosWindow();
    void btnAddPhotosTapped();
    void btnAddFoldersTapped();
    void btnAddiPhotosTapped();
    void btnCloseAddPhotoWinTapped();
    void showExifEditorWindow();
    /// Dropped files reach the add-photos screen directly; this handler has no effect and no caller.
    void handleFileDragDropNotification() { }
    /// The message sheet that says the feedback was sent.
    void feedbackSubmittedSuccessfully();
    /// The close-confirmation sheet: Yes asks to quit, No only ends the sheet.
    void showCloseConfirmation();

    /// The sheet panels, for tests and screenshots.
    MessageSheetPanel* rateSheet() const { return m_winRateus; }
    MessageSheetPanel* loadLastSessionSheet() const { return m_windowLoadLastSession; }
    MessageSheetPanel* saveSessionSheet() const { return m_windowSaveSession; }
    QAction* action(const QString& name) const;
    bool isFullscreenEnable() const { return m_isFullscreenEnable; }
    /// Sheets waiting for the rating sheet to close.
    int waitingSheetCount() const { return int(m_waitingSheets.size()); }

private:
    void initSetup();
    void setupTitleBarViewForWindow();
    void setupViewInitialSize();
    void clampWindowTop(bool againOnceSettled);
    void buildMenu();
    void updateFeedbackItem();
    void buildSheets();
    /// Begins a sheet on the main window, or, while the rating sheet is up, once it has closed.
    void beginSheet(QWidget* content, std::function<void()> opened = {});
    void endSheet(QWidget* content);
    void sheetClosed();
    void buildNeverOpenedWindows();
    void buildTipsWindow();
    /// Opens a file panel without waiting; the chosen paths go to the add-photos screen.
    void openAddPanel(const QString& prompt, bool folders);

    AppController* m_app;
    std::unique_ptr<MainScreenInterface> m_mainScreen;
    OvAppStoreWindow* m_window = nullptr;
    MainTitleBarView* m_titleBar = nullptr;
    QWidget* m_vwLoading = nullptr;
    MessageSheetPanel* m_winRateus = nullptr;
    MessageSheetPanel* m_windowLoadLastSession = nullptr;
    MessageSheetPanel* m_windowSaveSession = nullptr;
    QWidget* m_winAddPhotos = nullptr;
    QWidget* m_winTips = nullptr;
    MessageSheetPanel* m_alertWindow = nullptr;
    MessageSheetPanel* m_alertCloseApp = nullptr;
    QList<QAction*> m_actions;
    QTimer* m_endResizeTimer = nullptr;
    Delay m_delay;
    FeedbackOpener m_feedbackOpener;

    bool m_isFullscreenEnable = false;
    bool m_isTipsFromNotfication = false;
    bool m_systemMove = false;
    bool m_rateSheetUp = false;
    QPointF m_initialLocation;
    QList<std::pair<QPointer<QWidget>, std::function<void()>>> m_waitingSheets;
};

} // namespace vantrel
