#include "components/SegmentedControl/UxSegmentedControl.h"

#include <algorithm>
#include <cmath>

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "components/Geometry.h"
#include "components/SegmentedControl/FePathAdditions.h"
#include "components/TickSource.h"

namespace vantrel {

namespace {

constexpr int kFrameMs = 16;
constexpr int kControlHeight = 25;

QColor white(double level, double alpha = 1.0)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

void fillGradient(QPainter& painter, const QPainterPath& path, const QColor& top, const QColor& bottom)
{
    // Drawn at -90 degrees: from the top edge down to the bottom edge.
    const QRectF bounds = path.boundingRect();
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillPath(path, gradient);
}

} // namespace

UxSegmentedControl::UxSegmentedControl(QWidget* parent)
    : QWidget(parent)
    , m_ownTickSource(new TickSource(this))
    , m_tickSource(nullptr)
{
    setAccessibleName(QStringLiteral("Segmented control"));
    setFocusPolicy(Qt::StrongFocus);
    setDefaultDurations();
    setTickSource(m_ownTickSource);
}

UxSegmentedControl::~UxSegmentedControl() = default;

void UxSegmentedControl::setTickSource(TickSource* source)
{
    if (m_tickSource)
        disconnect(m_tickSource, &TickSource::tick, this, &UxSegmentedControl::stepAnimation);
    m_tickSource = source ? source : m_ownTickSource;
    connect(m_tickSource, &TickSource::tick, this, &UxSegmentedControl::stepAnimation);
}

void UxSegmentedControl::setDefaultDurations()
{
    m_fastAnimationDuration = 0.2;
    m_slowAnimationDuration = 0.35;
}

void UxSegmentedControl::setSegmentCount(int count)
{
    m_segmentCount = std::max(count, 0);
    if (m_selectedSegment >= m_segmentCount)
        m_selectedSegment = m_segmentCount - 1;
    update();
}

double UxSegmentedControl::segmentWidth() const
{
    // No segments: no segment width (and no division by zero).
    return m_segmentCount > 0 ? double(float(double(width()) / m_segmentCount)) : 0.0;
}

double UxSegmentedControl::maximumLocation() const
{
    return double(float(double(width()) - segmentWidth()));
}

void UxSegmentedControl::awakeFromNib()
{
    resize(width(), kControlHeight);
    m_location.setX(m_selectedSegment * segmentWidth());
}

void UxSegmentedControl::setSelectedSegment(int index)
{
    setSelectedSegment(index, true);
}

void UxSegmentedControl::setSelectedSegment(int index, bool animate)
{
    if (index == m_selectedSegment)
        return;
    const double w = segmentWidth();
    const double target = index < m_segmentCount ? index * w : maximumLocation();
    if (animate) {
        animateTo(int(target));
    } else {
        m_location.setX(target);
        update();
    }
    m_selectedSegment = std::min(index, m_segmentCount - 1);
}

void UxSegmentedControl::animateTo(int x)
{
    auto animation = std::make_unique<UxKnobAnimation>(int(m_location.x()), x);
    animation->setDelegate(this);
    const double travel = maximumLocation();
    if (m_location.x() == 0 || m_location.x() == travel || travel <= 0) {
        animation->setDuration(m_fastAnimationDuration);
        animation->setAnimationCurve(UxKnobAnimation::Curve::EaseInOut);
    } else {
        animation->setDuration(std::abs(m_location.x() - x) / travel * m_slowAnimationDuration);
        animation->setAnimationCurve(UxKnobAnimation::Curve::Linear);
    }
    m_animation = std::move(animation);
    if (!m_tickSource->isActive())
        m_tickSource->start(kFrameMs);
}

void UxSegmentedControl::stepAnimation()
{
    if (!m_animation) {
        m_tickSource->stop();
        return;
    }
    if (m_animation->advance(kFrameMs / 1000.0)) {
        m_animation.reset();
        m_tickSource->stop();
    }
}

void UxSegmentedControl::setPosition(int x)
{
    m_location.setX(x);
    repaint();
}

void UxSegmentedControl::offsetLocationByX(float dx)
{
    m_location.setX(std::clamp(m_location.x() + double(dx), 0.0, std::max(maximumLocation(), 0.0)));
    update();
}

void UxSegmentedControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, width(), height() - 1); // room for the one-pixel shadow
    drawBackgroud(painter, r);
    if (m_segmentCount > 0)
        drawKnob(painter, r);
}

void UxSegmentedControl::drawBackgroud(QPainter& painter, const QRectF& rect)
{
    const bool key = isActiveWindow();
    QPainterPath path;
    path.addRoundedRect(rect, 3.5, 3.5);
    painter.fillPath(path.translated(0, 1), white(0.863, 0.75)); // the shadow one pixel below
    fillGradient(painter, path, key ? white(0.75) : white(0.8), key ? white(0.6) : white(0.77));
    painter.setPen(QPen(key ? white(0.37) : white(0.68), 1));
    FePathAdditions::strokeInside(painter, path);
}

void UxSegmentedControl::drawKnob(QPainter& painter, const QRectF& rect)
{
    const bool key = isActiveWindow();
    QPainterPath path;
    path.addRoundedRect(QRectF(m_location.x(), rect.y(), segmentWidth(), rect.height()), 3.0, 3.0);
    fillGradient(painter, path, key ? white(0.68) : white(0.76), key ? white(0.91) : white(0.9));
    painter.setPen(QPen(key ? white(0.37) : white(0.68), 1));
    FePathAdditions::strokeInside(painter, path);
}

void UxSegmentedControl::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    // Without segments there is nothing to choose.
    if (event->button() != Qt::LeftButton || m_segmentCount == 0 || !Geometry::pointInRect(p, QRectF(rect())))
        return;
    const QRectF knob(m_location.x(), 0, segmentWidth(), height());
    m_tracking = true;
    m_dragsKnob = Geometry::pointInRect(p, knob);
    m_pressPoint = p;
    m_previousPoint = p;
}

void UxSegmentedControl::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tracking || !m_dragsKnob)
        return;
    const QPointF current = event->position();
    offsetLocationByX(float(current.x() - m_previousPoint.x()));
    m_previousPoint = current;
}

void UxSegmentedControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    const double w = segmentWidth();
    const bool dragged = m_previousPoint != m_pressPoint;
    const int index = dragged ? int(std::lround(m_location.x() / w)) : int(std::floor(m_pressPoint.x() / w));
    animateTo(int(float(index * w)));
    setSelectedSegment(index);
    emit activated(index);
}

} // namespace vantrel
