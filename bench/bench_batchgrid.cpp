// The batch grid and list over a large batch, and a window to look at them.
//
//   bench_batchgrid show <folder> [list|grid|big|info|menu|gridinfo|gridmenu|screen]
//       the batch browser over the folder's photos in a 1200x800 window (for screenshots)
//   bench_batchgrid run <folder> [photos=100000]
//       a batch of that many records cycling over the folder's photos, shown in the grid:
//       time to the first screen of thumbnails, frame time while scrolling, peak memory after
//       scrolling through all of it, bytes per record, and remove-checked / remove-all times
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTimer>

#include "components/AppLook.h"
#include "core/AppDelegate.h"
#include "core/Batch/BatchRemoval.h"
#include "core/Batch/ThumbnailService.h"
#include "core/ResourceImages.h"
#include "platform/imaging/ImagingInit.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListView.h"
#include "screens/Cells/GridCell.h"

namespace {

using namespace vantrel;

struct StandaloneHost : BatchHost {
    QList<PhotoFilePtr>* batch = nullptr;
    void forgetAddedPath(const QString&) override { }
    void forgetAllAddedPaths() override { }
    void setPreviewImage() override { }
    void processAfterAllPhotosAdded() override { BatchRemoval::setAllChecked(*batch, true); }
    void addPhotosFromPathUrls(const QStringList&) override { }
};

QStringList photosIn(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files, QDir::Name))
        files << info.absoluteFilePath();
    return files;
}

long peakKilobytes();
long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int showScreen(const QString& folder)
{
    auto* window = new QWidget;
    window->resize(1200, 800);
    auto* screen = new AddPhotosVC(window);
    screen->setGeometry(0, 0, 1200, 800);
    window->show();
    screen->addPhotosFromDroppedPaths({ folder });
    if (qEnvironmentVariableIsSet("BENCH_DUMP"))
        QTimer::singleShot(6000, screen, [screen] {
            for (QWidget* w : screen->findChildren<QWidget*>()) {
                if (w->isVisible() && !w->objectName().isEmpty())
                    std::printf("%s %s %d,%d %dx%d\n", w->metaObject()->className(), qPrintable(w->objectName()),
                        w->mapTo(screen, QPoint()).x(), w->mapTo(screen, QPoint()).y(), w->width(), w->height());
            }
            screen->grab().save("/tmp/shots/batchgrid/screen-grab.png");
            BatchGridView* grid = screen->findChild<BatchGridView*>();
            std::printf("cells %zu items %lld doc %.0fx%.0f wants %d visible rect %.0f,%.0f %.0fx%.0f bg %d\n",
                grid->visibleCells().size(), qlonglong(grid->KeltCollectionViewModel::numberOfItemsInSection(0)),
                grid->documentSize().width(), grid->documentSize().height(), grid->wantsLayout(),
                grid->documentVisibleRect().x(), grid->documentVisibleRect().y(), grid->documentVisibleRect().width(),
                grid->documentVisibleRect().height(), grid->drawsBackground());
            grid->grab().save("/tmp/shots/batchgrid/grid-grab.png");
            std::printf("viewport autofill %d colour %s enabled %d cells visible %d opacity? %s\n",
                grid->viewport()->autoFillBackground(),
                qPrintable(grid->viewport()->palette().color(QPalette::Window).name()), grid->isEnabled(),
                grid->visibleCells().empty() ? -1 : grid->visibleCells().front()->isVisible(),
                grid->visibleCells().empty() ? "" : qPrintable(QString::number(grid->visibleCells().front()->width())));
            QApplication::quit();
        });
    return QApplication::exec();
}

int show(const QString& folder, const QString& what)
{
    if (what == "screen")
        return showScreen(folder);
    QList<PhotoFilePtr>& batch = AppDelegate::shareDelegate()->arraySelectedImagesToProcess;
    for (const QString& file : photosIn(folder)) {
        auto photo = PhotoFile::initWithFileUrl(file, QFileInfo(file).fileName(), false);
        if (photo->width() > 0) {
            photo->setIsSelected(true);
            batch.append(photo);
        }
    }
    if (batch.size() > 2)
        batch[2]->setIsSelected(false);
    static StandaloneHost host;
    host.batch = &batch;
    auto* window = new QWidget;
    window->setWindowTitle(QStringLiteral("Batch"));
    window->resize(1200, 800);
    auto* browser = new BatchBrowser(&host, &batch, window);
    browser->setGeometry(0, 0, 1200, 800);
    window->show();
    BatchPresenter* presenter = browser->presenter();
    presenter->updateButtonsEnability();
    presenter->updateBatchInformationInBottomView();
    if (what == "list" || what == "info" || what == "menu")
        presenter->changePhotosViewImageMode(BatchViewMode::List);
    else if (what == "big")
        presenter->changePhotosViewImageMode(BatchViewMode::BigGrid);
    else
        presenter->changePhotosViewImageMode(BatchViewMode::Grid);
    QTimer::singleShot(1200, browser, [browser, what] {
        BatchGridView* grid = browser->collectionView();
        if (what == "gridmenu")
            emit grid->rightClicked(grid->gridCellAt(7)->mapTo(grid, QPoint(90, 120)), 7);
        if (qEnvironmentVariableIsSet("BENCH_DUMP"))
            QObject::connect(grid, &BatchGridView::scrolled, [] { std::printf("scrolled\n"); });
        if (what == "gridinfo")
            grid->btnInfoTappedAtLocationInCollectionView({}, KeltIndexPath::kelt_indexPathForItem(8, 0));
        if (qEnvironmentVariableIsSet("BENCH_DUMP"))
            QTimer::singleShot(500, browser, [browser] {
                std::printf("info %p menu %p\n", (void*)browser->infoWindow(), (void*)browser->menuOptionsWindow());
                if (browser->menuOptionsWindow())
                    std::printf("menu at %d,%d %dx%d visible %d\n", browser->menuOptionsWindow()->x(),
                        browser->menuOptionsWindow()->y(), browser->menuOptionsWindow()->width(),
                        browser->menuOptionsWindow()->height(), browser->menuOptionsWindow()->isVisible());
                QApplication::quit();
            });
        BatchListView* list = browser->tblPhotos();
        if (what == "info")
            browser->btnInfoTappedAtLocationInTableView(list->viewport()->mapTo(browser->window(), QPoint(40, 50)), 1);
        if (what == "menu") {
            const QRect row = list->visualRect(list->model()->index(2, 1));
            browser->presenter()->showMenuForIndex(list->viewport()->mapTo(browser, row.center()), 2);
        }
    });
    return QApplication::exec();
}

long residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

/// A batch of `count` records over symbolic links (distinct paths, as the duplicate map needs)
/// cycling through the folder's photos; each record is a copy of its source's header fields.
QList<PhotoFilePtr> makeBatch(const QString& folder, int count, const QString& links)
{
    QList<PhotoFilePtr> templates;
    for (const QString& file : photosIn(folder)) {
        auto photo = PhotoFile::initWithFileUrl(file, QFileInfo(file).fileName(), false);
        if (photo->width() > 0)
            templates.append(photo);
    }
    QList<PhotoFilePtr> batch;
    if (templates.isEmpty())
        return batch;
    batch.reserve(count);
    QDir().mkpath(links);
    for (int i = 0; i < count; ++i) {
        const PhotoFile& source = *templates[i % templates.size()];
        const QString name = QStringLiteral("p%1.%2").arg(i, 6, 10, QLatin1Char('0')).arg(source.fileExtension());
        const QString path = links + QLatin1Char('/') + name;
        if (!QFileInfo::exists(path))
            QFile::link(source.filePath(), path);
        auto photo = std::make_shared<PhotoFile>();
        photo->setFilePath(path);
        photo->setFileURL(path);
        photo->setFileName(name);
        photo->setOriginalFileName(name);
        photo->setFileExtension(source.fileExtension());
        photo->setFileContainerFolderName(source.fileContainerFolderName());
        photo->setFileCreationDate(source.fileCreationDate());
        photo->setFileModifiedDate(source.fileModifiedDate());
        photo->setFileSizeInBytes(source.fileSizeInBytes());
        photo->setFileSizeAsString(source.fileSizeAsString());
        photo->setWidth(source.width());
        photo->setHeight(source.height());
        photo->setIsSelected(i % 2 == 0);
        batch.append(photo);
    }
    return batch;
}

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void memoryLine(const char* stage)
{
    const struct mallinfo2 info = mallinfo2();
    std::printf("  [%s] resident %.1f MB (peak %.1f), heap in use %.1f MB, heap held %.1f MB, mmapped %.1f MB\n", stage,
        residentKilobytes() / 1024.0, peakKilobytes() / 1024.0, info.uordblks / 1048576.0, info.arena / 1048576.0,
        info.hblkhd / 1048576.0);
    std::fflush(stdout);
}

int run(const QString& folder, int count, int maxScreens)
{
    const QString links = QDir::tempPath() + QStringLiteral("/bench_batchgrid_links");
    malloc_trim(0);
    const long before = residentKilobytes();
    QList<PhotoFilePtr>& batch = AppDelegate::shareDelegate()->arraySelectedImagesToProcess;
    batch = makeBatch(folder, count, links);
    malloc_trim(0);
    const long after = residentKilobytes();
    if (batch.isEmpty()) {
        std::fprintf(stderr, "no photos in %s\n", qUtf8Printable(folder));
        return 2;
    }
    std::printf("records: %lld, resident growth %.1f MB, %.0f bytes per record\n", qlonglong(batch.size()),
        (after - before) / 1024.0, (after - before) * 1024.0 / batch.size());

    static StandaloneHost host;
    host.batch = &batch;
    QWidget window;
    window.resize(1200, 800);
    auto* browser = new BatchBrowser(&host, &batch, &window);
    browser->setGeometry(0, 0, 1200, 800);
    window.show();
    QApplication::processEvents();
    BatchPresenter* presenter = browser->presenter();

    BatchGridView* grid = browser->collectionView();
    const auto visiblePaths = [&] {
        QStringList paths;
        for (const KeltIndexPath& path : grid->indexPathsForVisibleItems()) {
            if (path.kelt_item() < batch.size())
                paths << batch[path.kelt_item()]->filePath();
        }
        return paths;
    };
    const auto allShown = [&](const QStringList& paths) {
        for (const QString& path : paths) {
            if (grid->thumbnails()->cached(path).isNull())
                return false;
        }
        return true;
    };
    const auto waitForScreen = [&] {
        QStringList paths = visiblePaths();
        while (!allShown(paths)) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
            paths = visiblePaths();
        }
        return paths;
    };

    // First screen of thumbnails, from the mode switch to the last visible thumbnail.
    QElapsedTimer timer;
    timer.start();
    presenter->changePhotosViewImageMode(BatchViewMode::Grid);
    const QStringList firstScreen = waitForScreen();
    const double firstMs = msSince(timer);
    memoryLine("first screen");
    std::printf("first screen: %lld thumbnails in %.1f ms (%llu decodes)\n", qlonglong(firstScreen.size()), firstMs,
        qulonglong(grid->thumbnails()->decodeCount()));
    std::fflush(stdout);
    std::printf("visible files:");
    for (const QString& path : firstScreen)
        std::printf(" %s", qUtf8Printable(path));
    std::printf("\n");

    // Frame time while scrolling: one step of 60 pixels, laid out and painted, per frame.
    QScrollBar* bar = grid->verticalScrollBar();
    QList<double> frames;
    for (int i = 0; i < 1500 && bar->value() < bar->maximum(); ++i) {
        timer.restart();
        bar->setValue(bar->value() + 60);
        grid->viewport()->repaint();
        frames << msSince(timer);
        QApplication::processEvents();
    }
    std::sort(frames.begin(), frames.end());
    memoryLine("after frames");
    std::printf("scroll frames: %lld, median %.2f ms, 95th %.2f ms, max %.2f ms\n", qlonglong(frames.size()),
        frames[frames.size() / 2], frames[frames.size() * 95 / 100], frames.back());

    // Through the whole batch a screen at a time, letting thumbnails load on every 40th screen.
    timer.restart();
    bar->setValue(0);
    int screens = 0, pauses = 0;
    while (true) {
        grid->viewport()->repaint();
        QApplication::processEvents(); // as a real scroll does between frames
        if (++screens % 40 == 0) {
            waitForScreen();
            ++pauses;
            if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
                memoryLine(qPrintable(QStringLiteral("pause %1").arg(pauses)));
        }
        if (screens % 500 == 0)
            memoryLine(qPrintable(QStringLiteral("screen %1").arg(screens)));
        if (bar->value() >= bar->maximum() || screens >= maxScreens)
            break;
        bar->setValue(bar->value() + grid->viewport()->height());
    }
    waitForScreen();
    grid->thumbnails()->waitForWorkers();
    QApplication::processEvents();
    std::printf("scrolled through %d screens (%d pauses) in %.1f s; grid cache %.1f MB in %d thumbnails; "
                "%llu decodes; peak resident %.1f MB\n",
        screens, pauses, msSince(timer) / 1000, grid->thumbnails()->cacheBytes() / 1048576.0,
        grid->thumbnails()->cachedCount(), qulonglong(grid->thumbnails()->decodeCount()), peakKilobytes() / 1024.0);

    timer.restart();
    presenter->btnYesOnRemoveSelectedPhotoTapped();
    QApplication::processEvents();
    std::printf("remove checked (%lld left): %.1f ms\n", qlonglong(batch.size()), msSince(timer));
    timer.restart();
    presenter->btnYesOnRemoveAllPhotoTapped();
    QApplication::processEvents();
    std::printf("remove all: %.1f ms\n", msSince(timer));
    std::printf("peak resident: %.1f MB\n", peakKilobytes() / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    QApplication app(argc, argv);
    if (!initImagingLibraries(argv[0]))
        return 2;
    ResourceImages::initResources();
    AppLook::apply(app);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == "run")
        return run(args[2], args.value(3, "100000").toInt(), args.value(4, "1000000").toInt());
    if (args.size() >= 3 && args[1] == "show")
        return show(args[2], args.value(3, "grid"));
    std::fprintf(stderr,
        "usage: bench_batchgrid show <folder> [list|grid|big|info|menu|gridinfo|gridmenu|screen]\n"
        "       bench_batchgrid run <folder> [photos]\n");
    return 2;
}
