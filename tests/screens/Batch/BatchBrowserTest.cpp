// The batch on screen, offscreen, over generated photos: view modes, check marks and mark all,
// the list's delete and remove buttons with their alerts, thumbnails that never land on another
// photo's row, the information popup and the photo menu.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "core/AppDelegate.h"
#include "core/Batch/ThumbnailService.h"
#include "core/Catalogue.h"
#include "core/ResourceImages.h"
#include "platform/NotificationCenter.h"
#include "platform/Workspace.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListDelegate.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Batch/BatchListView.h"
#include "screens/Batch/NoNewPhotosAlertView.h"
#include "screens/Batch/PhotoInfoView.h"
#include "screens/Batch/PhotoMenuView.h"
#include "screens/Cells/GridCell.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

struct FakeHost : BatchHost {
    QStringList calls;
    QList<PhotoFilePtr>* batch = nullptr;
    void forgetAddedPath(const QString& path) override { calls << "forget " + path.section('/', -1); }
    void forgetAllAddedPaths() override { calls << "forget all"; }
    void setPreviewImage() override { }
    void processAfterAllPhotosAdded() override
    {
        for (const auto& photo : *batch)
            photo->setIsSelected(true);
    }
    void addPhotosFromPathUrls(const QStringList& paths) override { calls << "add " + paths.join(','); }
};

class BatchBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        ResourceImages::initResources();
        host.batch = &batch;
        NotificationCenter::defaultCenter().addObserver(&observer, kNotificationShowAlertWithType,
            [this](const Notification& n) { alerts << n.userInfo.value(kUserInfoType).toInt(); });
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(&observer); }

    PhotoFilePtr addPhoto(const QString& name, bool camera = false)
    {
        const QString path = dir.filePath(name);
        testimages::writePattern(path, 120, 80);
        if (camera)
            testimages::setCameraTags(path);
        auto photo = PhotoFile::initWithFileUrl(path, name, false);
        photo->setIsSelected(true);
        batch.append(photo);
        return photo;
    }
    std::unique_ptr<BatchBrowser> makeBrowser()
    {
        auto browser = std::make_unique<BatchBrowser>(&host, &batch);
        browser->resize(1000, 600);
        browser->show();
        return browser;
    }
    /// "a.png" and "b.png" in a browser showing the list, the desktop's file manager and URL
    /// opener replaced by the test's own.
    std::unique_ptr<BatchBrowser> listOfTwoWithDesktop(
        Workspace::FileManagerCall fileManager, Workspace::UrlOpener opener)
    {
        addPhoto("a.png");
        addPhoto("b.png");
        auto browser = makeBrowser();
        browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
        Workspace::setShared(std::move(fileManager), std::move(opener));
        return browser;
    }
    void clickListButton(BatchListView* list, int row, int column)
    {
        const QRect cell = list->visualRect(list->batchModel()->index(row, column));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BatchListDelegate::buttonRect(cell).center());
    }
    /// The visible info control ("Photo information") standing over a photo's cell or row, found
    /// by its accessible name and clicked where it lies (whatever the browser shows there).
    void clickInfoControl(BatchBrowser* browser, int index)
    {
        QRect item;
        if (browser->presenter()->mode() == BatchViewMode::List) {
            BatchListView* list = browser->tblPhotos();
            item = list->visualRect(list->batchModel()->index(index, BatchListModel::NameColumn));
            item.moveTopLeft(list->viewport()->mapTo(browser, item.topLeft()));
        } else {
            const QWidget* cell = browser->collectionView()->gridCellAt(index);
            ASSERT_TRUE(cell);
            item = QRect(cell->mapTo(browser, QPoint(0, 0)), cell->size());
        }
        QAbstractButton* control = nullptr;
        for (QAbstractButton* button : browser->findChildren<QAbstractButton*>()) {
            const QPoint centre = button->mapTo(browser, button->rect().center());
            if (button->isVisible() && button->accessibleName() == "Photo information" && item.contains(centre))
                control = button;
        }
        ASSERT_TRUE(control) << "no info control on item " << index;
        const QPoint at = control->mapTo(browser, control->rect().center());
        QWidget* hit = browser->childAt(at);
        ASSERT_EQ(hit, control); // nothing covers it
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(browser, at));
        QCoreApplication::processEvents();
    }
    static QImage decoration(BatchListView* list, int row)
    {
        return list->batchModel()->index(row, BatchListModel::NameColumn).data(Qt::DecorationRole).value<QImage>();
    }

    QTemporaryDir dir;
    QList<PhotoFilePtr> batch;
    FakeHost host;
    QObject observer;
    QList<int> alerts;
};

TEST_F(BatchBrowserTest, SwitchingTheThreeViewModes)
{
    addPhoto("a.png");
    auto browser = makeBrowser();
    const struct {
        BatchViewMode mode;
        QWidget* shown;
        bool gridHeader;
        const char* images[3];
    } rows[] = {
        { BatchViewMode::List, browser->tblPhotos(), false,
            { "list_view_enabled.png", "grid_view_disabled.png", "grid_view_big_disabled.png" } },
        { BatchViewMode::BigGrid, (QWidget*)browser->collectionView(), true,
            { "list_view_disabled.png", "grid_view_disabled.png", "grid_view_big_enabled.png" } },
        { BatchViewMode::Grid, (QWidget*)browser->collectionView(), true,
            { "list_view_disabled.png", "grid_view_enabled.png", "grid_view_big_disabled.png" } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.mode));
        QTest::mouseClick(browser->modeButton(row.mode), Qt::LeftButton);
        EXPECT_EQ(browser->presenter()->mode(), row.mode);
        EXPECT_TRUE(row.shown->isVisible());
        EXPECT_EQ(browser->btnMarkAllOnGridHeader()->isVisible(), row.gridHeader);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(browser->imageNameOf(browser->modeButton(BatchViewMode(i + 1))), row.images[i]);
    }

    // An empty batch shows neither view.
    batch.clear();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    EXPECT_FALSE(browser->tblPhotos()->isVisible());
    EXPECT_FALSE(browser->collectionView()->isVisible());
}

TEST_F(BatchBrowserTest, CheckMarksAndMarkAllInTheList)
{
    for (const char* name : { "a.png", "b.png", "c.png" })
        addPhoto(name);
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    EXPECT_EQ(list->rowHeight(0), 35);
    EXPECT_EQ(list->batchModel()->columnCount(), 7);

    clickListButton(list, 1, BatchListModel::CheckColumn);
    EXPECT_FALSE(batch[1]->isSelected());
    EXPECT_EQ(list->batchModel()->index(1, BatchListModel::CheckColumn).data(BatchListModel::ImageNameRole),
        "uncheck_image.png");
    EXPECT_EQ(browser->imageNameOf(browser->btnMarkAllOnTblHeader()), "uncheck_image.png");
    EXPECT_EQ(browser->lblMarkAllOngridHeader()->text(), "Select All");

    QTest::mouseClick(browser->btnMarkAllOnTblHeader(), Qt::LeftButton);
    EXPECT_TRUE(batch[1]->isSelected());
    EXPECT_EQ(browser->imageNameOf(browser->btnMarkAllOnTblHeader()), "checked_image.png");
    EXPECT_EQ(browser->lblMarkAllOngridHeader()->text(), "Unselect All");

    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(batch[0]->isSelected());
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(batch[0]->isSelected() || batch[1]->isSelected() || batch[2]->isSelected());

    // The header's buttons stand where the layout rule puts them.
    const auto x = BatchViewRules::headerButtonsX(list->width(), list->verticalScrollBar()->isVisible());
    EXPECT_EQ(browser->btnRemoveAllOnTblHeader()->x(), x.removeAll);
    EXPECT_EQ(browser->btnMarkAllOnTblHeader()->x(), x.markAll);
}

TEST_F(BatchBrowserTest, ListDeleteAndTheRemoveButtonsThroughTheirAlerts)
{
    for (const char* name : { "a.png", "b.png", "c.png", "d.png" })
        addPhoto(name);
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();

    clickListButton(list, 1, BatchListModel::DeleteColumn);
    EXPECT_EQ(list->batchModel()->rowCount(), 3);
    EXPECT_EQ(batch[1]->fileName(), "c.png");
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_TRUE(host.calls.contains("forget b.png"));

    batch[0]->setIsSelected(false);
    QTest::mouseClick(browser->btnRemovePhoto(), Qt::LeftButton);
    EXPECT_EQ(alerts, QList<int> { 113 });
    browser->presenter()->btnYesOnRemoveSelectedPhotoTapped(); // "Yes" on the alert
    EXPECT_EQ(list->batchModel()->rowCount(), 1);
    EXPECT_EQ(batch[0]->fileName(), "a.png");

    QTest::mouseClick(browser->btnRemoveAllOnTblHeader(), Qt::LeftButton);
    EXPECT_EQ(alerts, (QList<int> { 113, 114 }));
    browser->presenter()->btnYesOnRemoveAllPhotoTapped();
    EXPECT_TRUE(batch.isEmpty());
    EXPECT_FALSE(browser->btnRemovePhoto()->isEnabled());
    EXPECT_TRUE(browser->lblBatchInfo()->text().isEmpty());
}

// A decode that finishes after "remove all" and a re-add must not show the old photo on the row
// that now holds another one.
TEST_F(BatchBrowserTest, StaleListThumbnailNeverLandsOnAReusedRow)
{
    for (const char* name : { "old0.png", "old1.png", "old2.png" })
        addPhoto(name);
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    QSemaphore decoding;
    QSemaphore gate;
    // Old photos decode red, new ones green: only an old photo's picture on a row is stale.
    QImage red(70, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage green(70, 48, QImage::Format_RGB32);
    green.fill(Qt::green);
    list->setThumbnailService(new ThumbnailService({ 70, 48 }, 1 << 20, [&](const QString& path, QSize) {
        decoding.release();
        gate.acquire();
        return path.contains("old") ? red : green;
    }));
    list->loadTableViewThumbnailImages();
    decoding.acquire(2); // two old photos are being decoded

    browser->presenter()->btnYesOnRemoveAllPhotoTapped();
    for (const char* name : { "new0.png", "new1.png", "new2.png" })
        addPhoto(name);
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    gate.release(100);
    list->thumbnails()->waitForWorkers();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    for (int row = 0; row < 3; ++row)
        EXPECT_NE(decoration(list, row), red) << row;
    list->loadTableViewThumbnailImages(); // the new photos' own thumbnails arrive
    list->thumbnails()->waitForWorkers();
    EXPECT_TRUE(QTest::qWaitFor([&] { return decoration(list, 0) == green; }, 5000));
}

TEST_F(BatchBrowserTest, RealThumbnailsAndTheNotAvailableImage)
{
    addPhoto("a.png");
    addPhoto("gone.png");
    QFile::remove(dir.filePath("gone.png"));
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    const QImage placeholder = ResourceImages::named("place_holder.png");
    EXPECT_EQ(decoration(list, 0), placeholder);
    list->loadTableViewThumbnailImages();
    list->thumbnails()->waitForWorkers();
    QCoreApplication::processEvents();
    EXPECT_EQ(decoration(list, 0).width(), 70);
    EXPECT_EQ(decoration(list, 1), ResourceImages::named("not_av_small.png"));
}

// Leaving the add-photos step empties the thumbnail caches; when the step shows again, the list's
// rows paint their thumbnails again instead of staying on the placeholder.
TEST_F(BatchBrowserTest, ListRowsPaintTheirThumbnailsAgainAfterAStepChange)
{
    for (const char* name : { "a.png", "b.png", "c.png" })
        addPhoto(name);
    QWidget step; // the add-photos step, hidden while another step shows
    auto* browser = new BatchBrowser(&host, &batch, &step);
    step.resize(1000, 600);
    browser->resize(step.size());
    step.show();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    QImage red(70, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    list->setThumbnailService(new ThumbnailService({ 70, 48 }, 1 << 20, [&](const QString&, QSize) { return red; }));
    // Rows whose thumbnail box shows the decoded (red) picture, read from the painted list.
    auto paintedRows = [list] {
        const QImage shot = list->viewport()->grab().toImage();
        int rows = 0;
        for (int row = 0; row < 3; ++row) {
            const QRect cell = list->visualRect(list->batchModel()->index(row, BatchListModel::NameColumn));
            const QRgb pixel = shot.pixel(cell.left() + 6 + 23, cell.center().y());
            rows += qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60 ? 1 : 0;
        }
        return rows;
    };
    auto settle = [list] {
        QCoreApplication::processEvents();
        list->thumbnails()->waitForWorkers();
        QCoreApplication::processEvents();
    };
    list->loadTableViewThumbnailImages();
    settle();
    ASSERT_EQ(paintedRows(), 3);

    step.hide(); // Next: the step goes, its background work is closed
    browser->presenter()->closeBackgroundOperations();
    EXPECT_EQ(paintedRows(), 0);
    step.show(); // Back
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            settle();
            return paintedRows() == 3;
        },
        5000));
}

TEST_F(BatchBrowserTest, InformationPopupRowsAndDismissal)
{
    addPhoto("camera.jpg", true);
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    browser->btnInfoTappedAtLocationInTableView({ 40, 80 }, 0);
    browser->btnInfoTappedAtLocationInTableView({ 40, 80 }, 0); // twice: still one popup
    ASSERT_TRUE(browser->infoWindow());
    int shown = 0;
    for (const TorAttachedWindow* popup : browser->findChildren<TorAttachedWindow*>())
        shown += popup->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 1);
    QTableWidget* table = browser->infoView()->tvMetaData();
    ASSERT_EQ(table->rowCount(), 35);
    EXPECT_EQ(table->item(26, 1)->text(), ":      TM-1");
    EXPECT_EQ(table->item(33, 1)->text(), ":      51° 30' 0'' N");
    EXPECT_EQ(table->item(34, 1)->toolTip(), "0° 7' 30'' W");
    EXPECT_EQ(table->rowHeight(0), 30);

    QTest::mouseClick(browser->infoView()->tvMetaData()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(browser->infoWindow()); // a click inside keeps it
    QTest::mouseClick(browser->tblPhotos()->viewport(), Qt::LeftButton, {}, { 300, 5 });
    QCoreApplication::processEvents();
    EXPECT_FALSE(browser->infoWindow());
}

// Every grid cell and list row carries the info control: a click on it opens the popup for that
// photo, or the not-available sheet for a photo whose file is gone.
TEST_F(BatchBrowserTest, InfoControlOfACellOrRowOpensThePopupForItsPhoto)
{
    addPhoto("a.png");
    addPhoto("camera.jpg", true);
    addPhoto("gone.png");
    QFile::remove(dir.filePath("gone.png"));
    auto browser = makeBrowser();
    const struct {
        BatchViewMode mode;
        int index;
        const char* name; // the popup's file-name row; nullptr: the not-available sheet
    } rows[] = {
        { BatchViewMode::Grid, 1, "camera.jpg" },
        { BatchViewMode::Grid, 0, "a.png" },
        { BatchViewMode::Grid, 2, nullptr },
        { BatchViewMode::BigGrid, 1, "camera.jpg" },
        { BatchViewMode::List, 1, "camera.jpg" },
        { BatchViewMode::List, 0, "a.png" },
        { BatchViewMode::List, 2, nullptr },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(QStringLiteral("mode %1 item %2").arg(int(row.mode)).arg(row.index).toStdString());
        // A list just shown loads its rows' thumbnails a moment later, and that closes any
        // popup: the click comes once it has begun, as a user's would.
        QSignalSpy loading(browser->tblPhotos(), &BatchListView::thumbnailsLoading);
        browser->presenter()->changePhotosViewImageMode(row.mode);
        QCoreApplication::processEvents();
        if (row.mode == BatchViewMode::List) {
            ASSERT_TRUE(loading.count() > 0 || loading.wait(5000));
        }
        clickInfoControl(browser.get(), row.index);
        NoNewPhotosAlertView* sheet = browser->noNewPhotosAlert();
        if (row.name) {
            ASSERT_TRUE(browser->infoWindow());
            EXPECT_TRUE(browser->infoWindow()->isVisible());
            QTableWidget* table = browser->infoView()->tvMetaData();
            ASSERT_EQ(table->rowCount(), 35);
            EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral(":      %1").arg(row.name));
            EXPECT_FALSE(sheet->isVisible());
            // Escape closes it as its close control does.
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == browser->window() ? focus : browser->window(), Qt::Key_Escape);
            EXPECT_FALSE(browser->infoWindow());
        } else {
            EXPECT_FALSE(browser->infoWindow());
            EXPECT_TRUE(sheet->isVisible());
            EXPECT_EQ(sheet->lblAlertTitleOnALertwin()->text(), "PHOTO NOT AVAILABLE");
            QTest::mouseClick(sheet->btnRemoveFromBatchOnAlertWin(), Qt::LeftButton);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->presenter()->isCheckingFiles(); }, 5000));
            addPhoto("gone.png"); // back for the next view
            QFile::remove(dir.filePath("gone.png"));
        }
    }
}

// A long list has info controls for the rows in view only, and they follow scrolling.
TEST_F(BatchBrowserTest, ListInfoControlsCoverTheVisibleRowsOnly)
{
    for (int i = 0; i < 300; ++i) // records only: the list needs no pixels here
        batch.append(PhotoFile::initWithFileUrl(dir.filePath(QStringLiteral("%1.png").arg(i)), "x.png", false));
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    QCoreApplication::processEvents();
    auto shownControls = [list] {
        int shown = 0;
        for (const QAbstractButton* button : list->viewport()->findChildren<QAbstractButton*>())
            shown += button->isVisible() && button->accessibleName() == "Photo information" ? 1 : 0;
        return shown;
    };
    const int inView = list->viewport()->height() / 35 + 2;
    EXPECT_GT(shownControls(), 0);
    EXPECT_LE(shownControls(), inView);
    EXPECT_TRUE(list->infoButtonOfRow(0));
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    EXPECT_TRUE(list->infoButtonOfRow(299));
    EXPECT_FALSE(list->infoButtonOfRow(0));
    EXPECT_LE(shownControls(), inView);
}

// Without a file manager service or a launcher, Reveal, Open and Get Info say so on the shared
// alert sheet, naming the file, instead of doing nothing.
TEST_F(BatchBrowserTest, MenuActionsTheDesktopCannotDoSayWhichFileWasNotShown)
{
    QStringList calls;
    auto browser = listOfTwoWithDesktop(
        [&](const QString& method, const QStringList&) {
            calls << method;
            return false;
        },
        [&](const QString&) {
            calls << "open";
            return false;
        });
    BatchListView* list = browser->tblPhotos();
    QList<QVariantMap> messages;
    QObject context;
    NotificationCenter::defaultCenter().addObserver(&context, QString::fromLatin1(kNotificationShowMessageAlert),
        [&messages](const Notification& n) { messages.append(n.userInfo); });
    const struct {
        QPushButton* (PhotoMenuView::*button)() const;
        const char* calls;
        const char* message;
    } rows[] = {
        { &PhotoMenuView::btnReviealInFinder, "ShowItems,open",
            "\"b.png\" could not be shown in a file manager: no file manager answered." },
        { &PhotoMenuView::btnShowPreview, "open",
            "\"b.png\" could not be opened: no application to open it was found." },
        { &PhotoMenuView::btnGetInfo, "ShowItemProperties,open",
            "The information window of \"b.png\" could not be shown: no file manager answered." },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.calls);
        calls.clear();
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(1, 1)).center());
        ASSERT_TRUE(browser->menuOptionsWindow());
        QTest::mouseClick((browser->menuView()->*row.button)(), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(calls.join(','), row.calls); // the usual routes were tried first
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.first().value(kUserInfoTitle).toString(), "FILE NOT SHOWN");
        EXPECT_EQ(messages.first().value(kUserInfoMessage).toString(), row.message);
        EXPECT_FALSE(browser->noNewPhotosAlert()->isVisible()); // not the screen's own sheet
        // The menu closed: nothing holds the sub-window flag, so the shared sheet can show.
        EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
        messages.clear();
    }
    EXPECT_EQ(batch.size(), 2);
    Workspace::setShared({}, {});
}

TEST_F(BatchBrowserTest, PhotoMenuActionsReachTheFileManager)
{
    QStringList calls;
    auto browser = listOfTwoWithDesktop(
        [&](const QString& method, const QStringList& uris) {
            calls << method + " " + QUrl(uris.value(0)).fileName();
            return true;
        },
        [&](const QString& url) {
            calls << "open " + QUrl(url).fileName();
            return true;
        });
    BatchListView* list = browser->tblPhotos();
    const QPoint below(200, list->rowViewportPosition(1) + 35 + 20);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, below); // no row there: no menu
    EXPECT_FALSE(browser->menuOptionsWindow());

    const struct {
        QPushButton* (PhotoMenuView::*button)() const;
        const char* call;
    } rows[] = {
        { &PhotoMenuView::btnReviealInFinder, "ShowItems b.png" },
        { &PhotoMenuView::btnShowPreview, "open b.png" },
        { &PhotoMenuView::btnGetInfo, "ShowItemProperties b.png" },
    };
    for (const auto& row : rows) {
        calls.clear();
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(1, 1)).center());
        ASSERT_TRUE(browser->menuOptionsWindow());
        QTest::mouseClick((browser->menuView()->*row.button)(), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, QStringList { row.call });
        EXPECT_FALSE(browser->menuOptionsWindow());
    }
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(0, 1)).center());
    QTest::mouseClick(browser->menuView()->btnDeleteOnMenuOption(), Qt::LeftButton);
    EXPECT_EQ(batch.size(), 1);
    EXPECT_EQ(batch[0]->fileName(), "b.png");
    Workspace::setShared({}, {});
}

TEST_F(BatchBrowserTest, FolderDroppedOnTheListGoesToTheAddRun)
{
    addPhoto("a.png");
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(dir.path()) });
    QWidget* viewport = browser->tblPhotos()->viewport();
    QDragEnterEvent enter(QPoint(100, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(host.calls, QStringList { "add " + dir.path() });
}

// The information popup and the photo menu go with the screen they belong to, whatever hides
// it: the step that holds the batch, or the batch itself.
TEST_F(BatchBrowserTest, PopupsGoWhenTheirScreenIsLeft)
{
    addPhoto("a.png");
    addPhoto("b.png");
    enum class Popup { Info, Menu };
    enum class Leave { Step, Batch };
    const struct {
        Popup popup;
        Leave leave;
    } cases[] = { { Popup::Info, Leave::Step }, { Popup::Info, Leave::Batch }, { Popup::Menu, Leave::Step },
        { Popup::Menu, Leave::Batch } };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.popup) * 2 + int(c.leave));
        QWidget window;
        window.resize(1000, 600);
        auto* step = new QWidget(&window);
        step->setGeometry(window.rect());
        auto* browser = new BatchBrowser(&host, &batch, step);
        browser->setGeometry(step->rect());
        window.show();
        browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
        QTest::qWait(100); // the list's thumbnail pause (which closes an information popup) runs out first
        if (c.popup == Popup::Info) {
            clickInfoControl(browser, 1);
            ASSERT_TRUE(browser->infoWindow());
        } else {
            BatchListView* list = browser->tblPhotos();
            QTest::mouseClick(
                list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(1, 1)).center());
            ASSERT_TRUE(browser->menuOptionsWindow());
        }
        (c.leave == Leave::Step ? step : static_cast<QWidget*>(browser))->hide();
        QCoreApplication::processEvents();
        EXPECT_FALSE(browser->infoWindow());
        EXPECT_FALSE(browser->menuOptionsWindow());
        int shown = 0;
        for (const QWidget* popup : window.findChildren<TorAttachedWindow*>())
            shown += popup->isVisibleTo(&window) ? 1 : 0;
        EXPECT_EQ(shown, 0);
    }
}

} // namespace
} // namespace vantrel

namespace vantrel::test {
namespace {

// The list header's buttons follow the list, also when the window changed size while the batch
// was not on screen: they stay over the header's last columns, inside the list.
TEST_F(BatchBrowserTest, ListHeaderButtonsFollowAResizeMadeWhileHidden)
{
    for (int i = 0; i < 12; ++i)
        addPhoto(QStringLiteral("p%1.png").arg(i));
    auto browser = makeBrowser();
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    QCoreApplication::processEvents();
    for (const QSize size : { QSize(1000, 600), QSize(760, 360), QSize(1100, 700) }) {
        SCOPED_TRACE(size.width());
        browser->hide();
        browser->resize(size);
        browser->show();
        QCoreApplication::processEvents();
        BatchListView* list = browser->tblPhotos();
        for (QAbstractButton* button : list->findChildren<QAbstractButton*>()) {
            if (button->accessibleName() != "Select all" && button->accessibleName() != "Remove all photos")
                continue;
            EXPECT_TRUE(button->isVisible());
            EXPECT_LE(button->geometry().right(), list->viewport()->geometry().right())
                << button->accessibleName().toStdString();
            EXPECT_GE(button->geometry().left(), list->viewport()->geometry().right() - 120);
        }
    }
}

} // namespace
} // namespace vantrel::test
