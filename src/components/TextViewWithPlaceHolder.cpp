#include "components/TextViewWithPlaceHolder.h"

#include <QPainter>

namespace vantrel {

TextViewWithPlaceHolder::TextViewWithPlaceHolder(QWidget* parent)
    : QTextEdit(parent)
{
    // Repaint when the text empties or fills, not only on focus changes.
    connect(this, &QTextEdit::textChanged, viewport(), qOverload<>(&QWidget::update));
}

void TextViewWithPlaceHolder::setPlaceholderString(const QString& text)
{
    // The placeholder names the view for screen readers unless its screen named it.
    if (accessibleName().isEmpty() || accessibleName() == m_placeholderString)
        setAccessibleName(text);
    m_placeholderString = text;
    viewport()->update();
}

bool TextViewWithPlaceHolder::showsPlaceholder() const
{
    return document()->isEmpty() && !hasFocus() && !m_placeholderString.isEmpty();
}

void TextViewWithPlaceHolder::paintEvent(QPaintEvent* event)
{
    QTextEdit::paintEvent(event);
    if (!showsPlaceholder())
        return;
    QPainter painter(viewport());
    painter.setPen(QColor(128, 128, 128));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    painter.drawText(QPoint(0, metrics.ascent()), m_placeholderString);
}

void TextViewWithPlaceHolder::focusInEvent(QFocusEvent* event)
{
    viewport()->update();
    QTextEdit::focusInEvent(event);
}

void TextViewWithPlaceHolder::focusOutEvent(QFocusEvent* event)
{
    viewport()->update();
    QTextEdit::focusOutEvent(event);
}

} // namespace vantrel
