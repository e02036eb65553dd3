#pragma once

#include <QPushButton>
#include <QWidget>

namespace vantrel {

/// The photo menu's content: reveal in the file manager, open, get info, delete. Each button
/// reports its option number (0, 1, 2 and 4). With the keyboard inside, it is a menu: Up and
/// Down (Tab and Shift+Tab too) move between the items, coming round at the ends, Home and End
/// go to the first and last, an item's first letter goes to it, and Return, Enter or Space
/// chooses the focused item; focus never leaves the menu by a key (Escape is its owner's).
class PhotoMenuView : public QWidget {
    Q_OBJECT
public:
    explicit PhotoMenuView(QWidget* parent = nullptr);

    QPushButton* btnReviealInFinder() const { return m_buttons[0]; }
    QPushButton* btnShowPreview() const { return m_buttons[1]; }
    QPushButton* btnGetInfo() const { return m_buttons[2]; }
    QPushButton* btnDeleteOnMenuOption() const { return m_buttons[3]; }

    /// Gives the keyboard to the first item (the menu was opened by a key).
    void focusFirstItem();

signals:
    void btnOnMenuOptionTapped(int option);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* m_buttons[4] {};
};

} // namespace vantrel
