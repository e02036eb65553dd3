#include "screens/Logs/LogWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "components/IMGButton.h"
#include "screens/Logs/LogDetailView.h"

namespace vantrel {

namespace {

// A window button drawn from its named images: "-normal" at rest, "-press" while pressed, "-hover"
// under the pointer. The button is exactly as large as its 14-point images, so the hover image
// (drawn as the end cap) covers it whole.
QAbstractButton* windowButton(const QString& stem, const QString& name, QWidget* parent)
{
    auto* button = new IMGButton(parent);
    const QString normal = stem + QStringLiteral("-normal");
    const QString press = stem + QStringLiteral("-press");
    for (bool on : { false, true }) {
        button->setImages(on, IMGButton::Phase::Normal, { QString(), normal, QString() });
        button->setImages(on, IMGButton::Phase::Pressed, { QString(), press, QString() });
        button->setImages(on, IMGButton::Phase::Disabled, { QString(), press, QString() });
    }
    button->setImgMouseHover(stem + QStringLiteral("-hover"));
    button->setImgMouseOut(normal);
    button->setFixedSize(14, 14);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
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
