// Opens the log window on a run of many photos and prints how long the first rows take to show,
// how long the rest take to arrive, the longest pause of the event loop while they do, and the
// memory the process holds afterwards.
//
//   bench_logviewer [--rows N] [--whole-list]
//
// --rows N       photos of the long run (default 1,000,000)
// --whole-list   also time reading the same run as one list of dictionaries (the plain reader),
//                for comparison; needs several hundred megabytes more
//
// The log database is generated in a temporary data folder (the user's own log is not touched):
// a short run, the long run and another short run, with paths of a few hundred folders.
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "core/AppDelegate.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/RunSummary.h"
#include "screens/Logs/LogDetailView.h"
#include "screens/Logs/LogWindow.h"

using namespace vantrel;

namespace {

long statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

DbRows textColumns(const QStringList& names)
{
    DbRows columns;
    for (const QString& name : names)
        columns.append({ { "column", name }, { "dataType", "TEXT" } });
    return columns;
}

void writeRun(DBManager& db, const QString& stamp, int rows)
{
    db.InsertDetailInLogSummaryTable({ { "timeStamp", stamp }, { "imagesSelected", QString::number(rows) },
        { "imagesConverted", QString::number(rows - rows / 50) }, { "conversionFailed", QString::number(rows / 50) },
        { "oldSize", "2.41 TB" }, { "newSize", "603.11 GB" }, { "saveSpace", "1.80 TB" },
        { "timeElapsed", " 9 hours 12 minutes 3 seconds" }, { "totalOldSize", "2.45 TB" } });
    const int chunk = 50'000;
    for (int start = 0; start < rows; start += chunk) {
        DbRows page;
        page.reserve(chunk);
        for (int i = start; i < std::min(rows, start + chunk); ++i) {
            const bool failed = i % 50 == 49;
            const QString folder
                = QStringLiteral("/home/user/Pictures/Trips/%1/Day %2").arg(2000 + i % 25).arg(i % 300);
            page.append({ { "timeStamp", stamp },
                { "inputFilename", QStringLiteral("%1/IMG_%2.JPG").arg(folder).arg(i) },
                { "outputFilename",
                    failed ? QStringLiteral(" ") : QStringLiteral("/home/user/Pictures/Vantrel/IMG_%1.jpg").arg(i) },
                { "information", failed ? "File not available at source directory." : "Processed successfully." },
                { "oldSize", QStringLiteral("%1 MB").arg(2 + i % 7) }, { "newSize", failed ? "" : "603.11 KB" },
                { "ratio", failed ? " " : "24.95" }, { "save", failed ? " " : "1.81 MB" } });
        }
        db.InsertDetailInLogDetailsTable(page);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int rows = 1'000'000;
    bool wholeList = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--rows" && i + 1 < argc)
            rows = std::atoi(argv[++i]);
        else if (arg == "--whole-list")
            wholeList = true;
    }
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    AppDelegate::shareDelegate()->dbManager = std::make_shared<DBManager>();
    DBManager& db = *AppDelegate::shareDelegate()->dbManager;
    db.createTableWithColumns("tblLogSummary", textColumns(RunSummary::summaryColumns()));
    db.createTableWithColumns("tblLogDetails", textColumns(RunSummary::detailColumns()));

    QElapsedTimer timer;
    timer.start();
    writeRun(db, "03042026 1001 AM", 3);
    writeRun(db, "03042026 1002 AM", rows);
    writeRun(db, "03042026 1003 AM", 3);
    std::printf("database: %d rows written in %.1f s, %.0f MB on disk\n", rows + 6, timer.elapsed() / 1000.0,
        QFileInfo(db.excludedatabasePath()).size() / 1e6);

    malloc_trim(0); // what generating the database freed is given back, so the figures below are the viewer's

    LogWindow window;
    window.resize(1200, 800);
    window.show();
    app.processEvents();
    const long rssBefore = statusKilobytes("VmRSS:");

    // Time to the first rows on screen: the opening call and the paint that follows it.
    timer.restart();
    window.logDetailView()->initWithLogTimeStamp("03042026 1002 AM");
    const double openMs = timer.nsecsElapsed() / 1e6;
    app.processEvents();
    const double firstPaintMs = timer.nsecsElapsed() / 1e6;
    QTableView* table = window.logDetailView()->tblLogs();
    const int firstRows = table->model()->rowCount();

    // The rest arrives through the event loop; a 10 ms timer measures how long the loop pauses.
    qint64 longestGapNs = 0;
    QElapsedTimer gap;
    gap.start();
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longestGapNs = std::max(longestGapNs, gap.nsecsElapsed());
        gap.restart();
    });
    probe.start(10);
    LogDetailModel& model = window.logDetailView()->model();
    while (model.isLoading())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    const double allMs = timer.nsecsElapsed() / 1e6;
    probe.stop();
    table->scrollToBottom();
    app.processEvents();
    const long rssAfter = statusKilobytes("VmRSS:");

    std::printf("first rows: %d shown %.1f ms after opening (opening call %.1f ms)\n", firstRows, firstPaintMs, openMs);
    std::printf("all rows: %d in %.2f s; longest event-loop pause while loading %.1f ms\n", table->model()->rowCount(),
        allMs / 1000.0, longestGapNs / 1e6);
    std::printf("memory: resident %.0f MB before opening, %.0f MB with every row (+%.0f MB; rows packed in %.0f MB), "
                "peak %.0f MB\n",
        rssBefore / 1024.0, rssAfter / 1024.0, (rssAfter - rssBefore) / 1024.0,
        model.tableModel()->byteSize() / 1048576.0, statusKilobytes("VmHWM:") / 1024.0);
    std::printf(
        "last row: %s\n", qPrintable(table->model()->index(table->model()->rowCount() - 1, 1).data().toString()));

    if (wholeList) {
        timer.restart();
        const DbRows all = db.getAllLogDetailsWhereTimestamp("03042026 1002 AM");
        std::printf("plain reader, one list of dictionaries: %lld rows in %.2f s, resident %.0f MB\n",
            static_cast<long long>(all.size()), timer.elapsed() / 1000.0, statusKilobytes("VmRSS:") / 1024.0);
    }
    return 0;
}
