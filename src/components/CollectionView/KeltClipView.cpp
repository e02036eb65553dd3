#include "components/CollectionView/KeltClipView.h"

#include <algorithm>
#include <cmath>

#include "components/CollectionView/KeltScrollView.h"
#include "components/Geometry.h"
#include "components/TickSource.h"

namespace vantrel {

namespace {

constexpr int kDisplayIntervalMs = 16; // about the display's refresh rate

} // namespace

KeltClipView::KeltClipView(KeltScrollView* scrollView)
    : QObject(scrollView)
    , m_scrollView(scrollView)
    , m_ownTickSource(new TickSource(this))
{
    setTickSource(m_ownTickSource);
}

KeltClipView::~KeltClipView() = default;

void KeltClipView::setTickSource(TickSource* source)
{
    const bool running = isAnimating();
    if (m_tickSource)
        m_tickSource->stop();
    QObject::disconnect(m_tickConnection);
    m_tickSource = source ? source : m_ownTickSource;
    m_tickConnection = connect(m_tickSource, &TickSource::tick, this, &KeltClipView::updateOrigin);
    if (running)
        beginScrolling();
}

QRectF KeltClipView::documentVisibleRect() const
{
    return QRectF(m_origin, m_scrollView->visibleSize());
}

QPointF KeltClipView::maximumOrigin() const
{
    const QSizeF document = m_scrollView->documentSize();
    const QSizeF visible = m_scrollView->visibleSize();
    return { std::max(document.width() - visible.width(), 0.0), std::max(document.height() - visible.height(), 0.0) };
}

QPointF KeltClipView::clamped(const QPointF& point) const
{
    const QPointF maximum = maximumOrigin();
    return { std::clamp(point.x(), 0.0, maximum.x()), std::clamp(point.y(), 0.0, maximum.y()) };
}

bool KeltClipView::scrollRectToVisible(const QRectF& rect, bool animated)
{
    const QRectF visible = documentVisibleRect();
    auto axis = [](double rectMin, double rectSize, double visibleMin, double visibleSize) {
        if (rectMin < visibleMin || rectSize > visibleSize)
            return rectMin;
        if (rectMin + rectSize > visibleMin + visibleSize)
            return rectMin + rectSize - visibleSize;
        return visibleMin;
    };
    const QPointF wanted = clamped(QPointF(axis(rect.x(), rect.width(), visible.x(), visible.width()),
        axis(rect.y(), rect.height(), visible.y(), visible.height())));
    if (wanted == m_origin)
        return false;
    // The animation flag belongs to this scroll only; a scroll that is not needed leaves no flag
    // behind for an unrelated later move (a scroll-bar drag) to pick up.
    m_shouldAnimateOriginChange = animated;
    scrollToPoint(wanted);
    return true;
}

bool KeltClipView::scrollRectToVisible(const QRectF& rect, bool animated, Completion completion)
{
    m_scrollCompletion = std::move(completion);
    const bool needed = scrollRectToVisible(rect, animated);
    if (!(animated && needed) && m_scrollCompletion) {
        Completion done = std::move(m_scrollCompletion);
        m_scrollCompletion = nullptr;
        done(needed);
    }
    return needed;
}

void KeltClipView::scrollToPoint(const QPointF& point)
{
    const QPointF target = clamped(point);
    if (!m_shouldAnimateOriginChange) {
        endScrolling();
        moveTo(target);
        return;
    }
    m_shouldAnimateOriginChange = false;
    m_destinationOrigin = target;
    beginScrolling();
}

void KeltClipView::setDecelerationRate(double rate)
{
    m_decelerationRate = std::clamp(rate, 0.0, 1.0);
}

bool KeltClipView::isAnimating() const
{
    return m_tickSource && m_tickSource->isActive();
}

void KeltClipView::constrainOrigin()
{
    const QPointF inside = clamped(m_origin);
    if (isAnimating())
        m_destinationOrigin = clamped(m_destinationOrigin);
    if (inside != m_origin)
        moveTo(inside);
}

void KeltClipView::beginScrolling()
{
    if (m_tickSource && !m_tickSource->isActive())
        m_tickSource->start(kDisplayIntervalMs);
}

void KeltClipView::endScrolling()
{
    if (m_tickSource && m_tickSource->isActive())
        m_tickSource->stop();
}

void KeltClipView::updateOrigin()
{
    if (!m_scrollView->isVisible()) {
        endScrolling();
        return;
    }
    const QPointF current = m_origin;
    const QPointF destination = m_destinationOrigin;
    const double rate = m_decelerationRate;
    QPointF next = current * rate + destination * (1.0 - rate);
    bool finished = false;
    if (std::lround(next.x()) == std::lround(destination.x())
        && std::lround(next.y()) == std::lround(destination.y())) {
        // Close enough to show the destination itself: snap, so the scroll always ends there.
        next = destination;
        finished = true;
    } else if (std::abs(next.x() - current.x()) < 0.1 && std::abs(next.y() - current.y()) < 0.1) {
        finished = true;
    }
    moveTo(next);
    if (finished) {
        endScrolling();
        if (m_scrollCompletion) {
            Completion done = std::move(m_scrollCompletion);
            m_scrollCompletion = nullptr;
            done(true);
        }
    }
}

void KeltClipView::moveTo(const QPointF& point)
{
    m_origin = point;
    m_scrollView->applyOrigin();
}

} // namespace vantrel
