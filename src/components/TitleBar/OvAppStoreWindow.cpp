#include "components/TitleBar/OvAppStoreWindow.h"

#include <QCloseEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include "components/ReadingOrder.h"
#include "components/TitleBar/OvWindowButton.h"
#include "components/TitleBar/TitleBarLayout.h"
#include "core/ResourceImages.h"

namespace vantrel {

/// A thin area on an edge or corner of the window that resizes it: through the window manager
/// when it can, else by following the mouse.
class OvResizeGrip : public QWidget {
public:
    OvResizeGrip(OvAppStoreWindow* window, int edges)
        : QWidget(window)
        , m_window(window)
        , m_edges(edges)
    {
        using namespace TitleBarLayout;
        const bool horizontal = edges & (kLeftEdge | kRightEdge);
        const bool vertical = edges & (kTopEdge | kBottomEdge);
        if (horizontal && vertical) {
            const bool mainDiagonal = edges == (kTopEdge | kLeftEdge) || edges == (kBottomEdge | kRightEdge);
            setCursor(mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        } else {
            setCursor(horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
        }
        setAttribute(Qt::WA_NoSystemBackground);
    }
    int edges() const { return m_edges; }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        m_manual = !m_window->startSystemResize(Qt::Edges(m_edges));
        m_pressGlobal = event->globalPosition();
        m_startGeometry = m_window->geometry();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!m_manual || !(event->buttons() & Qt::LeftButton))
            return;
        const QSize min = m_window->minimumSize().expandedTo(QSize(200, 150));
        const QRectF next = TitleBarLayout::resizedGeometry(
            m_startGeometry, m_edges, event->globalPosition() - m_pressGlobal, QSizeF(min));
        m_window->setGeometry(next.toRect());
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_manual = false; }

private:
    OvAppStoreWindow* m_window;
    int m_edges;
    bool m_manual = false;
    QPointF m_pressGlobal;
    QRectF m_startGeometry;
};

std::optional<QRectF> OvAppStoreWindowDelegate::willPositionSheet(OvAppStoreWindow*, const QRectF&)
{
    return std::nullopt;
}

QRectF OvAppStoreWindowDelegateProxy::willPositionSheet(OvAppStoreWindow* window, const QRectF& rect) const
{
    if (secondaryDelegate) {
        if (auto decided = secondaryDelegate->willPositionSheet(window, rect))
            return *decided;
    }
    return TitleBarLayout::sheetRect(rect, window->height(), window->titleBarHeight());
}

namespace {

OvWindowButton* makeStandardButton(QWidget* parent, const QString& name, const QString& accessibleName)
{
    auto* button = OvWindowButton::windowButtonWithSize(QSize(14, 14), QString(), parent);
    button->setActiveImage(QPixmap::fromImage(ResourceImages::named(name + "-normal")));
    button->setPressedImage(QPixmap::fromImage(ResourceImages::named(name + "-press")));
    button->setRolloverImage(QPixmap::fromImage(ResourceImages::named(name + "-hover")));
    button->setAccessibleName(accessibleName);
    return button;
}

} // namespace

OvAppStoreWindow::OvAppStoreWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    ResourceImages::initResources();
    m_container = new QWidget(this);
    m_container->setObjectName(QStringLiteral("titleBarContainer"));
    m_ownTitleBarView = new OvTitlebarView;
    setTitleBarView(m_ownTitleBarView);

    m_close = makeStandardButton(this, QStringLiteral("close"), QStringLiteral("Close window"));
    m_minimize = makeStandardButton(this, QStringLiteral("min"), QStringLiteral("Minimise window"));
    m_zoom = makeStandardButton(this, QStringLiteral("max"), QStringLiteral("Zoom window"));
    connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);
    connect(m_minimize, &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(m_zoom, &QAbstractButton::clicked, this, [this] { isFullScreen() ? showNormal() : showFullScreen(); });

    using namespace TitleBarLayout;
    for (int edges : { kTopEdge, kBottomEdge, kLeftEdge, kRightEdge, kTopEdge | kLeftEdge, kTopEdge | kRightEdge,
             kBottomEdge | kLeftEdge, kBottomEdge | kRightEdge })
        m_grips.append(new OvResizeGrip(this, edges));

    resize(800, 600);
    layoutTrafficLightsAndContent();
}

OvAppStoreWindow::~OvAppStoreWindow() = default;

bool OvAppStoreWindow::focusNextPrevChild(bool next)
{
    return ReadingOrder::moveFocus(this, next) || QWidget::focusNextPrevChild(next);
}

void OvAppStoreWindow::setContentView(QWidget* view)
{
    if (view == m_contentView)
        return;
    if (m_contentView)
        m_contentView->hide();
    m_contentView = view;
    if (view) {
        view->setParent(this);
        view->show();
    }
    layoutTrafficLightsAndContent();
}

void OvAppStoreWindow::setTitleBarHeight(double height)
{
    if (height == m_titleBarHeight)
        return;
    m_titleBarHeight = height;
    m_cachedTitleBarHeight = height;
    layoutTrafficLightsAndContent();
    update();
}

void OvAppStoreWindow::setTitleBarView(QWidget* view)
{
    if (!view || view == m_titleBarView)
        return;
    if (m_titleBarView && m_titleBarView == m_ownTitleBarView) {
        delete m_ownTitleBarView;
    } else if (m_titleBarView) {
        m_titleBarView->hide();
        m_titleBarView->setParent(nullptr);
    }
    m_titleBarView = view;
    view->setParent(m_container);
    view->setGeometry(m_container->rect());
    view->show();
    updateTitlebarView();
}

void OvAppStoreWindow::setShowsBaselineSeparator(bool shows)
{
    m_showsBaselineSeparator = shows;
    if (m_titleBarView)
        m_titleBarView->update();
}

void OvAppStoreWindow::setTrafficLightButtonsLeftMargin(double margin)
{
    if (margin == m_leftMargin)
        return;
    m_leftMargin = margin;
    layoutTrafficLightsAndContent();
}

void OvAppStoreWindow::setTrafficLightSeparation(double separation)
{
    if (separation == m_separation)
        return;
    m_separation = separation;
    layoutTrafficLightsAndContent();
}

void OvAppStoreWindow::setCenterTrafficLightButtons(bool centre)
{
    if (centre == m_centerTrafficLights)
        return;
    m_centerTrafficLights = centre;
    layoutTrafficLightsAndContent();
}

void OvAppStoreWindow::setVerticalTrafficLightButtons(bool vertical)
{
    if (vertical == m_verticalTrafficLights)
        return;
    m_verticalTrafficLights = vertical;
    layoutTrafficLightsAndContent();
}

void OvAppStoreWindow::setShowsTitle(bool shows)
{
    if (shows == m_showsTitle)
        return;
    m_showsTitle = shows;
    if (m_titleBarView)
        m_titleBarView->update();
}

void OvAppStoreWindow::setVerticallyCenterTitle(bool centre)
{
    if (centre == m_verticallyCenterTitle)
        return;
    m_verticallyCenterTitle = centre;
    if (m_titleBarView)
        m_titleBarView->update();
}

OvTitleBarColors OvAppStoreWindow::titleBarColors(bool active) const
{
    const auto& set = active ? m_activeColors : m_inactiveColors;
    return set ? *set : OvTitleBarColors::defaults(active);
}

void OvAppStoreWindow::setTitleBarColors(bool active, const OvTitleBarColors& colors)
{
    (active ? m_activeColors : m_inactiveColors) = colors;
}

QFont OvAppStoreWindow::titleFont() const
{
    return m_titleFont ? *m_titleFont : font();
}

void OvAppStoreWindow::setTitleBarDrawingBlock(DrawingBlock block)
{
    m_drawingBlock = std::move(block);
    if (m_titleBarView)
        m_titleBarView->update();
}

void OvAppStoreWindow::setDelegate(OvAppStoreWindowDelegate* delegate)
{
    m_proxy.secondaryDelegate = delegate;
    layoutTrafficLightsAndContent();
}

bool OvAppStoreWindow::drawsAsActive() const
{
    return isActiveWindow();
}

int OvAppStoreWindow::sheetTop() const
{
    const QRectF upSheet = m_proxy.willPositionSheet(const_cast<OvAppStoreWindow*>(this), QRectF(0, 0, width(), 0));
    return qRound(height() - upSheet.y()); // the sheet's top edge, y-down
}

bool OvAppStoreWindow::startSystemMove()
{
    QWindow* handle = windowHandle();
    return handle && handle->startSystemMove();
}

bool OvAppStoreWindow::startSystemResize(Qt::Edges edges)
{
    QWindow* handle = windowHandle();
    return handle && handle->startSystemResize(edges);
}

void OvAppStoreWindow::layoutTrafficLightsAndContent()
{
    using namespace TitleBarLayout;
    const double h = height();
    const QRectF frame(0, 0, width(), h);
    const QRectF container = containerFrame(frame, m_titleBarHeight);
    m_container->setGeometry(flipped(container, h).toRect());
    if (m_titleBarView)
        m_titleBarView->setGeometry(m_container->rect());

    TrafficLightOptions options;
    options.leftMargin = m_leftMargin;
    options.separation = m_separation;
    options.topMargin = m_topMargin;
    options.centred = m_centerTrafficLights;
    options.vertical = m_verticalTrafficLights;
    const TrafficLightFrames lights
        = trafficLights(container, m_close->size(), m_minimize->size(), m_zoom->size(), options);
    m_close->setGeometry(flipped(lights.close, h).toRect());
    m_minimize->setGeometry(flipped(lights.minimize, h).toRect());
    m_zoom->setGeometry(flipped(lights.zoom, h).toRect());
    for (OvWindowButton* button : { m_close, m_minimize, m_zoom })
        button->raise();

    if (m_contentView) {
        // The content keeps the bottom of the frame and the full width; its height is what the
        // bar leaves.
        const QRectF current(0, 0, width(), h - flipped(QRectF(m_contentView->geometry()), h).y());
        const QRectF wanted = repositionedContent(current, h, m_titleBarHeight).value_or(current);
        const QRect placed = flipped(wanted, h).toRect();
        if (placed != m_contentView->geometry())
            m_contentView->setGeometry(placed);
    }
    setProperty(kSheetTopProperty, sheetTop());
    placeResizeGrips();
}

void OvAppStoreWindow::placeResizeGrips()
{
    using namespace TitleBarLayout;
    const int m = kResizeMargin;
    const int w = width();
    const int h = height();
    const bool resizable = !(windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized));
    for (OvResizeGrip* grip : m_grips) {
        const int e = grip->edges();
        const int x = (e & kLeftEdge) ? 0 : (e & kRightEdge) ? w - m : m;
        const int y = (e & kTopEdge) ? 0 : (e & kBottomEdge) ? h - m : m;
        const int gw = (e & (kLeftEdge | kRightEdge)) ? m : w - 2 * m;
        const int gh = (e & (kTopEdge | kBottomEdge)) ? m : h - 2 * m;
        grip->setGeometry(x, y, gw, gh);
        grip->setVisible(resizable);
        grip->raise();
    }
}

void OvAppStoreWindow::updateTitlebarView()
{
    if (!m_titleBarView)
        return;
    const bool active = drawsAsActive();
    m_titleBarView->setEnabled(active);
    m_titleBarView->update();
    emit titleBarActivationChanged(active);
}

void OvAppStoreWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutTrafficLightsAndContent();
}

void OvAppStoreWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        updateTitlebarView();
        layoutTrafficLightsAndContent();
    } else if (event->type() == QEvent::WindowTitleChange) {
        layoutTrafficLightsAndContent();
        if (m_titleBarView)
            m_titleBarView->update();
    } else if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool fullScreen = windowState() & Qt::WindowFullScreen;
        const bool wasFullScreen = change->oldState() & Qt::WindowFullScreen;
        if (fullScreen != wasFullScreen && m_hideTitleBarInFullScreen) {
            m_titleBarHeight = fullScreen ? 0.0 : m_cachedTitleBarHeight;
            m_container->setVisible(!fullScreen);
        }
        layoutTrafficLightsAndContent();
    }
    QWidget::changeEvent(event);
}

void OvAppStoreWindow::closeEvent(QCloseEvent* event)
{
    // With an owner listening, the owner decides (and quits when it agrees); without one the
    // window closes as usual.
    if (!isSignalConnected(QMetaMethod::fromSignal(&OvAppStoreWindow::closeRequested))) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    emit closeRequested();
}

} // namespace vantrel
