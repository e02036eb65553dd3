// The grid: cells for the batch's photos, check boxes, thumbnails that land only on the cell that
// still shows their photo, and drops of folders.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "core/AppDelegate.h"
#include "core/Batch/ThumbnailService.h"
#include "core/ResourceImages.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListView.h"
#include "screens/Batch/PhotoMenuView.h"
#include "screens/Cells/GridCell.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

struct DropHost : BatchHost {
    QStringList added;
    QList<PhotoFilePtr>* batch = nullptr;
    void forgetAddedPath(const QString&) override { }
    void forgetAllAddedPaths() override { }
    void setPreviewImage() override { }
    void processAfterAllPhotosAdded() override { }
    void addPhotosFromPathUrls(const QStringList& paths) override { added << paths; }
};

class BatchGridViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        ResourceImages::initResources();
    }
    void add(const QString& name)
    {
        const QString path = dir.filePath(name);
        testimages::writePattern(path, 90, 60);
        auto photo = PhotoFile::initWithFileUrl(path, name, false);
        photo->setIsSelected(true);
        batch.append(photo);
    }
    /// Lets the pause after the last bounds change pass, and the thumbnails it asked for arrive.
    static void settle(BatchGridView* grid)
    {
        while (!grid->isScrollingDone())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        grid->thumbnails()->waitForWorkers();
        QCoreApplication::processEvents();
    }
    std::unique_ptr<BatchBrowser> makeBrowser()
    {
        auto browser = std::make_unique<BatchBrowser>(&host, &batch);
        browser->resize(900, 700);
        browser->show();
        browser->presenter()->changePhotosViewImageMode(BatchViewMode::Grid);
        settle(browser->collectionView());
        return browser;
    }

    QTemporaryDir dir;
    QList<PhotoFilePtr> batch;
    DropHost host;
};

TEST_F(BatchGridViewTest, CellsShowThePhotosAndTheirCheckMarks)
{
    for (const char* name : { "a.png", "b.png", "c.png" })
        add(name);
    auto browser = makeBrowser();
    BatchGridView* grid = browser->collectionView();
    GridCell* cell = grid->gridCellAt(1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->fileName(), "b.png");
    EXPECT_EQ(cell->fileDimension(), "Dimensions 90 X 60");
    EXPECT_EQ(cell->fileSize(), "Size " + batch[1]->fileSizeAsString());
    EXPECT_EQ(cell->rowIndex(), 1);
    EXPECT_EQ(cell->cellIndex(), 1);
    EXPECT_EQ(cell->size(), QSize(180, 220));
    EXPECT_TRUE(cell->isChecked());

    grid->btnCheckboxTappedAtLocationInCollectionView({}, KeltIndexPath::kelt_indexPathForItem(1, 0));
    EXPECT_FALSE(batch[1]->isSelected());
    EXPECT_FALSE(cell->isChecked());
    EXPECT_EQ(cell->bgselectedColor().alpha(), 0);
    EXPECT_EQ(browser->lblMarkAllOngridHeader()->text(), "Select All");
    QTest::mouseClick(browser->btnMarkAllOnGridHeader(), Qt::LeftButton);
    EXPECT_TRUE(grid->gridCellAt(1)->isChecked());
    EXPECT_EQ(browser->lblMarkAllOngridHeader()->text(), "Unselect All");

    browser->presenter()->changePhotosViewImageMode(BatchViewMode::BigGrid);
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->gridCellAt(0));
    EXPECT_EQ(grid->gridCellAt(0)->size(), QSize(220, 300));
    EXPECT_TRUE(grid->gridCellAt(0)->isForBigThumbnails());
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::Grid);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->gridCellAt(0)->isForBigThumbnails()); // big cells are not reused here
}

TEST_F(BatchGridViewTest, InformationPopupOfAGridCellStaysWhileTheHiddenListIdles)
{
    add("a.png");
    add("b.png");
    auto browser = makeBrowser();
    BatchGridView* grid = browser->collectionView();
    grid->btnInfoTappedAtLocationInCollectionView({}, KeltIndexPath::kelt_indexPathForItem(1, 0));
    ASSERT_TRUE(browser->infoWindow());
    browser->tblPhotos()->loadTableViewThumbnailImages(); // the hidden list's pause ends
    EXPECT_TRUE(browser->infoWindow());
    emit grid->boundsDidChange(); // the grid scrolls: the popup closes
    EXPECT_FALSE(browser->infoWindow());
}

// The grid appears by a page switch of a stacked layout, which turns updates off for a moment:
// the grid must paint afterwards.
TEST_F(BatchGridViewTest, GridShownByAPageSwitchKeepsPainting)
{
    auto browser = makeBrowser(); // empty batch: the empty page shows
    add("a.png");
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::Grid);
    BatchGridView* grid = browser->collectionView();
    ASSERT_TRUE(grid->isVisible());
    EXPECT_TRUE(grid->viewport()->updatesEnabled());
    ASSERT_TRUE(grid->gridCellAt(0));
    EXPECT_TRUE(grid->gridCellAt(0)->updatesEnabled());
}

// "Remove all" and a re-add while two decodes are under way: the old photos' thumbnails arrive
// late and must not land on the cells that now show the new photos.
TEST_F(BatchGridViewTest, StaleThumbnailNeverLandsOnAReusedCell)
{
    for (const char* name : { "old0.png", "old1.png", "old2.png" })
        add(name);
    auto browser = makeBrowser();
    BatchGridView* grid = browser->collectionView();
    QSemaphore decoding;
    QSemaphore gate;
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    grid->setThumbnailService(new ThumbnailService({ 404, 414 }, 1 << 24, [&](const QString& path, QSize) {
        decoding.release();
        gate.acquire();
        QImage image = red.copy();
        image.setText("path", path);
        return image;
    }));
    grid->scrollingEndAfterDelay();
    decoding.acquire(2);

    browser->presenter()->btnYesOnRemoveAllPhotoTapped();
    for (const char* name : { "new0.png", "new1.png", "new2.png" })
        add(name);
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::Grid);
    QCoreApplication::processEvents();
    gate.release(100);
    grid->thumbnails()->waitForWorkers();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    for (int item = 0; item < 3; ++item) {
        GridCell* cell = grid->gridCellAt(item);
        ASSERT_TRUE(cell);
        EXPECT_TRUE(cell->image().text("path").isEmpty() || cell->image().text("path") == batch[item]->filePath())
            << item;
    }
    grid->scrollingEndAfterDelay(); // the new photos' own thumbnails now arrive
    grid->thumbnails()->waitForWorkers();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return grid->gridCellAt(0)->image().text("path") == batch[0]->filePath(); }, 5000));
}

TEST_F(BatchGridViewTest, ThumbnailFollowsItsPhotoWhenItsIndexMoved)
{
    // A thumbnail asked for at item 1 arrives after the photo before it was removed: it belongs on
    // the cell that now shows that photo (item 0), not nowhere, and never on item 1's other photo.
    for (const char* name : { "a.png", "b.png", "c.png" })
        add(name);
    auto browser = makeBrowser();
    BatchGridView* grid = browser->collectionView();
    const QString b = batch[1]->filePath();
    batch[1]->setIsSelected(false);
    batch[2]->setIsSelected(false);
    browser->presenter()->btnYesOnRemoveSelectedPhotoTapped();
    ASSERT_EQ(batch.size(), 2);
    ASSERT_EQ(batch[0]->filePath(), b);
    settle(grid);

    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    emit grid->thumbnails()->thumbnailReady(1, b, red);
    EXPECT_EQ(grid->gridCellAt(0)->image().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_NE(grid->gridCellAt(1)->image().pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(BatchGridViewTest, RealThumbnailsAndNotAvailable)
{
    add("a.png");
    add("gone.png");
    QFile::remove(dir.filePath("gone.png"));
    auto browser = makeBrowser();
    BatchGridView* grid = browser->collectionView();
    EXPECT_EQ(grid->gridCellAt(0)->image().size(), QSize(90, 60)); // smaller than the box: kept
    EXPECT_EQ(grid->gridCellAt(1)->image(), ResourceImages::named("not_av_big.png"));
}

TEST_F(BatchGridViewTest, FolderDroppedOnTheGridGoesToTheAddRun)
{
    add("a.png");
    auto browser = makeBrowser();
    QWidget* viewport = browser->collectionView()->viewport();
    const struct {
        QList<QUrl> urls;
        bool taken;
    } rows[] = {
        { { QUrl::fromLocalFile(dir.path()) }, true },
        { { QUrl::fromLocalFile(dir.filePath("a.png")) }, true },
        { { QUrl::fromLocalFile(dir.filePath("notes.txt")) }, false },
        { { QUrl("https://example.org/a.jpg") }, false },
    };
    for (const auto& row : rows) {
        host.added.clear();
        QMimeData mime;
        mime.setUrls(row.urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &drop);
        EXPECT_EQ(!host.added.isEmpty(), row.taken) << row.urls.value(0).toString().toStdString();
    }
}

// The photo menu of a cell at the window's edge opens on the other side of the pointer, whole
// inside the window (a popup is an overlay of the window: what lies outside is cut off).
TEST_F(BatchGridViewTest, PhotoMenuAtTheWindowsEdgeOpensWholeInsideIt)
{
    for (const char* name : { "a.png", "b.png", "c.png", "d.png", "e.png", "f.png", "g.png", "h.png" })
        add(name);
    const struct {
        const char* what;
        QSize window;
        QPoint pointer; // in the window; negative: from its right or bottom edge
    } cases[] = {
        { "right edge", { 900, 700 }, { -30, 150 } },
        { "left edge", { 900, 700 }, { 30, 150 } },
        { "bottom edge", { 900, 300 }, { 30, -40 } },
        { "bottom right corner", { 900, 300 }, { -30, -40 } },
        { "small window", { 420, 260 }, { -30, -40 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto browser = makeBrowser();
        browser->resize(c.window);
        QCoreApplication::processEvents();
        const QPoint pointer(c.pointer.x() < 0 ? c.window.width() + c.pointer.x() : c.pointer.x(),
            c.pointer.y() < 0 ? c.window.height() + c.pointer.y() : c.pointer.y());
        QWidget* hit = browser->childAt(pointer);
        while (hit && !qobject_cast<GridCell*>(hit))
            hit = hit->parentWidget();
        ASSERT_TRUE(hit) << "no cell under the pointer";
        QTest::mouseClick(hit, Qt::RightButton, {}, hit->mapFrom(browser.get(), pointer));
        ASSERT_TRUE(browser->menuOptionsWindow());
        const QRect menu = browser->menuOptionsWindow()->geometry();
        EXPECT_TRUE(browser->rect().contains(menu))
            << menu.x() << "," << menu.y() << " " << menu.width() << "x" << menu.height() << " in " << c.window.width()
            << "x" << c.window.height();
        const QWidget* items = browser->menuView();
        EXPECT_FALSE(QRect(items->mapTo(browser.get(), QPoint(0, 0)), items->size()).contains(pointer))
            << "the menu opened over the pointer";
        browser->dismissPhotoMenu();
    }
}

} // namespace
} // namespace vantrel
