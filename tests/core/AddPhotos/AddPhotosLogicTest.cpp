#include "core/AddPhotos/AddPhotosLogic.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/AddPhotos/AddPhotosView.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingInlineExecutor.h"
#include "platform/NotificationCenter.h"
#include "support/LibraryFixtures.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

// Records what the screen is told and what is posted, in one sequence.
class RecordingView : public AddPhotosView {
public:
    QStringList log;
    QString sheetText;
    void setAddingProgressViewHidden(bool hidden) override { log << QStringLiteral("progressView:%1").arg(hidden); }
    void setStopButtonHidden(bool) override { }
    void enableDragDrop(bool enable) override { log << QStringLiteral("dragDrop:%1").arg(enable); }
    void showProgressSheet() override { log << "sheet:show"; }
    void endProgressSheet() override { log << "sheet:end"; }
    void setProgressTexts(const QString&, const QString& onSheet, const QString&) override { sheetText = onSheet; }
    void resetProgress() override { }
    void hideDragnDropImageSetHidden(bool hidden) override { log << QStringLiteral("dropArea:%1").arg(!hidden); }
    void changePhotosViewImageMode() override { log << "showBatch"; }
    void showMessageAlert(const QString& message, const QString& informative, const QString& button) override
    {
        log << QStringLiteral("alert:%1|%2|%3").arg(message, informative, button);
    }
    void addBottomInfoAboutBatch() override
    {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationUpdateFooterInfo));
    }
};

// Holds the scan until the test lets it run.
class HeldExecutor : public RunExecutor {
public:
    std::function<void()> job;
    void submit(std::function<void()> j) override { job = std::move(j); }
};

class AddPhotosLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        for (const char* name : { kNotificationsDisbleCross, kNotificationsDisbleView, kNotificationsHideLoading,
                 kNotificationsEnableCross, kNotificationsEnable, kNotificationUpdateFooterInfo,
                 kNotificationsPhotosModified, kNotificationShowAlertWithType })
            NotificationCenter::defaultCenter().addObserver(
                &m_context, QString::fromLatin1(name), [this](const Notification& n) {
                    QString entry = n.name;
                    if (n.userInfo.contains("type"))
                        entry += ':' + n.userInfo.value("type").toString();
                    m_view.log << entry;
                });
        QDir().mkpath(m_dir.path() + "/f");
        for (const char* name : { "1.jpg", "2.png", "3.jpg" })
            ASSERT_TRUE(testimages::writePattern(m_dir.path() + "/f/" + name, 10, 10));
        ASSERT_TRUE(testimages::writeLinearDng(m_dir.path() + "/raw.dng", 12, 8, 1));
    }

    QList<PhotoFilePtr>& batch() { return AppDelegate::shareDelegate()->arraySelectedImagesToProcess; }

    QTemporaryDir m_dir;
    QObject m_context;
    RecordingView m_view;
    ProcessingInlineExecutor m_inline;
};

TEST_F(AddPhotosLogicTest, RunPostsInOrderFillsTheBatchAndEndsWithOneAlert)
{
    AddPhotosLogic logic(&m_view, &m_inline);
    logic.setDeliveryGrouping(2, 1000);
    ASSERT_TRUE(logic.handleFileDragDropPaths({ m_dir.path() + "/f" }));
    EXPECT_EQ(m_view.log.join(' ').toStdString(),
        "progressView:0 dragDrop:0 notificationsDisbleCross notificationsDisbleView sheet:end "
        "notificationsHideLoading notificationsEnableCross notificationsEnable dragDrop:1 progressView:1 "
        "dropArea:0 sheet:end showBatch notificationUpdateFooterInfo notificationsPhotosModified");
    ASSERT_EQ(batch().size(), 3);
    EXPECT_EQ(batch()[0]->fileName().toStdString(), "1.jpg");
    EXPECT_EQ(m_view.sheetText.toStdString(), "3 Photos added");
    EXPECT_EQ(logic.totalPhotoToAdd(), 3);
    EXPECT_FALSE(logic.isAddFromSubFolderSelected());
    EXPECT_FALSE(logic.isRawImageExist());

    // A second run over a non-empty batch uses the sheet; all known: alert 111. Photos the user
    // unchecked are checked again.
    batch()[1]->setIsSelected(false);
    m_view.log.clear();
    ASSERT_TRUE(logic.addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/f/1.jpg") }));
    EXPECT_TRUE(m_view.log.contains("sheet:show"));
    EXPECT_EQ(m_view.log.last().toStdString(), "notificationShowAlertWithType:111");
    EXPECT_EQ(logic.alreadyExistsPhotosCount(), 1);
    EXPECT_TRUE(batch()[1]->isSelected());
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);

    // A RAW photo sets the flag, which stays after later runs.
    logic.addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/raw.dng") });
    logic.addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/f/2.png") });
    EXPECT_TRUE(logic.isRawImageExist());
    EXPECT_EQ(batch().size(), 4);
}

TEST_F(AddPhotosLogicTest, EntryPointsRefuseWhileARunIsInProgressAndStopEndsIt)
{
    HeldExecutor held;
    AddPhotosLogic logic(&m_view, &held);
    logic.startObservingDrops();
    ASSERT_TRUE(logic.addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/f") }));
    EXPECT_TRUE(logic.isProcessingInProgress());
    EXPECT_FALSE(logic.addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/raw.dng") }));
    EXPECT_FALSE(logic.handleFileDragDropPaths({ m_dir.path() + "/raw.dng" }));
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kFileDragDropNotification),
        { { QString::fromLatin1(kUserInfoPaths), QStringList { m_dir.path() + "/raw.dng" } } });

    logic.btnStopAddingTapped();
    held.job();
    EXPECT_FALSE(logic.isProcessingInProgress());
    EXPECT_TRUE(batch().isEmpty());
    EXPECT_TRUE(logic.lastOutcome().stopped);
    EXPECT_EQ(m_view.log.last().toStdString(), "notificationShowAlertWithType:112");
    EXPECT_TRUE(m_view.log.contains("dropArea:1"));

    // The drop notification starts a run once idle, walking folders with their subfolders.
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kFileDragDropNotification),
        { { QString::fromLatin1(kUserInfoPaths), QStringList { m_dir.path() } } });
    ASSERT_TRUE(held.job);
    held.job();
    EXPECT_EQ(batch().size(), 4);
}

TEST_F(AddPhotosLogicTest, LimitInjectedEndsTheRunWithAlert109)
{
    AddPhotosLogic logic(&m_view, &m_inline);
    logic.setPhotoLimit(2);
    logic.handleFileDragDropPaths({ m_dir.path() + "/f" });
    EXPECT_EQ(batch().size(), 2);
    EXPECT_TRUE(logic.isMaxPhotosLimitExceeded());
    EXPECT_EQ(m_view.log.last().toStdString(), "notificationShowAlertWithType:109");
}

} // namespace

TEST_F(AddPhotosLogicTest, ALibraryWithoutItsArchivePathIsReportedOnceAfterItsRun)
{
    using namespace libraryfixtures;
    const auto makeLibrary = [&](const QString& name, bool withArchivePath) {
        const QString package = m_dir.path() + "/" + name + ".photolibrary";
        EXPECT_TRUE(buildVersionDatabase(package + "/Database/apdb/Library.apdb", { { 1, "v1", "m1", "p1" } },
            { { "m1", "2012/A.jpg" } }, { { "p1", QStringLiteral("Holiday") } }));
        EXPECT_TRUE(writePhoto(package + "/Masters/2012/A.jpg"));
        EXPECT_TRUE(writeAlbumFile(
            package + "/AlbumData.xml", withArchivePath ? std::optional<QString>(package) : std::nullopt, {}));
        return QUrl::fromLocalFile(package);
    };
    const QUrl recorded = makeLibrary("Recorded", true);
    const QUrl unrecordedA = makeLibrary("Unrecorded A", false);
    const QUrl unrecordedB = makeLibrary("Unrecorded B", false);
    const QString alert = "alert:Please report to the developer should not happen|Send Feedback with logs now.|OK";

    const struct {
        QList<QUrl> sources;
        int alerts;
    } cases[] = { { { recorded }, 0 }, { { unrecordedA, unrecordedB }, 1 }, { { recorded }, 0 } };
    AddPhotosLogic logic(&m_view, &m_inline);
    for (const auto& c : cases) {
        m_view.log.clear();
        ASSERT_TRUE(logic.addPhotosFromPathUrls(c.sources));
        EXPECT_EQ(m_view.log.count(alert), c.alerts) << m_view.log.join(' ').toStdString();
        if (c.alerts) {
            EXPECT_EQ(m_view.log.last(), alert); // after the run's refresh and its own alert
        }
    }
    EXPECT_EQ(batch().size(), 3);
}
