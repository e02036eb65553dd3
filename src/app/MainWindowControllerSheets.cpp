// The main window's sheets: the rating prompt, the last-session offer, the save-session question,
// the feedback form and the support number, and the rule that no sheet opens over the rating sheet.
#include "app/MainWindowController.h"

#include <cstdio>

#include <QLabel>
#include <QPushButton>

#include "app/MainScreenInterface.h"
#include "app/MainTitleBarView.h"
#include "app/MessageSheetPanel.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/Defaults.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

void MainWindowController::buildSheets()
{
    m_winRateus = new MessageSheetPanel(QStringLiteral("Enjoying Vantrel?"),
        QStringLiteral("If Vantrel saves you time, would you rate it? It takes less than a minute and helps a lot."),
        { QStringLiteral("Rate Vantrel"), QStringLiteral("No, Thanks") }, QStringLiteral("Rate Vantrel"), m_window);
    connect(m_winRateus->button(0), &QPushButton::clicked, this, &MainWindowController::btnYesOnRateUsTapped);
    connect(m_winRateus->button(1), &QPushButton::clicked, this, &MainWindowController::btnNoOnRateUsTapped);

    m_windowLoadLastSession = new MessageSheetPanel(QStringLiteral("Load your last session?"),
        QStringLiteral("The resize and output settings of your last session were saved. Load them, or start a new "
                       "session with the default settings?"),
        { QStringLiteral("Load Last Session"), QStringLiteral("Start New Session") }, QStringLiteral("Last session"),
        m_window);
    connect(m_windowLoadLastSession->button(0), &QPushButton::clicked, this,
        &MainWindowController::btnLoadLastSessionTapped);
    connect(m_windowLoadLastSession->button(1), &QPushButton::clicked, this,
        &MainWindowController::btnStartNewSessionTapped);

    m_windowSaveSession = new MessageSheetPanel(QStringLiteral("Save this session?"),
        QStringLiteral("Save the current resize and output settings, so that they can be loaded the next time Vantrel "
                       "starts?"),
        { QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel") },
        QStringLiteral("Save session"), m_window);
    connect(m_windowSaveSession->button(0), &QPushButton::clicked, this, &MainWindowController::btnSaveSessionTapped);
    connect(m_windowSaveSession->button(1), &QPushButton::clicked, this,
        &MainWindowController::btnCloseOnSessionWindowTapped);
    connect(m_windowSaveSession->button(2), &QPushButton::clicked, this,
        &MainWindowController::btnCancelOnSessionWindowTapped);
    // Escape keeps the application running, and declines the rating. It does nothing on the
    // last-session offer, whose other answer discards the saved session.
    Sheet::setCancelButton(m_windowSaveSession->button(2));
    Sheet::setCancelButton(m_winRateus->button(1));

    buildNeverOpenedWindows();
    for (QWidget* panel : { static_cast<QWidget*>(m_winRateus), static_cast<QWidget*>(m_windowLoadLastSession),
             static_cast<QWidget*>(m_windowSaveSession) })
        panel->hide();
}

void MainWindowController::checkForLastSession()
{
    if (!Defaults::standard().contains(kDefaultsSavedProjectSession))
        return;
    m_delay(400, [this] { showLoadLastSessionWindow(); });
}

void MainWindowController::showLoadLastSessionWindow()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    beginSheet(m_windowLoadLastSession);
}

void MainWindowController::btnLoadLastSessionTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    endSheet(m_windowLoadLastSession);
    m_mainScreen->loadLastSessionSettings();
}

void MainWindowController::btnStartNewSessionTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    endSheet(m_windowLoadLastSession);
    Defaults::standard().removeObjectForKey(kDefaultsSavedProjectSession);
}

// --- Rating, saving, feedback, support number ----------------------------------------------------

bool MainWindowController::advanceRateMeCounter()
{
    Defaults& defaults = Defaults::standard();
    if (!defaults.contains(kDefaultsRateMeCount))
        defaults.setObject(kDefaultsRateMeCount, 7);
    const qint64 count = defaults.integerForKey(kDefaultsRateMeCount);
    if (count == 7) {
        defaults.setObject(kDefaultsRateMeCount, 1);
        return true;
    }
    defaults.setObject(kDefaultsRateMeCount, count + 1);
    return false;
}

void MainWindowController::showAlertForRateApp()
{
    // Without a review page every answer would lead nowhere: no prompt, no count.
    if (!AppController::isRateAvailable())
        return;
    if (!advanceRateMeCounter())
        return;
    auto* delegate = AppDelegate::shareDelegate();
    delegate->isSubWindowOpened = true;
    beginSheet(m_winRateus);
    delegate->isSubWindowOpened = false;
}

// The rating's mark is cleared before its sheet ends: ending it shows a question that waited for
// it, and that question's own mark must outlast the rating's.
void MainWindowController::btnYesOnRateUsTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    endSheet(m_winRateus);
    m_app->openReviewPage();
}

void MainWindowController::btnNoOnRateUsTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    endSheet(m_winRateus);
}

void MainWindowController::showSaveSessionWindow()
{
    // The window is held from when the question shows, not while it waits behind the rating
    // sheet: until then a quit must ask again (and find it waiting) rather than go through unseen.
    beginSheet(m_windowSaveSession, [] { AppDelegate::shareDelegate()->isSubWindowOpened = true; });
}

void MainWindowController::btnSaveSessionTapped()
{
    endSheet(m_windowSaveSession);
    m_app->saveSessionAnswered(
        AppController::SaveSessionAnswer::Save, [this] { m_mainScreen->saveProjectSessionToDefault(); });
}

void MainWindowController::btnCloseOnSessionWindowTapped()
{
    endSheet(m_windowSaveSession);
    m_app->saveSessionAnswered(AppController::SaveSessionAnswer::DontSave, {});
}

void MainWindowController::btnCancelOnSessionWindowTapped()
{
    endSheet(m_windowSaveSession);
    m_app->saveSessionAnswered(AppController::SaveSessionAnswer::Cancel, {});
}

void MainWindowController::showFeedBackWindow()
{
    if (!m_feedbackOpener) {
        std::fprintf(stderr, "showFeedBackWindow: no feedback form in this build\n");
        return;
    }
    m_feedbackOpener(m_window);
}

void MainWindowController::updatePhoneNumber(const Notification& notification)
{
    const QString number = notification.object.toString();
    runOnMainThreadAsync([self = QPointer<MainWindowController>(this), number] {
        if (self)
            self->updatePhoneNumber_MainThread(number);
    });
}

void MainWindowController::updatePhoneNumber_MainThread(const QString& number)
{
    m_titleBar->lblContactNumber->setText(number);
    if (number.isEmpty()) {
        m_titleBar->viewContactSupport->hide();
        m_titleBar->lblContactNumber->clear();
        m_titleBar->lblContactNumber->hide();
    }
}

// --- Sheets ----------------------------------------------------------------------------------

void MainWindowController::beginSheet(QWidget* content, std::function<void()> opened)
{
    // A question already up or waiting is not asked a second time (a repeated quit).
    for (const auto& waiting : std::as_const(m_waitingSheets)) {
        if (waiting.first == content)
            return;
    }
    if (Sheet* up = Sheet::activeSheet(m_window); up && up->content() == content)
        return;
    // Two sheets never stack: while the rating sheet is up, a sheet waits for it to close.
    if (m_rateSheetUp && content != m_winRateus) {
        m_waitingSheets.append({ content, std::move(opened) });
        return;
    }
    if (content == m_winRateus)
        m_rateSheetUp = true;
    Sheet::beginSheet(m_window, content, [this](int) { sheetClosed(); });
    if (opened)
        opened();
}

void MainWindowController::endSheet(QWidget* content)
{
    for (int i = 0; i < m_waitingSheets.size(); ++i) {
        if (m_waitingSheets.at(i).first == content) {
            m_waitingSheets.removeAt(i);
            return;
        }
    }
    for (Sheet* sheet : m_window->findChildren<Sheet*>()) {
        if (sheet->isActive() && sheet->content() == content) {
            if (content == m_winRateus)
                m_rateSheetUp = false;
            sheet->endSheet(0);
            return;
        }
    }
}

void MainWindowController::sheetClosed()
{
    if (m_rateSheetUp || m_waitingSheets.isEmpty())
        return;
    auto next = m_waitingSheets.takeFirst();
    if (next.first)
        beginSheet(next.first, std::move(next.second));
}

} // namespace vantrel
