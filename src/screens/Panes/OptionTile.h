#pragma once

#include <QWidget>

class QAbstractButton;
class QToolButton;

namespace vantrel {

/// One choice of the rotate and flip panes: a clickable picture above a radio button or check box
/// with its label. Clicking either sends clicked(). The picture is a named image, shown in its
/// chosen or plain form.
class OptionTile : public QWidget {
    Q_OBJECT
public:
    /// `check` makes the control a check box (the flip pane's look), else a radio button.
    OptionTile(const QString& text, bool check, QWidget* parent = nullptr);

    void setChosen(bool chosen, const QString& imageName);
    bool isChosen() const;
    QAbstractButton* control() const { return m_control; }
    QToolButton* picture() const { return m_picture; }

signals:
    void clicked();

private:
    QToolButton* m_picture = nullptr;
    QAbstractButton* m_control = nullptr;
};

} // namespace vantrel
