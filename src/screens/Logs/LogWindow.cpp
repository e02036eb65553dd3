#include "screens/Logs/LogWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "core/ResourceImages.h"
#include "screens/Logs/LogDetailView.h"

namespace vantrel {

namespace {

QAbstractButton* windowButton(const QString& stem, const QString& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(QPixmap::fromImage(ResourceImages::named(stem + QStringLiteral("-normal"))));
    button->setIconSize(QSize(14, 14));
    button->setFixedSize(18, 18);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

LogWindow::LogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("winLogs"));
    setWindowTitle(QStringLiteral("Log"));
    setAccessibleName(QStringLiteral("Log window"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, AppLook::panelColor());
    setPalette(palette);
    resize(1100, 640);

    m_btnCloseWindow = windowButton(QStringLiteral("close"), QStringLiteral("Close"), this);
    m_btnMinimizeWindow = windowButton(QStringLiteral("min"), QStringLiteral("Minimise"), this);
    m_btnZoomWindow = windowButton(QStringLiteral("max"), QStringLiteral("Zoom"), this);
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
}

void LogWindow::btnMinimizeTapped()
{
    showMinimized();
}

void LogWindow::btnZoomTapped()
{
    isMaximized() ? showNormal() : showMaximized();
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
