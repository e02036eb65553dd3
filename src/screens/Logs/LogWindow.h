#pragma once

#include <QWidget>

class QAbstractButton;

namespace vantrel {

class LogDetailView;

/// The log window: a frameless window of its own with a title strip holding close, minimise
/// and zoom buttons, around a LogDetailView. The main screen opens it on a run's stamp; closing
/// only hides it, so the view and its rows stay until the next opening. Main thread only.
class LogWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogWindow(QWidget* parent = nullptr);

    LogDetailView* logDetailView() const { return m_view; }
    void btnCloseLogsTapped() { close(); }
    void btnMinimizeTapped();
    void btnZoomTapped();

    QAbstractButton* btnCloseWindow() const { return m_btnCloseWindow; }
    QAbstractButton* btnMinimizeWindow() const { return m_btnMinimizeWindow; }
    QAbstractButton* btnZoomWindow() const { return m_btnZoomWindow; }

signals:
    /// The window is closing (its close control, a key or the window manager): the owner's
    /// window-close handler clears what it set when the window opened.
    void windowWillClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    LogDetailView* m_view = nullptr;
    QAbstractButton* m_btnCloseWindow = nullptr;
    QAbstractButton* m_btnMinimizeWindow = nullptr;
    QAbstractButton* m_btnZoomWindow = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace vantrel
