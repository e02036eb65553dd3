#pragma once

#include <QHash>
#include <QWidget>

#include "screens/Logs/LogDetailModel.h"

class QAbstractButton;
class QLabel;
class QTableView;

namespace vantrel {

/// The log of one run: its summary figures, one table row per photo, and buttons to the previous
/// and the next run of the log. A thin widget over LogDetailModel; the table is virtual, so a run
/// of any length shows at once and its rows keep arriving while the window stays responsive.
/// Main thread only.
class LogDetailView : public QWidget {
    Q_OBJECT
public:
    explicit LogDetailView(QWidget* parent = nullptr);

    /// Shows the run with this stamp; an empty or unknown stamp keeps what is shown.
    void initWithLogTimeStamp(const QString& stamp);
    /// Shows the run written under the identity `runId`, or, for a run without one, the run with
    /// this stamp; otherwise keeps what is shown.
    void initWithLogRun(const QString& runId, const QString& stamp);
    void btnPrevLogTapped() { m_model.btnPrevLogTapped(); }
    void btnNextLogTapped() { m_model.btnNextLogTapped(); }

    LogDetailModel& model() { return m_model; }
    QTableView* tblLogs() const { return m_tblLogs; }
    QAbstractButton* btnPrevLog() const { return m_btnPrevLog; }
    QAbstractButton* btnNextLog() const { return m_btnNextLog; }
    /// The summary label of a log key ("imagesSelected", ... "totalOldSize").
    QLabel* summaryLabel(const QString& key) const { return m_summaryLabels.value(key); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showRun();
    void sizeColumns();

    LogDetailModel m_model;
    QLabel* m_processTitle = nullptr;
    QHash<QString, QLabel*> m_summaryLabels;
    QTableView* m_tblLogs = nullptr;
    QAbstractButton* m_btnPrevLog = nullptr;
    QAbstractButton* m_btnNextLog = nullptr;
    QLabel* m_lblLoading = nullptr;
    QLabel* m_lblBusy = nullptr;
};

} // namespace vantrel
