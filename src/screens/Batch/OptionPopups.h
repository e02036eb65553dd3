#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTableWidget>

#include "components/TorAttachedWindow.h"
#include "core/Batch/BatchPopupRules.h"

namespace vantrel {

class LocalMouseMonitor;
class TorAttachedWindow;

/// The add-photos screen's option popups: the add options under the add-more button and the
/// file types under the file-type button, in one table shown in an attached popup below its
/// button. A click on an add option closes the popup and reports the row; a click on a file type
/// does nothing. While it is open it has the keyboard to itself, as every option list does
/// (OptionListKeys: arrows move the highlight, Return or Space chooses, Escape closes, a letter
/// goes to its row; Tab and shortcuts reach nothing under it). It closes on a click anywhere
/// outside it, on Escape, when its button is hidden with its step, and when the focus moves
/// anywhere (the window deactivated, a sheet taking the keyboard); the focus then goes back to
/// its button, ringed when it was. Main thread only.
class OptionPopups : public QObject {
    Q_OBJECT
public:
    /// `screen` is the widget whose window shows the popups.
    explicit OptionPopups(QWidget* screen);
    ~OptionPopups() override;

    /// The file-type rows.
    static QStringList arrFileTypes();

    /// Opens the add options (type 1) under `button`, unless the list is empty.
    void btnAddMorePhotosTapped(QWidget* button, const QStringList& arrAddPhotosOptions);
    /// Opens the file types (type 0) under `button`.
    void btnSelectFileTypeTapped(QWidget* button);
    void dismissPanel();
    /// The highlighted row, -1 for none.
    int highlightedRow() const;

    OptionPopupType flagCurrentAttachPopupType() const { return m_type; }
    TorAttachedWindow* attachedPopUpWindow() const { return m_popup; }
    QWidget* vwPopupWithTableOptions() const { return m_view; }
    QTableWidget* tblPopupOptions() const { return m_table; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    /// An add option was chosen (0 to 2: files, folder, with filters; 3: a photo library).
    void addOptionChosen(int row);

private:
    void fillTable(const QStringList& rows);
    void addAttachedPopupWindowWithTag(QWidget* button);
    void tableViewSelectionDidChange(int row);
    void keyPressed(int key, const QString& text);
    void focusMoved(QWidget* now);

    QPointer<QWidget> m_screen;
    QWidget* m_view;
    QTableWidget* m_table;
    QPointer<TorAttachedWindow> m_popup;
    QPointer<LocalMouseMonitor> m_monitor;
    QPointer<QWidget> m_opener;
    bool m_openerRinged = false;
    OptionPopupType m_type = OptionPopupType::FileTypes;
    bool m_isFristTimeAddMoreTapped = true;
};

} // namespace vantrel
