// Runs the real batch-run engine headless over the photos of a folder and prints the wall time
// and the peak resident memory of the process.
//
//   bench_run <input folder> <output folder> [--width N] [--percent P] [--format jpg|png|...]
//             [--quality Q] [--keep-format] [--writers K] [--budget MB] [--flip] [--turn]
//             [--rows] [--data DIR]
//
// --width N     fit into N pixels wide (aspect kept)      --percent P   scale both sides to P %
// --format F    convert every photo to F (default jpg)    --quality Q   lossy quality (default 75)
// --keep-format every photo keeps its own format (quality 75 for JPEG, as the application does)
// --writers K   photos written at once (default: as many as the machine's cores)
// --budget MB   the process's memory budget for image work (default: the application's)
// --flip        mirror every photo left to right         --turn        turn every photo a quarter clockwise
// --rows        print each photo's record at the end (status, message, output bytes)
// --data DIR    the data folder of the log database (kept after the run) instead of a temporary one
//
// A run held by the low-space alert is answered OK, as its one button ends the run.
//
// The run is the application's: one worker thread, hops to the main thread's event loop, the
// one-photo pipeline, the free-space and permission checks, and the log rows written into a log
// database in a temporary data folder (the user's own log is not touched).
#include <cstdio>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/NotificationCenter.h"
#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/ImagingInit.h"

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: bench_run <input folder> <output folder> [--width N] [--percent P] [--format F] [--quality Q] "
        "[--keep-format] [--writers K] [--budget MB] [--flip] [--turn] [--rows] [--data DIR]\n");
    return 2;
}

long peakRssKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    // Set before anything reads the data folder: the log database of the run goes there.
    QTemporaryDir data;
    QByteArray dataFolder = data.path().toUtf8();
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--data") == 0)
            dataFolder = QDir(QString::fromLocal8Bit(argv[i + 1])).absolutePath().toLocal8Bit();
    }
    if (!data.isValid() || dataFolder.isEmpty())
        return 1;
    qputenv("XDG_DATA_HOME", dataFolder);
    QCoreApplication app(argc, argv);
    if (!vantrel::initImagingLibraries(argv[0]))
        return 1;

    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return usage();
    vantrel::RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = QDir(args[1]).absolutePath();
    options.job.formatOption = 1;
    options.job.selectedFileFormat = 3;
    options.job.compressionRatio = 75;
    options.job.isKeepOriginalSize = true;
    options.askBeforeOverwrite = false;
    int writers = 0; // the run's default
    bool rows = false;
    for (int i = 2; i < args.size(); ++i) {
        const QString& arg = args[i];
        const QString value = i + 1 < args.size() ? args[i + 1] : QString();
        if (arg == "--width") {
            options.job.isKeepOriginalSize = false;
            options.job.isCustomSize = true;
            options.job.isKeepAspectRatio = true;
            options.job.customWidth = value.toDouble();
            options.job.customHeight = 10000;
            ++i;
        } else if (arg == "--percent") {
            options.job.isKeepOriginalSize = false;
            options.job.isPercentSize = true;
            options.job.isKeepAspectRatio = true;
            options.job.perWidth = options.job.perHeight = value.toDouble();
            ++i;
        } else if (arg == "--format") {
            options.job.selectedFileFormat
                = static_cast<int>(vantrel::OutputPathBuilder::outputFormatList().indexOf(value));
            if (options.job.selectedFileFormat < 0)
                return usage();
            ++i;
        } else if (arg == "--quality") {
            options.job.compressionRatio = value.toInt();
            ++i;
        } else if (arg == "--writers") {
            writers = value.toInt();
            if (writers < 1)
                return usage();
            ++i;
        } else if (arg == "--budget") {
            if (value.toLongLong() < 1)
                return usage();
            vantrel::DecodeBudget::process().setBytes(value.toLongLong() << 20);
            ++i;
        } else if (arg == "--keep-format") {
            options.job.formatOption = 0;
        } else if (arg == "--flip") {
            options.job.isHorizontalFlip = true;
        } else if (arg == "--turn") {
            options.job.rotationType = 1;
        } else if (arg == "--rows") {
            rows = true;
        } else if (arg == "--data") {
            ++i; // read before the application started
        } else {
            return usage();
        }
    }

    vantrel::AppDelegate* shared = vantrel::AppDelegate::shareDelegate();
    shared->dbManager = std::make_shared<vantrel::DBManager>();
    QDir input(args[0]);
    const QStringList names = input.entryList(QDir::Files | QDir::Readable, QDir::Name);
    QElapsedTimer timer;
    timer.start();
    for (const QString& name : names) {
        vantrel::PhotoFilePtr photo = vantrel::PhotoFile::initWithFileUrl(input.absoluteFilePath(name), name, false);
        if (photo->width() > 0 && photo->height() > 0) {
            photo->setIsSelected(true);
            shared->arraySelectedImagesToProcess.append(photo);
        }
    }
    const qint64 addMs = timer.elapsed();

    auto engine = vantrel::ProcessingEngine::create({ std::make_shared<vantrel::ProcessingPhotoPipeline>(),
        std::make_shared<vantrel::ProcessingFileProbe>(), std::make_shared<vantrel::ProcessingClock>(), nullptr,
        std::make_shared<vantrel::ProcessingLogDatabase>(shared->dbManager),
        std::make_shared<vantrel::ProcessingSerialExecutor>(), writers });
    QObject context;
    vantrel::NotificationCenter::defaultCenter().addObserver(
        &context, vantrel::kNotificationsProcessFinished, [&](const vantrel::Notification&) { app.quit(); });
    vantrel::NotificationCenter::defaultCenter().addObserver(
        &context, vantrel::kNotificationShowAlertWithType, [&](const vantrel::Notification& n) {
            if (n.userInfo.value(vantrel::kUserInfoType).toInt() != 102)
                return;
            std::printf("low-space alert after %d photos: answered OK\n", engine->counterTotalProgressedFiles());
            QMetaObject::invokeMethod(
                &context, [&] { engine->btnOkOnEnoughtSpcaecTapped(); }, Qt::QueuedConnection);
        });
    timer.restart();
    if (!engine->startProcess(options))
        return 1;
    if (engine->isRunActive())
        app.exec();
    const qint64 runMs = timer.elapsed();

    int written = 0;
    for (const vantrel::PhotoFilePtr& photo : engine->arrPhotosToProcess()) {
        written += photo->processStatus() == 1 ? 1 : 0;
        if (rows)
            std::printf("%s\t%d\t%s\t%.0f\n", qUtf8Printable(photo->fileName()), photo->processStatus(),
                qUtf8Printable(photo->processInfoMessage()), photo->newfileSizeInBytes());
    }
    std::printf("photos %lld written %d  records %.3f s  run %.3f s  wall %.3f s  peak RSS %.1f MB  "
                "waited for the budget %.3f s (photos added up)\n",
        static_cast<long long>(engine->arrPhotosToProcess().size()), written, addMs / 1000.0, runMs / 1000.0,
        (addMs + runMs) / 1000.0, peakRssKiB() / 1024.0, vantrel::DecodeBudget::process().secondsWaited());
    return written == engine->arrPhotosToProcess().size() ? 0 : 1;
}
