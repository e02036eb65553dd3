#pragma once

#include <QColor>
#include <QWidget>

namespace vantrel {

/// A view that fills itself with one colour. Without a colour it draws red, so a view whose
/// colour was never given stands out instead of blending in.
class RvColorView : public QWidget {
    Q_OBJECT

public:
    explicit RvColorView(QWidget* parent = nullptr);

    /// Invalid (no colour) by default.
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor;
};

} // namespace vantrel
