#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPointer>
#include <QWidget>

#include "components/TitleBar/OvTitlebarView.h"

namespace vantrel {

class OvAppStoreWindow;
class OvWindowButton;
class OvResizeGrip;

/// What a window's owner may decide about it. Every answer is optional.
class OvAppStoreWindowDelegate {
public:
    virtual ~OvAppStoreWindowDelegate() = default;
    /// Where a sheet opens (y-up in the window's frame); nothing leaves it to the window.
    virtual std::optional<QRectF> willPositionSheet(OvAppStoreWindow* window, const QRectF& rect);
};

/// The window's own delegate: asks the owner's delegate first and otherwise places sheets
/// below the title bar.
class OvAppStoreWindowDelegateProxy {
public:
    OvAppStoreWindowDelegate* secondaryDelegate = nullptr; // not owned
    QRectF willPositionSheet(OvAppStoreWindow* window, const QRectF& rect) const;
};

/// A frameless top-level window with a title bar of any height: a container at the top holds a
/// replaceable title-bar view (the default one draws gradient, separator, noise and title), the
/// three window buttons are laid out inside the bar, the content view fills the space below it,
/// and sheets open below it (the dynamic property "vantrelSheetTop" carries that offset for the
/// sheet layer). Thin areas along the edges resize the window. Main thread only.
///
/// Activation: the title-bar view is enabled exactly while the window is active. Qt keeps a
/// control that its owner disabled disabled when the container is enabled again, so activation
/// never overrides what the screens set.
class OvAppStoreWindow : public QWidget {
    Q_OBJECT
public:
    using DrawingBlock = std::function<void(QPainter&, bool active, const QRectF& rect, const QPainterPath& clip)>;

    static constexpr double kStandardTitleBarHeight = 22.0;
    static constexpr double kStandardSeparation = 6.0;
    static constexpr int kResizeMargin = 5;
    static constexpr char kSheetTopProperty[] = "vantrelSheetTop";

    explicit OvAppStoreWindow(QWidget* parent = nullptr);
    ~OvAppStoreWindow() override;

    QWidget* contentView() const { return m_contentView; }
    /// Takes the view (reparented into the window) and places it below the bar.
    void setContentView(QWidget* view);

    double titleBarHeight() const { return m_titleBarHeight; }
    void setTitleBarHeight(double height);
    QWidget* titleBarView() const { return m_titleBarView; }
    /// Ignores nothing-at-all and the view already set. The old view is removed, not deleted,
    /// except the plain view the window made for itself, which nobody else holds: it is deleted.
    void setTitleBarView(QWidget* view);
    QWidget* titleBarContainer() const { return m_container; }

    bool showsBaselineSeparator() const { return m_showsBaselineSeparator; }
    void setShowsBaselineSeparator(bool shows);
    double trafficLightButtonsLeftMargin() const { return m_leftMargin; }
    void setTrafficLightButtonsLeftMargin(double margin);
    double trafficLightButtonsTopMargin() const { return m_topMargin; }
    void setTrafficLightButtonsTopMargin(double margin) { m_topMargin = margin; }
    double trafficLightSeparation() const { return m_separation; }
    void setTrafficLightSeparation(double separation);
    bool centerTrafficLightButtons() const { return m_centerTrafficLights; }
    void setCenterTrafficLightButtons(bool centre);
    bool verticalTrafficLightButtons() const { return m_verticalTrafficLights; }
    void setVerticalTrafficLightButtons(bool vertical);
    bool showsTitle() const { return m_showsTitle; }
    void setShowsTitle(bool shows);
    bool showsTitleInFullscreen() const { return m_showsTitleInFullscreen; }
    void setShowsTitleInFullscreen(bool shows) { m_showsTitleInFullscreen = shows; }
    bool verticallyCenterTitle() const { return m_verticallyCenterTitle; }
    void setVerticallyCenterTitle(bool centre);
    bool hideTitleBarInFullScreen() const { return m_hideTitleBarInFullScreen; }
    void setHideTitleBarInFullScreen(bool hide) { m_hideTitleBarInFullScreen = hide; }

    /// The colours in use: those set for the state, else the defaults.
    OvTitleBarColors titleBarColors(bool active) const;
    void setTitleBarColors(bool active, const OvTitleBarColors& colors);
    QFont titleFont() const;
    void setTitleFont(const QFont& font) { m_titleFont = font; }
    const DrawingBlock& titleBarDrawingBlock() const { return m_drawingBlock; }
    void setTitleBarDrawingBlock(DrawingBlock block);

    /// The window's own buttons; a replacement cannot be given (these setters keep them).
    OvWindowButton* closeButton() const { return m_close; }
    OvWindowButton* minimizeButton() const { return m_minimize; }
    OvWindowButton* zoomButton() const { return m_zoom; }
    void setCloseButton(OvWindowButton*) { }
    void setMinimizeButton(OvWindowButton*) { }
    void setZoomButton(OvWindowButton*) { }

    OvAppStoreWindowDelegate* delegate() const { return m_proxy.secondaryDelegate; }
    void setDelegate(OvAppStoreWindowDelegate* delegate);

    /// True while the window is the active window (the title bar draws and acts as active).
    bool drawsAsActive() const;
    /// The sheet layer's top offset: where the proxy places a sheet, in widget coordinates.
    int sheetTop() const;

    /// Asks the window manager to move or resize the window; false when it cannot (no window
    /// manager, as under Xvfb), in which case the caller drags the window itself.
    bool startSystemMove();
    bool startSystemResize(Qt::Edges edges);

    /// Lays the bar, the buttons, the content and the edge areas out again.
    void layoutTrafficLightsAndContent();

signals:
    /// A close request from the window manager; the window stays open and the owner decides.
    void closeRequested();
    void titleBarActivationChanged(bool active);

protected:
    /// Tab follows the window's reading order (ReadingOrder) over the bar and the content alike:
    /// rows from top to bottom, each panel read whole, and round again.
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void updateTitlebarView();
    void placeResizeGrips();

    QWidget* m_container = nullptr;
    QPointer<QWidget> m_titleBarView;
    QPointer<QWidget> m_ownTitleBarView;
    QPointer<QWidget> m_contentView;
    OvWindowButton* m_close = nullptr;
    OvWindowButton* m_minimize = nullptr;
    OvWindowButton* m_zoom = nullptr;
    QList<OvResizeGrip*> m_grips;
    OvAppStoreWindowDelegateProxy m_proxy;

    double m_titleBarHeight = kStandardTitleBarHeight;
    double m_cachedTitleBarHeight = kStandardTitleBarHeight;
    bool m_showsBaselineSeparator = true;
    double m_leftMargin = 3.0;
    double m_topMargin = 0.0;
    double m_separation = kStandardSeparation;
    bool m_centerTrafficLights = true;
    bool m_verticalTrafficLights = false;
    bool m_showsTitle = false;
    bool m_showsTitleInFullscreen = false;
    bool m_verticallyCenterTitle = false;
    bool m_hideTitleBarInFullScreen = false;
    std::optional<OvTitleBarColors> m_activeColors;
    std::optional<OvTitleBarColors> m_inactiveColors;
    std::optional<QFont> m_titleFont;
    DrawingBlock m_drawingBlock;
};

} // namespace vantrel
