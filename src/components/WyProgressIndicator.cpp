#include "components/WyProgressIndicator.h"

#include <array>
#include <cmath>

#include <QElapsedTimer>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "components/Geometry.h"
#include "components/NamedImagePainter.h"
#include "components/TickSource.h"

namespace vantrel {

namespace {

const QColor kBarBlue(66, 180, 211);

const std::array<QString, 9> kBezel
    = { QStringLiteral("pi_topLeft"), QStringLiteral("pi_topFill"), QStringLiteral("pi_topRight"),
          QStringLiteral("pi_leftFill"), QStringLiteral("pi_centerFill"), QStringLiteral("pi_rightFill"),
          QStringLiteral("pi_bottomLeft"), QStringLiteral("pi_bottomFill"), QStringLiteral("pi_bottomRight") };

WyProgressIndicator::Clock monotonicClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

WyProgressIndicator::WyProgressIndicator(QWidget* parent)
    : WyProgressIndicator(nullptr, {}, parent)
{
}

WyProgressIndicator::WyProgressIndicator(TickSource* ticks, Clock clock, QWidget* parent)
    : QWidget(parent)
    , m_ticks(ticks ? ticks : new TickSource(this))
    , m_clock(clock ? std::move(clock) : monotonicClock())
{
    connect(m_ticks, &TickSource::tick, this, &WyProgressIndicator::onTick);
    setAccessibleName(tr("Progress"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTheme(0);
    updateAccessibleValue();
}

WyProgressIndicator::~WyProgressIndicator()
{
    // A tick source given by the caller may outlive this view.
    disconnect(m_ticks, nullptr, this, nullptr);
    if (m_ticks->parent() != this)
        m_ticks->stop();
}

void WyProgressIndicator::setDoubleValue(double value)
{
    if (m_model.setDoubleValue(value, m_clock()))
        requestRedraw();
    updateAccessibleValue();
    syncTicks();
}

void WyProgressIndicator::setInternalDoubleValue(double value)
{
    m_model.setInternalDoubleValue(value);
    requestRedraw();
    syncTicks();
}

void WyProgressIndicator::setTheme(int theme)
{
    m_theme = theme;
    requestRedraw();
}

void WyProgressIndicator::startAnimation()
{
    if (m_model.startAnimation())
        syncTicks();
}

void WyProgressIndicator::stopAnimation()
{
    if (!m_model.stopAnimation())
        return;
    syncTicks();
    update();
}

QRectF WyProgressIndicator::progressBarRect() const
{
    return Geometry::flipY(m_model.progressBarRect(width(), height()), height());
}

bool WyProgressIndicator::isTicking() const
{
    return m_ticks->isActive();
}

void WyProgressIndicator::onTick()
{
    bool redraw = m_model.advance(m_clock());
    if (m_model.isAnimating()) {
        m_model.stepAnimation();
        redraw = true;
    }
    if (redraw)
        update();
    syncTicks();
}

void WyProgressIndicator::syncTicks()
{
    if (m_model.needsTicks() && !m_ticks->isActive())
        m_ticks->start(ProgressIndicatorModel::kDecorationIntervalMs);
    else if (!m_model.needsTicks() && m_ticks->isActive())
        m_ticks->stop();
}

void WyProgressIndicator::requestRedraw()
{
    // While the decorations run, the next tick redraws anyway.
    if (!m_model.isAnimating())
        update();
}

void WyProgressIndicator::updateAccessibleValue()
{
    const double range = maxValue() - minValue();
    const double share = range > 0 ? (doubleValue() - minValue()) / range * 100 : 0;
    setAccessibleDescription(std::isfinite(share) ? tr("%1 %").arg(qRound(share)) : QString());
}

void WyProgressIndicator::changeEvent(QEvent* event)
{
    // The bar's gradient follows the window's key state.
    if (event->type() == QEvent::ActivationChange)
        requestRedraw();
    QWidget::changeEvent(event);
}

void WyProgressIndicator::paintEvent(QPaintEvent* /*event*/)
{
    // Theme 0 is applied silently here: a paint must never ask for another paint.
    m_theme = 0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    NamedImagePainter::drawNinePart(painter, QRectF(rect()), kBezel);

    QPainterPath clip;
    clip.addRoundedRect(Geometry::flipY(ProgressIndicatorModel::clipRect(width(), height()), height()), 3, 3);
    painter.setClipPath(clip);
    drawProgressBar(painter);
    if (m_model.isAnimating()) {
        if (m_model.isIndeterminate())
            drawIndeterminateAnimationStep(painter);
        else
            drawAnimationStep(painter);
    }
}

void WyProgressIndicator::drawProgressBar(QPainter& painter)
{
    if (!(doubleValue() > 0))
        return;
    const QRectF bar = progressBarRect().normalized();
    if (bar.isEmpty())
        return;
    // Every theme and window state uses the bar blue throughout; the stops are those of the
    // key-window gradient (inactive colours) and of the other one.
    QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
    static constexpr std::array<qreal, 4> kKeyStops { 0.0, 0.48, 0.49, 1.0 };
    static constexpr std::array<qreal, 5> kOtherStops { 0.0, 0.48, 0.49, 0.82, 1.0 };
    if (isActiveWindow()) {
        for (const qreal stop : kKeyStops)
            fill.setColorAt(stop, kBarBlue);
    } else {
        for (const qreal stop : kOtherStops)
            fill.setColorAt(stop, kBarBlue);
    }
    painter.fillRect(bar, fill);

    // Inner shadow: white at 0.293 cast one point down from the bar's top edge, blurred by one.
    painter.save();
    painter.setClipRect(bar, Qt::IntersectClip);
    QLinearGradient shadow(QPointF(0, bar.top()), QPointF(0, bar.top() + 2.1));
    shadow.setColorAt(0, QColor::fromRgbF(1, 1, 1, 0.293f));
    shadow.setColorAt(1, QColor::fromRgbF(1, 1, 1, 0));
    painter.fillRect(QRectF(bar.left(), bar.top(), bar.width(), 2.1), shadow);
    painter.restore();

    const QRectF edge = Geometry::flipY(
        ProgressIndicatorModel::leadingEdgeRect(m_model.progressBarRect(width(), height())), height());
    painter.fillRect(edge.normalized(), kBarBlue);
}

void WyProgressIndicator::drawAnimationStep(QPainter& painter)
{
    const QRectF bar = progressBarRect().normalized();
    QPainterPath barPath;
    barPath.addRoundedRect(bar, 3, 3);
    if (bar.isEmpty())
        return;
    painter.save();
    painter.setClipPath(barPath, Qt::IntersectClip);
    const int n = ProgressIndicatorModel::decorationCount(bar.width());
    const int step = m_model.currentAnimationStep();
    for (int i = 0; i < n; ++i) {
        const QRectF oval = Geometry::flipY(ProgressIndicatorModel::glowOval(i, step), height());
        const QPointF centre(oval.center().x(), height() / 2.0);
        QRadialGradient glow(centre, 12.72);
        glow.setColorAt(0, QColor::fromRgbF(1, 1, 1, 0.07f));
        glow.setColorAt(1, QColor::fromRgbF(1, 1, 1, 0));
        glow.setSpread(QGradient::PadSpread);
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        QPainterPath ovalPath;
        ovalPath.addEllipse(oval);
        painter.setClipPath(ovalPath, Qt::IntersectClip);
        painter.fillRect(oval, glow);
        painter.restore();
    }
    painter.restore();
}

void WyProgressIndicator::drawIndeterminateAnimationStep(QPainter& painter)
{
    const int n = ProgressIndicatorModel::decorationCount(progressBarRect().width());
    const int step = m_model.currentAnimationStep();
    QLinearGradient stripes(QPointF(0, 0), QPointF(0, height()));
    stripes.setColorAt(0.0, QColor::fromRgbF(0.917f, 0.917f, 0.916f));
    stripes.setColorAt(0.48, Qt::white);
    stripes.setColorAt(0.49, QColor::fromRgbF(0.951f, 0.951f, 0.951f));
    stripes.setColorAt(1.0, QColor::fromRgbF(0.907f, 0.907f, 0.907f));
    for (int i = 0; i < n; ++i) {
        QPolygonF shape = ProgressIndicatorModel::stripe(i, step, height());
        for (QPointF& p : shape)
            p = Geometry::flipY(p, height());
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        path.addPolygon(shape);
        path.closeSubpath();
        painter.fillPath(path, stripes);
    }
}

} // namespace vantrel
