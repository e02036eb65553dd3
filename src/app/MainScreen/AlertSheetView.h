#pragma once

#include <functional>
#include <map>

#include <QWidget>

#include "core/Wizard/AlertCatalogue.h"

class QLabel;
class QPushButton;

namespace vantrel {

/// The content of the shared alert sheet (`winAlert`): a title, a message and eight buttons, of
/// which an alert shows its own, at the sheet size the alert gives. The buttons call back with
/// their AlertButton; the sheet itself is begun and ended by the main screen.
class AlertSheetView : public QWidget {
    Q_OBJECT

public:
    explicit AlertSheetView(QWidget* parent = nullptr);

    /// Shows the alert's texts and buttons at its size.
    void setAlert(const AlertContent& alert);
    void setButtonHandler(std::function<void(AlertButton)> handler) { m_handler = std::move(handler); }

    QLabel* lblAlertTitle() const { return m_title; }
    QLabel* lblAlertMsg() const { return m_message; }
    QPushButton* button(AlertButton which) const { return m_buttons.at(which); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();

    QLabel* m_title = nullptr;
    QLabel* m_message = nullptr;
    std::map<AlertButton, QPushButton*> m_buttons;
    std::function<void(AlertButton)> m_handler;
    QList<AlertButton> m_visible;
    std::optional<int> m_cancelX;
};

} // namespace vantrel
