#include "app/MainScreen/LoadingOverlay.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "core/AppDelegate.h"
#include "core/ResourceImages.h"

namespace vantrel {

namespace {
constexpr int kBoxWidth = 220;
constexpr int kBoxHeight = 170;
} // namespace

LoadingOverlay::LoadingOverlay(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vwLoading"));
    setAccessibleName(QStringLiteral("Loading"));
    m_bgForAnimator = new QWidget(this);
    m_bgForAnimator->setObjectName(QStringLiteral("bgForAnimator"));
    m_bgLoader = new QWidget(m_bgForAnimator);
    m_bgLoader->setObjectName(QStringLiteral("bgLoader"));
    // Grey 0.7 at alpha 0.98 with a corner radius of 20.
    m_bgLoader->setStyleSheet(
        QStringLiteral("#bgLoader { background: rgba(179, 179, 179, 250); border-radius: 20px; }"));
    m_bgLoader->setAttribute(Qt::WA_StyledBackground, true);
    m_imgLoader = new QLabel(m_bgLoader);
    m_imgLoader->setObjectName(QStringLiteral("imgLoader"));
    m_imgLoader->setAccessibleName(QStringLiteral("Loading animation"));
    m_imgLoader->setAlignment(Qt::AlignCenter);
    m_txtLoading = new QLabel(m_bgLoader);
    m_txtLoading->setObjectName(QStringLiteral("txtLoading"));
    m_txtLoading->setAccessibleName(QStringLiteral("Loading text"));
    m_txtLoading->setAlignment(Qt::AlignCenter);
    m_txtLoading->setWordWrap(true);
    m_txtLoading->setStyleSheet(QStringLiteral("color: rgb(36, 41, 50); font-size: 14px;"));
    m_loadertimer.setInterval(10);
    connect(&m_loadertimer, &QTimer::timeout, this, &LoadingOverlay::tick);
    hide();
}

void LoadingOverlay::coverParent()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    raise();
}

void LoadingOverlay::showLoading(bool show, const QString& text)
{
    coverParent();
    m_bgForAnimator->show();
    m_text = text;
    m_txtLoading->setText(text);
    if (show && !m_loadertimer.isActive()) {
        AppDelegate::shareDelegate()->isSubWindowOpened = true;
        QWidget::show();
        m_loaderCounter = 1;
        tick();
        m_loadertimer.start();
        return;
    }
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    m_loadertimer.stop();
    hide();
}

void LoadingOverlay::tick()
{
    m_imgLoader->setPixmap(
        QPixmap::fromImage(ResourceImages::named(QStringLiteral("loader%1.png").arg(m_loaderCounter))));
    ++m_loaderCounter;
    if (m_loaderCounter == kFrameCount + 1) {
        // Loop: the overlay is shown again from the first frame.
        m_loadertimer.stop();
        showLoading(true, m_text);
    }
}

void LoadingOverlay::enableView(bool enable)
{
    coverParent();
    m_bgForAnimator->hide();
    setVisible(!enable);
}

void LoadingOverlay::resizeEvent(QResizeEvent*)
{
    m_bgForAnimator->setGeometry(rect());
    m_bgLoader->setGeometry((width() - kBoxWidth) / 2, (height() - kBoxHeight) / 2, kBoxWidth, kBoxHeight);
    m_imgLoader->setGeometry(0, 20, kBoxWidth, 90);
    m_txtLoading->setGeometry(10, 115, kBoxWidth - 20, 40);
}

void LoadingOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 90));
}

} // namespace vantrel
