#include "screens/Logs/LogWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "components/FocusedButtonKeys.h"
#include "components/IMGButton.h"
#include "components/Sheet.h"
#include "screens/Logs/LogDetailView.h"

namespace vantrel {

namespace {

constexpr int kWindowButtonSize = 14;

} // namespace

LogWindow::LogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("winLogs"));
    setWindowTitle(QStringLiteral("Log"));
    setAccessibleName(QStringLiteral("Log window"));
    // It covers the window it belongs to, so a question raised there as a sheet closes it first.
    setProperty(Sheet::kClosesForSheetProperty, true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, AppLook::panelColor());
    setPalette(palette);
    resize(1100, 640);

    m_btnCloseWindow
        = IMGButton::windowButton(QStringLiteral("close"), QStringLiteral("Close"), kWindowButtonSize, this);
    m_btnMinimizeWindow
        = IMGButton::windowButton(QStringLiteral("min"), QStringLiteral("Minimise"), kWindowButtonSize, this);
    m_btnZoomWindow = IMGButton::windowButton(QStringLiteral("max"), QStringLiteral("Zoom"), kWindowButtonSize, this);
    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(10, 8, 10, 0);
    strip->setSpacing(8);
    strip->addWidget(m_btnCloseWindow);
    strip->addWidget(m_btnMinimizeWindow);
    strip->addWidget(m_btnZoomWindow);
    strip->addStretch(1);

    m_view = new LogDetailView(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(strip);
    column->addWidget(m_view, 1);

    connect(m_btnCloseWindow, &QAbstractButton::clicked, this, &LogWindow::btnCloseLogsTapped);
    connect(m_btnMinimizeWindow, &QAbstractButton::clicked, this, &LogWindow::btnMinimizeTapped);
    connect(m_btnZoomWindow, &QAbstractButton::clicked, this, &LogWindow::btnZoomTapped);
    // Escape closes the window as its close button does.
    auto* escape = new QAction(this);
    escape->setObjectName(QStringLiteral("closeOnEscape"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QAction::triggered, this, &LogWindow::btnCloseLogsTapped);
    addAction(escape);
    // Return and Enter press the focused button (the previous and next log), as in the main window.
    new FocusedButtonKeys(this);
}

void LogWindow::btnMinimizeTapped()
{
    showMinimized();
}

void LogWindow::btnZoomTapped()
{
    isMaximized() ? showNormal() : showMaximized();
}

void LogWindow::closeEvent(QCloseEvent* event)
{
    emit windowWillClose();
    QWidget::closeEvent(event);
}

void LogWindow::mousePressEvent(QMouseEvent* event)
{
    // The title strip moves the frameless window.
    m_dragging = event->button() == Qt::LeftButton && event->position().y() < 30;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(event);
}

void LogWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QWidget::mouseMoveEvent(event);
}

} // namespace vantrel
