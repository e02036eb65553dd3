#pragma once

#include <QTextEdit>

namespace vantrel {

/// A text view that shows a grey placeholder at its top-left corner while it is empty and not
/// being edited; focus changes redraw it, so the placeholder goes while the user types.
class TextViewWithPlaceHolder : public QTextEdit {
    Q_OBJECT

public:
    explicit TextViewWithPlaceHolder(QWidget* parent = nullptr);

    QString placeholderString() const { return m_placeholderString; }
    void setPlaceholderString(const QString& text);

    /// Whether the placeholder is drawn now.
    bool showsPlaceholder() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_placeholderString;
};

} // namespace vantrel
