#include "screens/support/RunFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include "core/AppDelegate.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "core/Processing/RunSummary.h"
#include "support/TestImages.h"

namespace vantrel::screentest {

QList<PhotoFilePtr> makeBatch(const QString& folder, int count, int width, int height)
{
    QDir().mkpath(folder);
    QList<PhotoFilePtr> batch;
    for (int i = 1; i <= count; ++i) {
        const QString path = QStringLiteral("%1/photo%2.jpg").arg(folder).arg(i);
        if (!testimages::writePattern(path, width, height))
            return {};
        PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QFileInfo(path).fileName(), false);
        photo->setIsSelected(true);
        batch.append(photo);
    }
    AppDelegate::shareDelegate()->arraySelectedImagesToProcess = batch;
    return batch;
}

std::shared_ptr<ProcessingEngine> makeEngine(std::shared_ptr<RunClock> clock)
{
    return ProcessingEngine::create(
        { std::make_shared<ProcessingPhotoPipeline>(), std::make_shared<ProcessingFileProbe>(), std::move(clock),
            nullptr, std::make_shared<ProcessingLogDatabase>(AppDelegate::shareDelegate()->dbManager),
            std::make_shared<ProcessingSerialExecutor>() });
}

RunOptions halfSizeInto(const QString& outputFolder)
{
    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = outputFolder;
    options.job.formatOption = 1;
    options.job.selectedFileFormat = 3;
    options.job.isPercentSize = true;
    options.job.perWidth = 50;
    options.job.perHeight = 50;
    options.askBeforeOverwrite = true;
    return options;
}

bool turnEventLoopUntil(const std::function<bool()>& done)
{
    QDeadlineTimer limit(120'000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

bool waitForRunEnd(ProcessingEngine& engine)
{
    return turnEventLoopUntil([&] { return !engine.isRunActive() && engine.activeWorkers() == 0; });
}

void freshApplication()
{
    AppDelegate* app = AppDelegate::resetShared();
    const QString database
        = QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("Vantrel/" + DBManager::kDatabaseFileName);
    QFile::remove(database);
    QFile::remove(database + ".pending"); // rows an earlier test's run could not write
    app->dbManager = std::make_shared<DBManager>();
}

DBManager& emptyLogDatabase()
{
    freshApplication();
    DBManager& db = *AppDelegate::shareDelegate()->dbManager;
    const auto textColumns = [](const QStringList& names) {
        DbRows columns;
        for (const QString& name : names)
            columns.append({ { "column", name }, { "dataType", "TEXT" } });
        return columns;
    };
    db.createTableWithColumns("tblLogSummary", textColumns(RunSummary::summaryColumns()));
    db.createTableWithColumns("tblLogDetails", textColumns(RunSummary::detailColumns()));
    return db;
}

} // namespace vantrel::screentest
