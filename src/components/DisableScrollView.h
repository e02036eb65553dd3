#pragma once

#include <QScrollArea>

namespace vantrel {

/// A scroll area whose wheel scrolling can be switched off: while scrollingEnabled is false the
/// wheel is swallowed (neither scrolled nor passed on).
class DisableScrollView : public QScrollArea {
    Q_OBJECT

public:
    explicit DisableScrollView(QWidget* parent = nullptr);

    bool scrollingEnabled() const { return m_scrollingEnabled; }
    void setScrollingEnabled(bool flag) { m_scrollingEnabled = flag; }

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_scrollingEnabled = true;
};

} // namespace vantrel
