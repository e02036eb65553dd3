#include "components/TitleBar/OvTitlebarView.h"

#include <random>

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "components/TitleBar/OvAppStoreWindow.h"
#include "components/TitleBar/TitleBarLayout.h"

namespace vantrel {

namespace {

QColor white(double level, double alpha = 1.0)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

} // namespace

OvTitleBarColors OvTitleBarColors::defaults(bool active)
{
    OvTitleBarColors c;
    c.start = white(active ? 0.66 : 0.878);
    c.end = white(active ? 0.9 : 0.976);
    c.separator = white(active ? 0.408 : 0.655);
    c.text = white(56.0 / 255.0, active ? 1.0 : 0.5);
    c.textShadow = white(1.0, 0.5);
    return c;
}

OvTitlebarView::OvTitlebarView(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Title bar"));
}

OvAppStoreWindow* OvTitlebarView::ownerWindow() const
{
    return qobject_cast<OvAppStoreWindow*>(window());
}

QPainterPath OvTitlebarView::clippingPath(const QRectF& bounds, double r)
{
    // y-down: the top row is left out; straight sides up to r below the top, arcs into the top.
    const QRectF b(bounds.x(), bounds.y() + 1, bounds.width(), bounds.height() - 1);
    QPainterPath path;
    path.moveTo(b.left(), b.bottom());
    path.lineTo(b.left(), b.top() + r);
    path.arcTo(QRectF(b.left(), b.top(), 2 * r, 2 * r), 180, -90);
    path.lineTo(b.right() - r, b.top());
    path.arcTo(QRectF(b.right() - 2 * r, b.top(), 2 * r, 2 * r), 90, -90);
    path.lineTo(b.right(), b.bottom());
    path.closeSubpath();
    return path;
}

const QImage& OvTitlebarView::noiseImage()
{
    static const QImage image = [] {
        QImage noise(124, 124, QImage::Format_Grayscale8);
        std::mt19937 generator(120);
        for (int y = 0; y < noise.height(); ++y) {
            uchar* row = noise.scanLine(y);
            for (int x = 0; x < noise.width(); ++x)
                row[x] = static_cast<uchar>(generator() & 0xFF);
        }
        return noise;
    }();
    return image;
}

void OvTitlebarView::drawNoiseWithOpacity(QPainter& painter, double opacity)
{
    painter.save();
    painter.setOpacity(opacity);
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.drawTiledPixmap(rect(), QPixmap::fromImage(noiseImage()));
    painter.restore();
}

void OvTitlebarView::paintEvent(QPaintEvent*)
{
    OvAppStoreWindow* win = ownerWindow();
    const bool active = win ? win->drawsAsActive() : isActiveWindow();
    const QRectF bounds = rect();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    if (win && win->titleBarDrawingBlock()) {
        win->titleBarDrawingBlock()(painter, active, bounds, clippingPath(bounds));
        return;
    }
    const bool fullScreen = win && (win->windowState() & Qt::WindowFullScreen);
    if (fullScreen)
        painter.fillRect(bounds, Qt::black);
    const OvTitleBarColors colors = win ? win->titleBarColors(active) : OvTitleBarColors::defaults(active);

    painter.save();
    painter.setClipPath(clippingPath(bounds));
    QLinearGradient gradient(bounds.center().x(), bounds.bottom(), bounds.center().x(), bounds.top());
    gradient.setColorAt(0, colors.start);
    gradient.setColorAt(1, colors.end);
    painter.fillRect(bounds, gradient);
    painter.restore();

    const bool separator = !win || win->showsBaselineSeparator();
    if (separator) {
        painter.fillRect(QRectF(0, bounds.height() - 1, bounds.width(), 1), colors.separator);
        painter.fillRect(QRectF(0, bounds.height() - 2, bounds.width(), 1), white(1.0, 0.12));
    }
    if (active) {
        painter.save();
        QRectF inner = bounds.adjusted(1, 1, -1, separator ? -1 : 0);
        painter.setClipPath(clippingPath(inner));
        drawNoiseWithOpacity(painter, 0.1);
        painter.restore();
    }
    const bool showTitle = win && win->showsTitle() && (!fullScreen || win->showsTitleInFullscreen());
    if (showTitle) {
        const QFont font = win->titleFont();
        painter.setFont(font);
        const QString title = win->windowTitle();
        const QSizeF textSize = QFontMetricsF(font).size(Qt::TextSingleLine, title);
        const QRectF upFrame = TitleBarLayout::titleFrame(
            QRectF(0, 0, bounds.width(), bounds.height()), textSize, win->verticallyCenterTitle());
        const QRectF frame = TitleBarLayout::flipped(upFrame, bounds.height());
        painter.setPen(colors.textShadow);
        painter.drawText(frame.translated(0, 1), Qt::AlignLeft | Qt::AlignTop, title);
        painter.setPen(colors.text);
        painter.drawText(frame, Qt::AlignLeft | Qt::AlignTop, title);
    }
}

void OvTitlebarView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && window())
        window()->showMinimized();
}

} // namespace vantrel
