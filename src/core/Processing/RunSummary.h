#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/RunInterfaces.h"

namespace vantrel {

/// The figures and texts that end a run: the summary labels, the log rows, the current-run
/// dictionary and the bottom progress line. Pure functions of the run's records and times, so the
/// engine and the tests compute them the same way. Counts come from the records (status 1 is
/// converted), never from counters that a stop or a hold may have left behind.
class RunSummary {
public:
    static const QStringList& summaryColumns();
    static const QStringList& detailColumns();

    /// Elapsed time as shown: the duration text of the whole seconds, "1 second" when that is empty.
    static QString elapsedText(const QDateTime& start, const QDateTime& now);
    /// The run stamp, the log key of a run: "MMddYYYY hhmms a" (week-based year, as stored logs
    /// use), in en_US_POSIX whatever the user's locale.
    static QString runStamp(const QDateTime& start);
    /// The log text of a status code.
    static QString getMessageForstatus(qint32 status);

    static RunSummaryTexts summaryTexts(const QList<PhotoFilePtr>& photos, const QString& elapsed);
    static QVariantMap summaryRow(const QString& stamp, const RunSummaryTexts& texts);
    static QVariantMap detailRow(const QString& stamp, const PhotoFile& photo);
    /// The current-run dictionary that the log viewer shows for a run in progress or just ended.
    static QVariantMap logDetails(const QList<PhotoFilePtr>& photos, const QString& stamp, const QString& elapsed);

    /// The line under the summary about the run's log: empty when it was saved into the database
    /// as it was; else what became of it (not saved and why, kept for the next run, or the damaged
    /// database set aside).
    static QString logNotice(const RunLogResult& result);

    /// "Process Completed: P %  |  ErrorS reported: E  |  Time elapsed: T approx." with every
    /// occurrence of P, E and T highlighted. A run without photos reads 100 %.
    static RunBottomLine bottomLine(qint64 errors, qint64 done, qint64 total, const QString& elapsed);
    /// Percent done in whole numbers; 100 for a run without photos.
    static int percentDone(qint64 done, qint64 total);
};

} // namespace vantrel
