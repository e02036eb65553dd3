#pragma once

#include <QPushButton>
#include <QWidget>

namespace vantrel {

/// The photo menu's content: reveal in the file manager, open, get info, delete. Each button
/// reports its option number (0, 1, 2 and 4).
class PhotoMenuView : public QWidget {
    Q_OBJECT
public:
    explicit PhotoMenuView(QWidget* parent = nullptr);

    QPushButton* btnReviealInFinder() const { return m_buttons[0]; }
    QPushButton* btnShowPreview() const { return m_buttons[1]; }
    QPushButton* btnGetInfo() const { return m_buttons[2]; }
    QPushButton* btnDeleteOnMenuOption() const { return m_buttons[3]; }

signals:
    void btnOnMenuOptionTapped(int option);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* m_buttons[4] {};
};

} // namespace vantrel
