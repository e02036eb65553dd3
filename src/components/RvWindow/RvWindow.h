#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace vantrel {

class RvColorView;

/// A window that lays a tint of a chosen colour over its title bar and passes a visual-effect
/// state to the title bar's view. The title bar is the window's own: a direct child named
/// kTitlebarContainerName (the tint goes in it, below its first child, and follows its size),
/// holding a child named kTitlebarViewName (it receives the effect state as its "effectState"
/// property). A window without such a container shows no tint, and the effect state is only
/// stored. setupTitlebarTint runs at construction and again whenever the caller has built its
/// title bar; a container already tinted is not tinted twice.
class RvWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kTitlebarContainerName = "titlebarContainer";
    static constexpr const char* kTitlebarViewName = "titlebarView";
    static constexpr const char* kEffectStateProperty = "effectState";

    /// initWithContentRect: a top-level window with the content rect (position and size) and
    /// the flags given.
    explicit RvWindow(const QRect& contentRect = {}, Qt::WindowFlags flags = Qt::Window, QWidget* parent = nullptr);

    void setupTitlebarTint();
    /// The title bar's view inside the first container, or nullptr.
    QWidget* applesTitlebarView() const;

    QColor titlebarTintColor() const { return m_titlebarTintColor; }
    /// The same colour again leaves the tint view untouched.
    void setTitlebarTintColor(const QColor& color);
    qint64 titlebarEffectState() const { return m_titlebarEffectState; }
    void setTitlebarEffectState(qint64 state);
    RvColorView* tintView() const { return m_tintView; }
    void setTintView(RvColorView* view);

    /// (25, 25, 25) at 0.96 alpha.
    static QColor defaultTintColor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> titlebarContainers() const;

    QColor m_titlebarTintColor;
    qint64 m_titlebarEffectState = 0;
    QPointer<RvColorView> m_tintView;
};

} // namespace vantrel
