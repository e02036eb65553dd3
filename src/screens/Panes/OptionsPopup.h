#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QStringList>

class QAbstractButton;
class QListWidget;
class QWidget;

namespace vantrel {

class LocalMouseMonitor;
class TorAttachedWindow;

/// The one-column option list that the panes drop below a button (presets, formats, naming): an
/// attached popup in the popup colour, no arrow, square corners, rows 30 high, closed by a click
/// anywhere outside it or by choosing a row. Main thread only.
class OptionsPopup : public QObject {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 30;
    static constexpr int kRowPadding = 8;

    using Chosen = std::function<void(int row)>;
    using Closed = std::function<void()>;

    explicit OptionsPopup(QObject* parent = nullptr);
    ~OptionsPopup() override;

    /// Opens the list below `anchor`, `height` high and as wide as the anchor less 2. An open
    /// popup is closed first. `chosen` gets the row picked; `closed` runs whenever it closes.
    void show(QWidget* anchor, const QStringList& rows, int height, Chosen chosen, Closed closed = {});
    /// Closes the popup when it is open (removes the click monitor first).
    void dismissPanel();
    bool isOpen() const;
    QListWidget* list() const;

private:
    void removeAttachedPopupWindow();

    QPointer<TorAttachedWindow> m_window;
    QPointer<QListWidget> m_list;
    QPointer<LocalMouseMonitor> m_monitor;
    Chosen m_chosen;
    Closed m_closed;
};

} // namespace vantrel
