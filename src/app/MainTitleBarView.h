#pragma once

#include <array>

#include <QWidget>

class QLabel;
class QMenuBar;
class QPushButton;

namespace vantrel {

class HighlightedButton;
class IMGButton;
class MouseDownView;

/// The main window's 160-point title bar: flat panel colour under the header gradient, the custom
/// window buttons and the menu in the top strip, the application's name, the three step tabs
/// with their highlight and underline, the hidden support-number line, and the cover that blocks
/// the bar while the wizard is disabled.
class MainTitleBarView : public QWidget {
    Q_OBJECT
public:
    explicit MainTitleBarView(QWidget* parent = nullptr);

    IMGButton* btnCloseWindow = nullptr;
    IMGButton* btnMinimizeWindow = nullptr;
    IMGButton* btnZoomWindow = nullptr;
    QMenuBar* menuBar = nullptr;
    QLabel* lblAppName = nullptr;
    /// The step tabs: the chosen one has state 0 (its own enabled flag off, drawn in the tabs'
    /// disabled look), the others state 1.
    std::array<HighlightedButton*, 3> tabs {};
    QWidget* lblOnTabButtons = nullptr;
    QWidget* lblLineSelectedOption = nullptr;
    QPushButton* btnTodisableTop = nullptr;
    QWidget* viewContactSupport = nullptr;
    QLabel* lblContactNumber = nullptr;

    /// Moves the highlight and the underline onto tab 1 to 3 and sets the tab states.
    void selectTab(int tab);
    int selectedTab() const { return m_selectedTab; }

    /// The bar's background, under every other part: its presses and drags go to its delegate,
    /// which moves the window.
    MouseDownView* vwMouseDownLintener = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutParts();

    int m_selectedTab = 1;
};

} // namespace vantrel
