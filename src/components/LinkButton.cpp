#include "components/LinkButton.h"

#include <QPainter>

namespace vantrel {

LinkButton::LinkButton(QWidget* parent)
    : QPushButton(parent)
{
    awakeFromNib();
}

LinkButton::LinkButton(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    awakeFromNib();
}

void LinkButton::awakeFromNib()
{
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setTitle(text());
    setTitleColor(QColor(Qt::white));
}

void LinkButton::setTitle(const QString& title)
{
    setText(title);
    m_titleColor = QColor(Qt::blue);
    m_fontSize = 0;
    m_bold = false;
    updateGeometry();
    update();
}

void LinkButton::setTitle(const QString& title, qreal fontSize, bool bold, std::optional<QColor> color)
{
    setText(title);
    m_titleColor = color ? color : QColor(Qt::blue);
    m_fontSize = fontSize;
    m_bold = bold;
    updateGeometry();
    update();
}

void LinkButton::setTitleColor(std::optional<QColor> color)
{
    m_titleColor = color;
    update();
}

QFont LinkButton::titleFont() const
{
    QFont f = font();
    if (m_fontSize > 0)
        f.setPixelSize(qRound(m_fontSize)); // sizes are given in screen points, one pixel each
    f.setBold(m_bold);
    f.setUnderline(true);
    return f;
}

QSize LinkButton::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    return { metrics.horizontalAdvance(text()) + 4, metrics.height() + 4 };
}

void LinkButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QFont f = titleFont();
    painter.setFont(f);
    QColor color = m_titleColor.value_or(palette().color(QPalette::ButtonText));
    if (!isEnabled())
        color.setAlphaF(color.alphaF() * 0.45f); // a disabled link reads as such
    painter.setPen(color);
    QRect area = rect();
    if (isDown())
        area.translate(1, 1);
    const QString shown = QFontMetrics(f).elidedText(text(), Qt::ElideRight, area.width());
    painter.drawText(area, Qt::AlignCenter, shown);
}

} // namespace vantrel
