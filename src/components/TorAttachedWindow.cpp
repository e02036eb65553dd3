#include "components/TorAttachedWindow.h"

#include <cmath>

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "components/Geometry.h"

namespace vantrel {

using G = TorAttachedWindowGeometry;

TorAttachedWindow::TorAttachedWindow(QWidget* view, const QPointF& point, QWidget* window, int side, float distance)
    : QWidget(window ? window->window() : nullptr)
    , m_view(view)
    , m_window(window ? window->window() : nullptr)
    , m_point(point)
    , m_side(side)
    , m_distance(distance)
    , m_fill(QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.75f))
{
    setObjectName(QStringLiteral("attachedWindow"));
    setAccessibleName(QStringLiteral("Popup"));
    if (!m_window) {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
        setAttribute(Qt::WA_TranslucentBackground);
    }
    // The defaults go in as they are: the clamping setters would measure a view frame that does
    // not exist yet.
    m_metrics = TorAttachedMetrics {};
    if (!view->testAttribute(Qt::WA_Resized))
        view->resize(view->sizeHint().expandedTo(QSize(0, 0)));
    m_viewFrame = QRectF(QPointF(m_metrics.viewMargin, m_metrics.viewMargin), QSizeF(view->size()));
    if (!G::isPlaceableSide(m_side))
        m_side = bestSideForAutomaticPosition();
    view->setParent(this);
    updateAttachedGeometry();
    updateBackground();
    setHasShadow(true);
    view->show();
    raise();
}

TorAttachedWindow* TorAttachedWindow::initWithView(
    QWidget* view, const QPointF& attachedToPoint, QWidget* inWindow, int onSide, float atDistance)
{
    if (!view)
        return nullptr;
    return new TorAttachedWindow(view, attachedToPoint, inWindow, onSide, atDistance);
}

TorAttachedWindow* TorAttachedWindow::initWithView(
    QWidget* view, const QPointF& attachedToPoint, QWidget* inWindow, float atDistance)
{
    return initWithView(view, attachedToPoint, inWindow, TorSideAutomatic, atDistance);
}

TorAttachedWindow* TorAttachedWindow::initWithView(
    QWidget* view, const QPointF& attachedToPoint, int onSide, float atDistance)
{
    return initWithView(view, attachedToPoint, nullptr, onSide, atDistance);
}

TorAttachedWindow* TorAttachedWindow::initWithView(QWidget* view, const QPointF& attachedToPoint, float atDistance)
{
    return initWithView(view, attachedToPoint, nullptr, TorSideAutomatic, atDistance);
}

TorAttachedWindow* TorAttachedWindow::initWithView(QWidget* view, const QPointF& attachedToPoint, QWidget* inWindow)
{
    return initWithView(view, attachedToPoint, inWindow, TorSideAutomatic, 0.0f);
}

TorAttachedWindow* TorAttachedWindow::initWithView(QWidget* view, const QPointF& attachedToPoint, int onSide)
{
    return initWithView(view, attachedToPoint, nullptr, onSide, 0.0f);
}

TorAttachedWindow* TorAttachedWindow::initWithView(QWidget* view, const QPointF& attachedToPoint)
{
    return initWithView(view, attachedToPoint, nullptr, TorSideAutomatic, 0.0f);
}

QPointF TorAttachedWindow::pointInWindow(const QWidget* from, const QPointF& local)
{
    if (!from)
        return local;
    const QWidget* window = from->window();
    const QPointF inWindow = from->mapTo(window, local);
    return Geometry::flipY(inWindow, window->height());
}

QRectF TorAttachedWindow::containerRect() const
{
    if (m_window)
        return { 0, 0, qreal(m_window->width()), qreal(m_window->height()) };
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return Geometry::zeroRect();
    const QRect available = screen->availableGeometry();
    return Geometry::flipY(QRectF(available), screen->geometry().height());
}

QRectF TorAttachedWindow::visibleRect() const
{
    if (!m_window)
        return containerRect();
    // The part of the window the screen shows, in the window's base coordinates.
    QRect visible = m_window->rect();
    if (const QScreen* screen = m_window->screen()) {
        const QRect onScreen = screen->availableGeometry().translated(-m_window->mapToGlobal(QPoint(0, 0)));
        if (onScreen.intersects(visible))
            visible &= onScreen;
    }
    return Geometry::flipY(QRectF(visible), m_window->height());
}

qreal TorAttachedWindow::containerHeight() const
{
    if (m_window)
        return m_window->height();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

int TorAttachedWindow::bestSideForAutomaticPosition() const
{
    // Against what the screen shows of the window, not the whole window: a side chosen against
    // a part off the screen would be moved back into sight, away from its point.
    const QRectF visible = visibleRect();
    return G::bestSide(m_point, m_viewFrame.size(), m_distance, m_metrics, visible, visible);
}

void TorAttachedWindow::updateAttachedGeometry()
{
    const QSizeF viewSize = m_view ? QSizeF(m_view->size()) : m_viewFrame.size();
    m_viewFrame = G::viewFrame(viewSize, m_side, m_metrics);
    const QRectF placed = G::windowFrame(m_point, viewSize, m_side, m_distance, m_metrics);
    m_frame = G::keptInside(placed, visibleRect());
    // Moved by up to half the arrow's base, the arrow still points into what it belongs to (a
    // photo, a control); moved further, it would point beside it.
    const QPointF moved = m_frame.topLeft() - placed.topLeft();
    m_movedIntoSight = std::hypot(moved.x(), moved.y()) > m_metrics.arrowBaseWidth / 2.0;
    const QRectF down = Geometry::flipY(m_frame, containerHeight());
    setGeometry(QRect(qRound(down.x()), qRound(down.y()), qRound(down.width()), qRound(down.height())));
    if (m_view) {
        const QRectF viewDown = Geometry::flipY(m_viewFrame, m_frame.height());
        m_view->setGeometry(
            QRect(qRound(viewDown.x()), qRound(viewDown.y()), qRound(viewDown.width()), qRound(viewDown.height())));
    }
}

void TorAttachedWindow::updateBackground()
{
    const QSize size(qRound(m_frame.width()), qRound(m_frame.height()));
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(0, size.height());
        painter.scale(1, -1);
        TorAttachedMetrics drawn = m_metrics;
        drawn.hasArrow = showsArrow();
        const QPainterPath outline = G::outlinePath(m_viewFrame, m_side, drawn);
        painter.setClipPath(outline);
        painter.fillPath(outline, m_fill);
        if (m_metrics.borderWidth > 0) {
            QPen pen(m_borderColor, 2.0 * m_metrics.borderWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.strokePath(outline, pen);
        }
    }
    m_background = image;
    update();
}

void TorAttachedWindow::redisplay()
{
    if (m_resizing)
        return;
    m_resizing = true;
    updateAttachedGeometry();
    updateBackground();
    m_resizing = false;
}

void TorAttachedWindow::setOwner(QWidget* owner)
{
    if (m_owner)
        m_owner->removeEventFilter(this);
    disconnect(m_ownerGone);
    m_owner = owner;
    m_ownerLeft = false;
    if (!owner)
        return;
    owner->installEventFilter(this);
    m_ownerGone = connect(owner, &QObject::destroyed, this, [this] { leaveOwner(); });
}

void TorAttachedWindow::leaveOwner()
{
    // A popup already closed, or gone from sight with the owner's own window, has nobody to
    // tell: its user may be halfway through its own destruction.
    if (m_ownerLeft || !isVisible())
        return;
    m_ownerLeft = true;
    emit ownerLeft();
}

bool TorAttachedWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A hidden ancestor sends its visible children a hide event of their own, so the owner's
    // hide covers a step or pane hidden above it.
    if (watched == m_owner && event->type() == QEvent::Hide && !event->spontaneous())
        leaveOwner();
    return QWidget::eventFilter(watched, event);
}

void TorAttachedWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}

void TorAttachedWindow::setBackgroundColor(const QColor& color)
{
    if (m_fill.style() == Qt::SolidPattern && m_fill.color() == color)
        return;
    m_fill = QBrush(color);
    updateBackground();
}

void TorAttachedWindow::setBackgroundImage(const QImage& image)
{
    if (image.isNull())
        return;
    m_fill = QBrush(image);
    updateBackground();
}

void TorAttachedWindow::setBorderColor(const QColor& color)
{
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    updateBackground();
}

void TorAttachedWindow::setBorderWidth(float value)
{
    const float stored = G::clampedBorderWidth(value, m_metrics);
    if (stored == m_metrics.borderWidth)
        return;
    m_metrics.borderWidth = stored;
    updateBackground();
}

void TorAttachedWindow::setViewMargin(float value)
{
    const float stored = G::clampedViewMargin(value);
    if (stored == m_metrics.viewMargin)
        return;
    m_metrics.viewMargin = stored;
    setCornerRadius(m_metrics.cornerRadius);
}

void TorAttachedWindow::setArrowBaseWidth(float value)
{
    m_metrics.arrowBaseWidth = G::clampedArrowBaseWidth(value, m_viewFrame.size(), m_metrics);
    redisplay();
}

void TorAttachedWindow::setArrowHeight(float value)
{
    if (value == m_metrics.arrowHeight)
        return;
    m_metrics.arrowHeight = value;
    redisplay();
}

void TorAttachedWindow::setHasArrow(float value)
{
    const bool on = std::trunc(value) != 0;
    if (on == m_metrics.hasArrow)
        return;
    m_metrics.hasArrow = on;
    updateBackground();
}

void TorAttachedWindow::setCornerRadius(float value)
{
    m_metrics.cornerRadius = G::clampedCornerRadius(value, m_viewFrame.size(), m_metrics);
    setArrowBaseWidth(m_metrics.arrowBaseWidth);
}

void TorAttachedWindow::setDrawsRoundCornerBesideArrow(float value)
{
    const bool on = std::trunc(value) != 0;
    if (on == m_metrics.drawsRoundCornerBesideArrow)
        return;
    m_metrics.drawsRoundCornerBesideArrow = on;
    redisplay();
}

void TorAttachedWindow::setHasShadow(bool on)
{
    m_hasShadow = on;
    if (!on) {
        setGraphicsEffect(nullptr);
        return;
    }
    if (graphicsEffect())
        return;
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(14);
    shadow->setOffset(0, 3);
    shadow->setColor(QColor(0, 0, 0, 130));
    setGraphicsEffect(shadow);
}

void TorAttachedWindow::setPoint(const QPointF& point, int side)
{
    m_point = point;
    if (G::isPlaceableSide(side))
        m_side = side;
    redisplay();
}

} // namespace vantrel
