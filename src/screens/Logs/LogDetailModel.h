#pragma once

#include <array>
#include <memory>

#include <QObject>
#include <QTimer>

#include "core/DbManager/DBManager.h"
#include "screens/Logs/LogDetailsTableModel.h"

namespace vantrel {

/// The log viewer without widgets: the runs of the log in the order they were written, the run
/// shown, its summary texts and its rows. A run's rows arrive a page at a time: the first page
/// when the run is shown, the others from a zero-delay timer on the main thread, so that a run
/// of a million rows shows at once and the window stays responsive while the rest loads. The
/// viewer only reads the database. While another connection holds the file (another copy of the
/// application writing its run), a read gives up after a moment and the viewer shows nothing but
/// says the log is busy. Main thread only.
class LogDetailModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstPageRows = 500;
    static constexpr int kPageRows = 4000;
    static constexpr int kSliceMilliseconds = 25; ///< reading time per timer turn

    /// The summary keys shown, in label order: selected, converted, failed, old size, new size,
    /// space saved, time elapsed, total old size.
    static const std::array<QString, 8>& summaryKeys();

    /// Reads through `dbManager` (the application's when null).
    explicit LogDetailModel(std::shared_ptr<DBManager> dbManager = {}, QObject* parent = nullptr);

    /// Reloads the list of runs and shows the first whose stamp equals `stamp`. An empty stamp, or
    /// one that matches no run, changes nothing and answers false. A busy log empties the viewer
    /// (isBusy()) and answers false.
    bool initWithLogTimeStamp(const QString& stamp);
    /// As initWithLogTimeStamp, but shows the run written under the identity `runId`: runs that
    /// started in the same second share their stamp, and only the identity tells them apart. Only a
    /// run without an identity is found by its stamp; one whose identity the log does not hold
    /// (its rows still waiting to be written) matches nothing.
    bool initWithLogRun(const QString& runId, const QString& stamp);
    /// Shows the run at `index` of the list (its summary and, page by page, its rows).
    void setLogDetailsForLogDict(int index);
    void btnNextLogTapped();
    void btnPrevLogTapped();

    bool isNextEnabled() const { return m_selected >= 0 && m_selected + 1 < m_summaries.size(); }
    bool isPrevEnabled() const { return m_selected >= 1; }
    int selectedLogIndex() const { return m_selected; }
    const DbRows& arrLogSummaries() const { return m_summaries; }
    /// The stored text of a summary key for the run shown (empty before any run).
    QString summaryText(const QString& key) const { return m_shown.value(key); }

    LogDetailsTableModel* tableModel() { return &m_rows; }
    /// Reads the next page of the run shown; false when every row has been read.
    bool loadNextPage(int limit = kPageRows);
    bool isLoading() const { return m_more; }
    /// The last read found the log held by another connection: nothing is shown.
    bool isBusy() const { return m_busy; }
    static QString busyText();

    /// The row count under the table: "1 photo", "2 photos", with "Loading… " before it while
    /// rows are still arriving.
    static QString rowCountText(int rows, bool finished);

    /// The status texts of the viewer (0, 1, 2, 7, 8, 12, 13; "-" for any other code).
    static QString getMessageForstatus(int status);

signals:
    /// The run shown changed (summary texts, button states, or the log turned out busy).
    void runChanged();
    /// Rows were added, or the last page was read.
    void rowsLoaded(int rowCount, bool finished);

private:
    void loadSlice();
    void showBusy();

    std::shared_ptr<DBManager> m_db;
    DbRows m_summaries;
    QList<qint64> m_summaryIds; ///< the key of each summary row, in the same order
    int m_selected = -1;
    DbRow m_shown;
    QString m_stamp;
    qint64 m_summaryId = 0;
    qint64 m_lastId = 0;
    bool m_more = false;
    bool m_busy = false;
    LogDetailsTableModel m_rows;
    QTimer m_timer;
};

} // namespace vantrel
