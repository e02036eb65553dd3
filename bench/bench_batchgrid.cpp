// The batch grid and list over a large batch, and a window to look at them.
//
//   bench_batchgrid show <folder> [list|grid|big|info|menu]
//       the batch browser over the folder's photos in a 1200x800 window (for screenshots)
//   bench_batchgrid run <folder> [photos=100000]
//       a batch of that many records cycling over the folder's photos, shown in the grid:
//       time to the first screen of thumbnails, frame time while scrolling, peak memory after
//       scrolling through all of it, bytes per record, and remove-checked / remove-all times
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScrollBar>
#include <QTimer>

#include "components/AppLook.h"
#include "core/AppDelegate.h"
#include "core/Batch/BatchRemoval.h"
#include "core/Batch/ThumbnailService.h"
#include "core/ResourceImages.h"
#include "platform/imaging/ImagingInit.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListView.h"

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

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int show(const QString& folder, const QString& what)
{
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

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!initImagingLibraries(argv[0]))
        return 2;
    ResourceImages::initResources();
    AppLook::apply(app);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == "show")
        return show(args[2], args.value(3, "grid"));
    std::fprintf(stderr,
        "usage: bench_batchgrid show <folder> [list|grid|big|info|menu]\n"
        "       bench_batchgrid run <folder> [photos]\n");
    return 2;
}
