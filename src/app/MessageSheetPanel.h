#pragma once

#include <QFrame>
#include <QList>
#include <QStringList>

class QLabel;
class QPushButton;

namespace vantrel {

/// The content of a small question sheet: a title, a message and a row of buttons (the first
/// is the default one), in the popup colour of the dark palette.
class MessageSheetPanel : public QFrame {
    Q_OBJECT
public:
    MessageSheetPanel(const QString& title, const QString& message, const QStringList& buttons,
        const QString& accessibleName, QWidget* parent = nullptr);

    QPushButton* button(int index) const { return m_buttons.value(index); }
    QLabel* titleLabel() const { return m_title; }
    QLabel* messageLabel() const { return m_message; }

private:
    QLabel* m_title;
    QLabel* m_message;
    QList<QPushButton*> m_buttons;
};

} // namespace vantrel
