#pragma once

#include <array>
#include <functional>

#include <QAbstractButton>
#include <QWidget>

class QLabel;
class QMenuBar;
class QPushButton;

namespace vantrel {

class OvWindowButton;

/// One step tab of the title bar: its caption only; the highlight and underline behind it are
/// separate views that move to the chosen tab. A tab whose state is off is the chosen one.
class MainTabButton : public QAbstractButton {
    Q_OBJECT
public:
    MainTabButton(const QString& caption, QWidget* parent = nullptr);
    /// "on" for the tabs that are not chosen.
    bool stateOn() const { return m_stateOn; }
    void setStateOn(bool on);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_stateOn = true;
};

/// The main window's 160-point title bar: flat panel colour under the header gradient, the custom
/// window buttons and the menu in the top strip, the application's name, the three step tabs
/// with their highlight and underline, the hidden support-number line, and the cover that blocks
/// the bar while the wizard is disabled. A press on the bar's background starts moving the
/// window (through the callbacks).
class MainTitleBarView : public QWidget {
    Q_OBJECT
public:
    explicit MainTitleBarView(QWidget* parent = nullptr);

    OvWindowButton* btnCloseWindow = nullptr;
    OvWindowButton* btnMinimizeWindow = nullptr;
    OvWindowButton* btnZoomWindow = nullptr;
    QMenuBar* menuBar = nullptr;
    QLabel* lblAppName = nullptr;
    std::array<MainTabButton*, 3> tabs {};
    QWidget* lblOnTabButtons = nullptr;
    QWidget* lblLineSelectedOption = nullptr;
    QPushButton* btnTodisableTop = nullptr;
    QWidget* viewContactSupport = nullptr;
    QLabel* lblContactNumber = nullptr;

    /// Moves the highlight and the underline onto tab 1 to 3 and sets the tab states.
    void selectTab(int tab);
    int selectedTab() const { return m_selectedTab; }

    /// Mouse-down and drag on the bar's background (window coordinates / screen coordinates).
    std::function<void(QPointF inWindow)> mouseDown;
    std::function<void(QPointF onScreen)> mouseDragged;

protected:
    /// Tab follows the window's reading order, as in the main screen below the bar.
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void layoutParts();

    int m_selectedTab = 1;
};

} // namespace vantrel
