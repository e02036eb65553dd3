// The batch screen's behaviour through a recording view and host: check marks and their
// buttons, the removals with their alerts, the missing-photo checks and the photo menu.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include "core/AppDelegate.h"
#include "core/Batch/BatchRemoval.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "platform/Workspace.h"
#include "screens/Batch/BatchPresenter.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

struct RecordingView : BatchView {
    QStringList calls;
    BatchButtonsLook buttons;
    QString line;
    QList<PhotoInfoRows::Row> infoRows;
    void showViewMode(BatchViewMode mode, const BatchViewModeLook&, bool empty) override
    {
        calls << QStringLiteral("mode %1%2").arg(int(mode)).arg(empty ? " empty" : "");
    }
    void windowResizing() override { calls << "layout"; }
    void reloadCheckMark(qsizetype index) override { calls << QStringLiteral("check %1").arg(index); }
    void reloadVisibleView() override { calls << "reload"; }
    void reloadBothViews() override { calls << "reload both"; }
    void removeListRow(qsizetype index) override { calls << QStringLiteral("remove row %1").arg(index); }
    void setButtons(const BatchButtonsLook& look) override { buttons = look; }
    void setBatchLine(const BatchInfoLine::Styled& styled) override { line = styled.text; }
    void closeThumbnailWork() override { calls << "close thumbnails"; }
    void showNotAvailableOnCell(qsizetype index) override { calls << QStringLiteral("not available %1").arg(index); }
    void showNoNewPhotosAlert(const QString& title, const QString&, AlertSheetButton) override { calls << title; }
    void hideNoNewPhotosAlert() override { calls << "hide alert"; }
    void showInfoPopup(QPoint, const QList<PhotoInfoRows::Row>& rows) override
    {
        infoRows = rows;
        calls << "info";
    }
    void dismissInfoPopup() override { calls << "dismiss info"; }
    void showPhotoMenu(QPoint) override { calls << "menu"; }
    void dismissPhotoMenu() override { calls << "dismiss menu"; }
};

struct RecordingHost : BatchHost {
    QSet<QString> added;
    QStringList calls;
    QList<PhotoFilePtr>* batch = nullptr;
    void forgetAddedPath(const QString& path) override { added.remove(path); }
    void forgetAllAddedPaths() override { added.clear(); }
    void setPreviewImage() override { calls << "preview"; }
    void processAfterAllPhotosAdded() override
    {
        for (const auto& photo : *batch) // as the add screen's refresh does
            photo->setIsSelected(true);
        calls << "refresh";
    }
    void addPhotosFromPathUrls(const QStringList& paths) override { calls << "add " + paths.join(','); }
};

class BatchPresenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        host.batch = &batch;
        NotificationCenter::defaultCenter().addObserver(&observer, kNotificationShowAlertWithType,
            [this](const Notification& n) { alerts << n.userInfo.value(kUserInfoType).toInt(); });
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(&observer); }

    /// Photos 0..n-1 in the temporary folder; the marks say which are checked ('x') and which
    /// files are deleted afterwards ('-', checked).
    void fill(const QString& marks)
    {
        for (qsizetype i = 0; i < marks.size(); ++i) {
            const QString path = dir.filePath(QStringLiteral("%1.png").arg(i));
            testimages::writePattern(path, 16, 12);
            auto photo = PhotoFile::initWithFileUrl(path, QStringLiteral("%1.png").arg(i), false);
            photo->setIsSelected(marks[i] != '.');
            batch.append(photo);
            host.added.insert(path);
            if (marks[i] == '-')
                QFile::remove(path);
        }
    }
    QString names() const
    {
        QStringList list;
        for (const auto& photo : batch)
            list << photo->fileName().section('.', 0, 0);
        return list.join(',');
    }
    void waitForFiles()
    {
        while (presenter.isCheckingFiles())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    QTemporaryDir dir;
    QList<PhotoFilePtr> batch;
    RecordingView view;
    RecordingHost host;
    BatchPresenter presenter { &view, &host, &batch };
    QObject observer;
    QList<int> alerts;
};

TEST_F(BatchPresenterTest, CheckMarksDriveTheButtons)
{
    fill("xxx");
    presenter.updateButtonsEnability();
    EXPECT_EQ(view.buttons.markAllLabel, "Unselect All");
    presenter.btnCheckboxTappedAtLocationInCollectionView({}, 1);
    EXPECT_FALSE(batch[1]->isSelected());
    EXPECT_EQ(view.buttons.markAllLabel, "Select All");
    EXPECT_EQ(view.buttons.markAllImage, "uncheck_image.png");
    presenter.btnMarkAllTapped(); // one unchecked: all become checked
    EXPECT_TRUE(BatchRemoval::isAllChecked(batch));
    EXPECT_EQ(view.buttons.markAllImage, "checked_image.png");
    EXPECT_FALSE(presenter.keyDown(true, true, false, false)); // Control with Shift: nothing
    EXPECT_TRUE(presenter.keyDown(true, false, false, false));
    EXPECT_FALSE(BatchRemoval::isAnyChecked(batch));

    // Clicks past the batch (a row that outlived it) and negative indexes are ignored.
    view.calls.clear();
    presenter.btnCheckTappedAtLocationInTableView({}, 3);
    presenter.btnCheckTappedAtLocationInTableView({}, -1);
    EXPECT_TRUE(view.calls.isEmpty());
    presenter.btnCheckTappedAtLocationInTableView({}, 2);
    EXPECT_EQ(view.calls, QStringList { "check 2" });
}

TEST_F(BatchPresenterTest, CheckingAPhotoWhoseFileIsGoneRaisesAlert103)
{
    fill("x-");
    presenter.btnCheckTappedAtLocationInTableView({}, 1);
    EXPECT_TRUE(batch[1]->isSelected());
    EXPECT_EQ(alerts, QList<int> { 103 });
}

TEST_F(BatchPresenterTest, RemoveButtonsAndTheirConfirmations)
{
    fill("x.x.");
    presenter.btnRemovePhotoTapped(0);
    presenter.btnRemovePhotoTapped(1);
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    presenter.btnRemovePhotoTapped(1); // ignored while a sheet is open
    EXPECT_EQ(alerts, (QList<int> { 113, 114 }));

    presenter.btnYesOnRemoveSelectedPhotoTapped();
    EXPECT_EQ(names(), "1,3");
    EXPECT_TRUE(BatchRemoval::isAllChecked(batch));
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(host.added.size(), 2);
    EXPECT_FALSE(host.added.contains(dir.filePath("0.png"))); // can be added again
    EXPECT_TRUE(view.line.startsWith("Batch Count: 2  |  Batch Size: "));
    EXPECT_EQ(host.calls, QStringList { "refresh" });

    BatchRemoval::setAllChecked(batch, false);
    alerts.clear();
    presenter.btnRemovePhotoTapped(0);
    EXPECT_EQ(alerts, QList<int> { 116 });

    host.calls.clear();
    presenter.btnYesOnRemoveAllPhotoTapped();
    EXPECT_TRUE(batch.isEmpty());
    EXPECT_TRUE(host.added.isEmpty());
    EXPECT_EQ(view.line, "");
    EXPECT_FALSE(view.buttons.enabled);
    EXPECT_TRUE(view.calls.contains("close thumbnails"));
    EXPECT_EQ(host.calls, (QStringList { "preview", "refresh" }));
}

TEST_F(BatchPresenterTest, ListDeleteRemovesItsRowAtOnce)
{
    fill("xxx");
    presenter.btnDeleteTappedAtLocationInTableView({}, 1);
    EXPECT_EQ(names(), "0,2");
    EXPECT_TRUE(view.calls.contains("remove row 1"));
    EXPECT_TRUE(alerts.isEmpty());
    presenter.btnDeleteTappedAtLocationInTableView({}, 2); // outlived the batch
    EXPECT_EQ(names(), "0,2");
}

TEST_F(BatchPresenterTest, MissingPhotoCheckAndRemoval)
{
    const struct {
        QString marks;
        int alert;
        QString left;
    } rows[] = {
        { "-", 103, "" },
        { "xx-xx", 104, "0,1,3,4" },
        { "x-x-x", 105, "0,2,4" },
        { "---", 106, "" },
        { "xxx", 0, "0,1,2" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.marks.toStdString());
        batch.clear();
        host.added.clear();
        alerts.clear();
        fill(row.marks);
        presenter.checkForDeletedPhotosInSourceFolder();
        waitForFiles();
        EXPECT_EQ(alerts, row.alert ? QList<int> { row.alert } : QList<int> {});
        presenter.btnRemoveFromBatchOnAlertTapped();
        waitForFiles();
        EXPECT_EQ(names(), row.left);
        EXPECT_EQ(host.added.size(), batch.size());
        EXPECT_TRUE(batch.isEmpty() || BatchRemoval::isAllChecked(batch));
    }
}

TEST_F(BatchPresenterTest, InformationPopupOrTheNotAvailableSheet)
{
    fill("x-");
    presenter.btnInfoTapped({}, 0);
    EXPECT_EQ(view.infoRows.size(), 35);
    presenter.btnInfoTapped({}, 1);
    EXPECT_TRUE(view.calls.contains("PHOTO NOT AVAILABLE"));
    EXPECT_TRUE(view.calls.contains("not available 1"));
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    presenter.hideNoNewPhotosAlertWindow(true);
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
}

TEST_F(BatchPresenterTest, MenuActionsReachTheFileManager)
{
    fill("xxx");
    QStringList calls;
    Workspace::setShared(
        [&](const QString& method, const QStringList& uris) {
            calls << method + " " + uris.join(',');
            return method == "ShowItems"; // no properties window on this desktop
        },
        [&](const QString& url) {
            calls << "open " + url;
            return true;
        });
    const QString url1 = QUrl::fromLocalFile(dir.filePath("1.png")).toString();
    presenter.showMenuForIndex({}, 1);
    for (int option : { 0, 1, 2, 3, 5 })
        presenter.btnOnMenuOptionTapped(option);
    EXPECT_EQ(calls,
        (QStringList { "ShowItems " + url1, "open " + url1, "ShowItemProperties " + url1,
            "open " + QUrl::fromLocalFile(dir.path()).toString() }));
    presenter.btnOnMenuOptionTapped(4);
    EXPECT_EQ(names(), "0,2");
    EXPECT_FALSE(host.added.contains(dir.filePath("1.png")));
    presenter.showMenuForIndex({}, 7); // outside the batch: no menu, the index stays
    EXPECT_EQ(presenter.selectedMenuFileIndexPath(), 1);
    Workspace::setShared({}, {});
}

} // namespace
} // namespace vantrel
