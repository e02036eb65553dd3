#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QWidget>

namespace vantrel {

class OvAppStoreWindow;

/// The colours of the default title bar for one activation state.
struct OvTitleBarColors {
    QColor start; ///< gradient at the bottom edge
    QColor end; ///< gradient at the top edge
    QColor separator;
    QColor text;
    QColor textShadow;

    /// The defaults: device white 0.66 / 0.9 / 0.408 active, 0.878 / 0.976 / 0.655 inactive;
    /// the title white 56/255 (alpha 0.5 when inactive) with a white shadow at alpha 0.5.
    static OvTitleBarColors defaults(bool active);
};

/// The default title-bar view of OvAppStoreWindow: a gradient from the bottom to the top edge,
/// a separator with a highlight line above it, a faint seeded noise while active, and the
/// window's title. A double click minimises the window.
class OvTitlebarView : public QWidget {
    Q_OBJECT
public:
    explicit OvTitlebarView(QWidget* parent = nullptr);

    /// The bar's clip: the bounds less the top row, the two top corners rounded by radius 4.
    static QPainterPath clippingPath(const QRectF& bounds, double radius = 4.0);
    /// The 124 x 124 grey noise tile, made once per process from a generator seeded with 120.
    static const QImage& noiseImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    OvAppStoreWindow* ownerWindow() const;
    void drawNoiseWithOpacity(QPainter& painter, double opacity);
};

} // namespace vantrel
