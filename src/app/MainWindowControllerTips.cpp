// The tips window: a window of its own over the main window. The tips page has no content here
// (there is no web view), so the window is never shown by the application; closing it, by its one
// callback `elementClicked`, is what start-up relies on to offer the last session.
#include "app/MainWindowController.h"

#include <QWidget>

#include "components/TitleBar/OvAppStoreWindow.h"

namespace vantrel {

void MainWindowController::buildTipsWindow()
{
    m_winTips = new QWidget(m_window, Qt::Window | Qt::FramelessWindowHint);
    m_winTips->setObjectName(QStringLiteral("winTips"));
    m_winTips->setAccessibleName(QStringLiteral("Tips"));
    m_winTips->resize(800, 560);
    m_winTips->hide();
}

void MainWindowController::showTipsScreen()
{
}

void MainWindowController::setTipsWinFrame()
{
    QRect frame = m_winTips->geometry();
    frame.moveCenter(m_window->geometry().center());
    m_winTips->setGeometry(frame);
}

void MainWindowController::showTipsNotification()
{
    m_isTipsFromNotfication = true;
    showTipsScreen();
}

void MainWindowController::elementClicked()
{
    m_winTips->close();
    makeMainWindowFront();
    if (!m_isTipsFromNotfication)
        checkForLastSession();
}

} // namespace vantrel
