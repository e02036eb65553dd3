// The batch views inside the add-photos screen: a folder dropped on the grid is read one level
// deep, the screen checks for missing photos each time it appears, and the wizard's removal
// calls reach the batch and the duplicate set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchArea.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

class BatchAreaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        NotificationCenter::defaultCenter().addObserver(&m_context, kNotificationShowAlertWithType,
            [this](const Notification& n) { m_alerts << n.userInfo.value(kUserInfoType).toInt(); });
        for (const char* file : { "a/2.jpg", "a/10.jpg", "a/sub/1.png", "b.jpg" }) {
            const QString path = m_dir.path() + "/photos/" + file;
            QDir().mkpath(QFileInfo(path).absolutePath());
            ASSERT_TRUE(testimages::writePattern(path, 24, 16));
        }
        m_window.resize(1000, 650);
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(&m_context); }

    QList<PhotoFilePtr>& batch() { return AppDelegate::shareDelegate()->arraySelectedImagesToProcess; }
    QStringList names() const
    {
        QStringList list;
        for (const PhotoFilePtr& p : AppDelegate::shareDelegate()->arraySelectedImagesToProcess)
            list << p->filePath().mid(m_dir.path().size() + 8);
        return list;
    }
    AddPhotosVC* makeScreen()
    {
        auto* screen = new AddPhotosVC(&m_window);
        screen->resize(m_window.size());
        m_window.show();
        return screen;
    }
    void waitForRun(AddPhotosVC* screen)
    {
        for (int spins = 0; screen->isAddRunInProgress() && spins < 100000; ++spins)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QTemporaryDir m_dir;
    QObject m_context;
    QList<int> m_alerts;
    QWidget m_window;
};

TEST_F(BatchAreaTest, FolderDroppedOnTheGridIsReadOneLevelDeep)
{
    AddPhotosVC* screen = makeScreen();
    ASSERT_TRUE(screen->addPhotosFromDroppedPaths({ m_dir.path() + "/photos/b.jpg" }));
    waitForRun(screen);
    ASSERT_EQ(names(), QStringList { "b.jpg" });
    BatchGridView* grid = screen->batchViewsArea()->browser()->collectionView();
    ASSERT_TRUE(grid->isVisible());

    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(m_dir.path() + "/photos/a") });
    QDragEnterEvent enter(QPoint(60, 60), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &enter);
    QDropEvent drop(QPointF(60, 60), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    waitForRun(screen);
    EXPECT_EQ(names(), (QStringList { "b.jpg", "a/2.jpg", "a/10.jpg" })); // not a/sub/1.png
    EXPECT_EQ(grid->numberOfItemsInSection(grid, 0), 3);
}

TEST_F(BatchAreaTest, MissingPhotosAreReportedWhenTheScreenAppearsAndRemovedOnRequest)
{
    AddPhotosVC* screen = makeScreen();
    ASSERT_TRUE(screen->addPhotosFromDroppedPaths({ m_dir.path() + "/photos/a" }));
    waitForRun(screen);
    ASSERT_EQ(batch().size(), 2);
    QFile::remove(m_dir.path() + "/photos/a/2.jpg");

    m_alerts.clear();
    screen->hide();
    screen->show(); // the wizard comes back to step 1
    BatchPresenter* presenter = screen->batchViewsArea()->presenter();
    while (presenter->isCheckingFiles())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(m_alerts, QList<int> { 104 });

    screen->btnRemoveFromBatchOnAlertTapped(); // the alert's remove-from-batch button
    while (presenter->isCheckingFiles())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(names(), QStringList { "a/10.jpg" });
    // The removed photo's path left the duplicate set: adding the file again works.
    testimages::writePattern(m_dir.path() + "/photos/a/2.jpg", 24, 16);
    ASSERT_TRUE(screen->addPhotosFromDroppedPaths({ m_dir.path() + "/photos/a/2.jpg" }));
    waitForRun(screen);
    EXPECT_EQ(names(), (QStringList { "a/10.jpg", "a/2.jpg" }));

    screen->btnYesOnRemoveAllPhotoTapped();
    EXPECT_TRUE(batch().isEmpty());
    EXPECT_TRUE(screen->findChild<QWidget*>("viewDragNDrop")->isVisible());
}

} // namespace
} // namespace vantrel
