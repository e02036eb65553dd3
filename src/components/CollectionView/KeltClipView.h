#pragma once

#include <functional>

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>

#include "components/TickSource.h"

namespace vantrel {

class KeltScrollView;

/// The visible part of a KeltScrollView's document: keeps the origin in document coordinates (as
/// doubles, since a document may be far taller than a widget can be) and moves it towards a
/// destination in eased steps, one per tick of the display-rate tick source. Each step keeps
/// decelerationRate of the remaining distance. Main thread only.
class KeltClipView : public QObject {
    Q_OBJECT

public:
    using Completion = std::function<void(bool finished)>;

    explicit KeltClipView(KeltScrollView* scrollView);
    ~KeltClipView() override;

    QPointF origin() const { return m_origin; }
    QRectF documentVisibleRect() const;
    /// Largest origin the document allows (never negative).
    QPointF maximumOrigin() const;

    /// Scrolls as little as needed to show the rectangle. Answers whether a scroll was needed.
    bool scrollRectToVisible(const QRectF& rect, bool animated);
    /// As above; the completion runs at the end of an animated scroll that was needed, otherwise
    /// at once with the answer.
    bool scrollRectToVisible(const QRectF& rect, bool animated, Completion completion);
    /// Moves at once (stopping an animation) unless the last scrollRectToVisible asked for an
    /// animation, which this call then consumes. The destination is clamped to the document.
    void scrollToPoint(const QPointF& point);

    double decelerationRate() const { return m_decelerationRate; }
    /// Clamped into [0, 1].
    void setDecelerationRate(double rate);
    QPointF destinationOrigin() const { return m_destinationOrigin; }
    bool isAnimating() const;

    /// Keeps the origin inside the document after the document or the visible size changed.
    void constrainOrigin();

    void beginScrolling();
    void endScrolling();
    /// One animation step (normally driven by the tick source).
    void updateOrigin();

    /// Replaces the tick source (tests pass a manual one). Not owned.
    void setTickSource(TickSource* source);
    TickSource* tickSource() const { return m_tickSource; }

private:
    QPointF clamped(const QPointF& point) const;
    void moveTo(const QPointF& point);

    KeltScrollView* m_scrollView;
    TickSource* m_ownTickSource;
    QPointer<TickSource> m_tickSource;
    QMetaObject::Connection m_tickConnection;
    QPointF m_origin;
    QPointF m_destinationOrigin;
    bool m_shouldAnimateOriginChange = false;
    Completion m_scrollCompletion;
    double m_decelerationRate = 0.78;
};

} // namespace vantrel
