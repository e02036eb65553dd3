#pragma once

#include <functional>

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QStringList>

class QListWidget;
class QMouseEvent;
class QWidget;

namespace vantrel {

class LocalMouseMonitor;
class TorAttachedWindow;

/// The one-column option list that the panes drop below a button (presets, formats, naming): an
/// attached popup in the popup colour, no arrow, square corners, rows 30 high. While it is open
/// it has the keyboard to itself (OptionListKeys: arrows move the highlight, Return or Space
/// chooses, Escape closes, a letter goes to its row) and the pointer's row is the highlighted
/// one. It closes when a row is chosen, on a click anywhere outside it, on Escape, and when the
/// control it drops from is hidden with its pane or step. Focus then goes back to the control
/// that opened it. Main thread only.
class OptionsPopup : public QObject {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 30;
    static constexpr int kRowPadding = 8;

    using Chosen = std::function<void(int row)>;
    using Closed = std::function<void()>;

    explicit OptionsPopup(QObject* parent = nullptr);
    ~OptionsPopup() override;

    /// Opens the list below `anchor`, `height` high and as wide as the anchor less 2, with the
    /// row `current` highlighted (-1: none). An open popup is closed first. `opener` gets the
    /// focus back when the list closes; `chosen` gets the row picked; `closed` runs whenever it
    /// closes.
    void show(QWidget* anchor, QWidget* opener, const QStringList& rows, int height, int current, Chosen chosen,
        Closed closed = {});
    /// Closes the popup when it is open (removes the click monitor first).
    void dismissPanel();
    bool isOpen() const;
    QListWidget* list() const;
    TorAttachedWindow* popupWindow() const;
    /// The highlighted row, -1 for none.
    int highlightedRow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* makeList(QWidget* anchor, const QStringList& rows, int height);
    void pointerMoved(const QMouseEvent* move);
    void keyPressed(int key, const QString& text);
    void choose(int row);
    void removeAttachedPopupWindow();

    QPointer<TorAttachedWindow> m_window;
    QPointer<QListWidget> m_list;
    QPointer<LocalMouseMonitor> m_monitor;
    QPointer<QWidget> m_opener;
    bool m_openerRinged = false;
    bool m_pointerSeen = false;
    QPointF m_pointerAt;
    Chosen m_chosen;
    Closed m_closed;
};

} // namespace vantrel
