#pragma once

#include <optional>

#include <QPushButton>

namespace vantrel {

/// A link-style button: an underlined title, cut at its tail when too long, with the
/// pointing-hand cursor; pressed, the title moves in by one point. A new button is white and
/// underlined (blue only when setTitle() is called alone). The title is also its accessible name.
class LinkButton : public QPushButton {
    Q_OBJECT

public:
    explicit LinkButton(QWidget* parent = nullptr);
    explicit LinkButton(const QString& title, QWidget* parent = nullptr);

    /// Blue and underlined, in the button's font.
    void setTitle(const QString& title);
    /// Blue (or `color` when given) and underlined, in the system font of that size, bold when
    /// asked.
    void setTitle(const QString& title, qreal fontSize, bool bold, std::optional<QColor> color = std::nullopt);
    /// Keeps the title and its font; no colour means the palette's button text colour.
    void setTitleColor(std::optional<QColor> color);

    std::optional<QColor> titleColor() const { return m_titleColor; }
    QFont titleFont() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void awakeFromNib();

    std::optional<QColor> m_titleColor;
    qreal m_fontSize = 0; // 0: the widget's font
    bool m_bold = false;
};

} // namespace vantrel
