#pragma once

#include <functional>

#include <QWidget>

#include "components/ProgressIndicatorModel.h"

namespace vantrel {

class TickSource;

/// The custom horizontal progress bar: a bezel from nine named images ("pi_topLeft" ...
/// "pi_bottomRight"), a blue bar that grows over 300 ms and falls at once, a one-point leading
/// edge with an inner shadow, and two moving decorations (soft glows in determinate mode, slanted
/// stripes in indeterminate mode) while startAnimation() runs.
///
/// One tick source drives both the growth and the decorations, and it runs only while something
/// moves: an idle bar is painted on demand and never repaints by itself. Painting never requests
/// another paint. Main thread only.
class WyProgressIndicator : public QWidget {
    Q_OBJECT

public:
    /// Milliseconds on a monotonic clock.
    using Clock = std::function<qint64()>;

    explicit WyProgressIndicator(QWidget* parent = nullptr);
    /// For tests: a given tick source (e.g. a manual one, owned by the caller) and clock.
    WyProgressIndicator(TickSource* ticks, Clock clock, QWidget* parent = nullptr);
    ~WyProgressIndicator() override;

    double doubleValue() const { return m_model.doubleValue(); }
    void setDoubleValue(double value);
    double minValue() const { return m_model.minValue(); }
    void setMinValue(double value) { m_model.setMinValue(value); }
    double maxValue() const { return m_model.maxValue(); }
    void setMaxValue(double value) { m_model.setMaxValue(value); }
    double internalDoubleValue() const { return m_model.internalDoubleValue(); }
    void setInternalDoubleValue(double value);
    bool isIndeterminate() const { return m_model.isIndeterminate(); }
    /// Stores the flag; redraws nothing.
    void setIndeterminate(bool flag) { m_model.setIndeterminate(flag); }
    int theme() const { return m_theme; }
    /// Every theme draws the same blue bar; applying one redraws unless animating.
    void setTheme(int theme);

    bool isAnimating() const { return m_model.isAnimating(); }
    int currentAnimationStep() const { return m_model.currentAnimationStep(); }
    /// Starts the decorations (nothing when they already run); stopAnimation() ends them and
    /// redraws without them (nothing when idle).
    void startAnimation();
    void stopAnimation();

    /// The bar's rect in widget coordinates.
    QRectF progressBarRect() const;
    /// True while the tick source runs.
    bool isTicking() const;

    QSize sizeHint() const override { return { 200, 20 }; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void onTick();
    void syncTicks();
    void requestRedraw();
    void updateAccessibleValue();
    void drawProgressBar(QPainter& painter);
    void drawAnimationStep(QPainter& painter);
    void drawIndeterminateAnimationStep(QPainter& painter);

    ProgressIndicatorModel m_model;
    TickSource* m_ticks = nullptr;
    Clock m_clock;
    int m_theme = 0;
};

} // namespace vantrel
