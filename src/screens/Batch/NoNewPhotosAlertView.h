#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace vantrel {

/// The add-photos screen's own alert sheet: a title, a message, an OK button and a
/// remove-from-batch button.
class NoNewPhotosAlertView : public QWidget {
    Q_OBJECT
public:
    explicit NoNewPhotosAlertView(QWidget* parent = nullptr);

    QLabel* lblAlertTitleOnALertwin() const { return m_title; }
    QLabel* lblAlertMsgOnAlertWin() const { return m_message; }
    QPushButton* btnOkonAlertWin() const { return m_ok; }
    QPushButton* btnRemoveFromBatchOnAlertWin() const { return m_remove; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_message;
    QPushButton* m_ok;
    QPushButton* m_remove;
};

} // namespace vantrel
