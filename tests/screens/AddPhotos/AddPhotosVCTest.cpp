#include "screens/AddPhotos/AddPhotosVC.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "components/Sheet.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/RunInterfaces.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/DragDropBox.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

class HeldExecutor : public RunExecutor {
public:
    std::function<void()> job;
    void submit(std::function<void()> j) override { job = std::move(j); }
};

class AddPhotosVCTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        for (const char* name : { kFileDragDropNotification, kNotificationsDisbleCross, kNotificationsDisbleView,
                 kNotificationsHideLoading, kNotificationsEnableCross, kNotificationsEnable,
                 kNotificationUpdateFooterInfo, kNotificationsPhotosModified, kNotificationShowAlertWithType })
            NotificationCenter::defaultCenter().addObserver(
                &m_context, QString::fromLatin1(name), [this](const Notification& n) { m_posted << n.name; });
        for (const char* file : { "a/2.jpg", "a/10.jpg", "a/sub/1.png", "b.jpg" }) {
            const QString path = m_dir.path() + "/photos/" + file;
            QDir().mkpath(QFileInfo(path).absolutePath());
            ASSERT_TRUE(testimages::writePattern(path, 24, 16));
        }
        m_window.resize(900, 600);
    }

    // Drags `data` over the drop box and drops it; true when the drop was accepted.
    bool drop(DragDropBox* box, QMimeData* data)
    {
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &dropped);
        return dropped.isAccepted();
    }

    QList<PhotoFilePtr>& batch() { return AppDelegate::shareDelegate()->arraySelectedImagesToProcess; }

    QTemporaryDir m_dir;
    QObject m_context;
    QStringList m_posted;
    QWidget m_window;
};

TEST_F(AddPhotosVCTest, DroppedFolderFillsTheBatchWithNotificationsInOrder)
{
    auto* screen = new AddPhotosVC(&m_window); // its own worker thread
    screen->resize(m_window.size());
    m_window.show();
    auto* box = screen->findChild<DragDropBox*>("leftBox");
    ASSERT_NE(box, nullptr);
    for (const char* outlet : { "btnAddPhotos", "btnAddFolder", "btnAddPhotosLibrary", "btnAddPhotos_center",
             "viewDragNDrop", "vWAddingPhotos", "btnstopOnAddPhotos", "txtCurrentProgress", "vWImageMetadata",
             "vwPhotosHeader", "lblBatchInfo", "txtCurrentProgressOnWin", "lblFilePathOnPopup", "progressIndicator" })
        EXPECT_NE(screen->findChild<QWidget*>(outlet), nullptr) << outlet;

    auto* data = new QMimeData;
    data->setUrls({ QUrl::fromLocalFile(m_dir.path() + "/photos") });
    ASSERT_TRUE(drop(box, data));
    for (int spins = 0; screen->isAddRunInProgress() && spins < 100000; ++spins)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    delete data;

    EXPECT_EQ(m_posted.join(' ').toStdString(),
        "FileDragDropNotification notificationsDisbleCross notificationsDisbleView notificationsHideLoading "
        "notificationsEnableCross notificationsEnable notificationUpdateFooterInfo notificationsPhotosModified");
    QStringList names;
    for (const PhotoFilePtr& p : batch())
        names << p->filePath().mid(m_dir.path().size() + 8);
    EXPECT_EQ(names.join(',').toStdString(), "a/2.jpg,a/10.jpg,a/sub/1.png,b.jpg"); // walked with subfolders
    EXPECT_FALSE(screen->findChild<QWidget*>("viewDragNDrop")->isVisible());
    EXPECT_TRUE(box->isRegistered());
}

TEST_F(AddPhotosVCTest, RunOverABatchShowsTheSheetAndLocksEveryEntryPoint)
{
    HeldExecutor held;
    auto* screen = new AddPhotosVC(&m_window, &held);
    screen->resize(m_window.size());
    m_window.show();
    ASSERT_TRUE(screen->addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/photos/b.jpg") }));
    held.job();
    ASSERT_EQ(batch().size(), 1);

    auto* box = screen->findChild<DragDropBox*>("leftBox");
    ASSERT_TRUE(screen->addPhotosFromDroppedPaths({ m_dir.path() + "/photos/a" }));
    EXPECT_NE(Sheet::activeSheet(&m_window), nullptr);
    auto* sheet = m_window.findChild<QWidget*>("winAddingPhotos");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_FALSE(box->isRegistered());
    EXPECT_FALSE(screen->findChild<QPushButton*>("btnAddFolder")->isEnabled());
    EXPECT_FALSE(screen->addPhotosFromPathUrls({ QUrl::fromLocalFile(m_dir.path() + "/photos") }));

    screen->btnStopAddingTapped();
    held.job();
    EXPECT_EQ(Sheet::activeSheet(&m_window), nullptr);
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_TRUE(screen->findChild<QPushButton*>("btnAddFolder")->isEnabled());
    EXPECT_TRUE(box->isRegistered());
    EXPECT_EQ(batch().size(), 1); // stopped before any photo joined
}

TEST_F(AddPhotosVCTest, DropBoxTakesOnlyLocalFileNamesAndTiffWins)
{
    auto* box = new DragDropBox(&m_window);
    box->resize(300, 200);
    m_window.show();
    const QUrl local = QUrl::fromLocalFile(m_dir.path() + "/photos/b.jpg");
    const struct {
        const char* name;
        bool registered;
        QList<QUrl> urls;
        bool tiff;
        bool text;
        bool posted;
        bool alert;
    } cases[] = {
        { "local file", true, { local }, false, false, true, false },
        { "not registered", false, { local }, false, false, false, false },
        { "tiff with file names", true, { local }, true, false, false, false },
        { "remote only", true, { QUrl("http://127.0.0.1/x.jpg") }, false, false, false, false },
        { "plain text", true, {}, false, true, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_posted.clear();
        box->registerForDraggedTypes(c.registered);
        QMimeData data;
        if (!c.urls.isEmpty())
            data.setUrls(c.urls);
        if (c.tiff)
            data.setData("image/tiff", QByteArray("II*\0", 4));
        if (c.text)
            data.setText("words");
        drop(box, &data);
        EXPECT_EQ(m_posted.contains(QString::fromLatin1(kFileDragDropNotification)), c.posted);
        auto* alert = m_window.findChild<QMessageBox*>("pasteErrorAlert");
        EXPECT_EQ(alert != nullptr, c.alert);
        if (alert) {
            EXPECT_EQ(alert->text().toStdString(), "Sorry, but the past operation failed");
            EXPECT_EQ(alert->windowTitle().toStdString(), "Paste Error");
            delete alert;
        }
    }
}

// Add Folder, Add with Filters and the library panel take several folders in one choice: a
// Control-click adds a second folder to the selection, and both are scanned.
TEST_F(AddPhotosVCTest, FoldersChosenTogetherInOnePanelAreAllScanned)
{
    const QString photos = m_dir.path() + "/photos";
    ASSERT_TRUE(QDir().mkpath(photos + "/d"));
    ASSERT_TRUE(testimages::writePattern(photos + "/d/3.jpg", 24, 16));
    auto* screen = new AddPhotosVC(&m_window);
    screen->resize(m_window.size());
    m_window.show();
    const struct {
        const char* name;
        std::function<void()> open;
        const char* panel;
        const char* added; // with subfolders, as the panel's entry walks them
    } cases[] = {
        { "Add Folder", [screen] { screen->btnAddPhotosTappedWithIndex(1); }, "addPhotosPanel",
            "a/10.jpg,a/2.jpg,a/sub/1.png,d/3.jpg" },
        { "Add with Filters", [screen] { screen->btnAddPhotosTappedWithIndex(2); }, "addPhotosPanel",
            "a/10.jpg,a/2.jpg,a/sub/1.png,d/3.jpg" },
        { "library panel", [screen] { screen->btnAddIphotosTapped(); }, "addLibraryPanel",
            "a/10.jpg,a/2.jpg,d/3.jpg" }, // plain folders, read one level deep
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        batch().clear();
        screen->forgetAllAddedPaths();
        c.open();
        auto* panel = m_window.findChild<QFileDialog*>(c.panel);
        ASSERT_NE(panel, nullptr);
        panel->setDirectory(photos);
        auto* list = panel->findChild<QListView*>("listView");
        ASSERT_NE(list, nullptr);
        auto* model = qobject_cast<QFileSystemModel*>(list->model());
        ASSERT_NE(model, nullptr);
        auto rowOf = [&](const char* name) { return model->index(photos + "/" + name); };
        ASSERT_TRUE(QTest::qWaitFor([&] { return rowOf("a").isValid() && rowOf("d").isValid(); }, 5000));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(rowOf("a")).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualRect(rowOf("d")).center());
        QStringList chosen = panel->selectedFiles();
        chosen.sort();
        EXPECT_EQ(chosen.join(',').toStdString(), (photos + "/a," + photos + "/d").toStdString());
        auto* buttons = panel->findChild<QDialogButtonBox*>("buttonBox");
        ASSERT_NE(buttons, nullptr);
        QPushButton* accept = buttons->button(QDialogButtonBox::Open);
        ASSERT_NE(accept, nullptr);
        ASSERT_TRUE(accept->isEnabled());
        QTest::mouseClick(accept, Qt::LeftButton);
        const qsizetype expected = QString(c.added).split(',').size();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return batch().size() == expected && !screen->isAddRunInProgress(); }, 10000));
        QStringList names;
        for (const PhotoFilePtr& p : batch())
            names << p->filePath().mid(photos.size() + 1);
        names.sort();
        EXPECT_EQ(names.join(',').toStdString(), c.added);
    }
}

} // namespace

namespace {

QAbstractButton* buttonNamed(QWidget* root, const QString& name)
{
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->accessibleName() == name && b->isVisible())
            return b;
    return nullptr;
}

TEST_F(AddPhotosVCTest, FocusReturnsToTheButtonThatOpenedTheFilePanel)
{
    const QString photos = m_dir.path() + "/photos";
    auto* screen = new AddPhotosVC(&m_window);
    screen->resize(m_window.size());
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    // The photos go into a batch first, so the screen shows its top buttons.
    ASSERT_TRUE(screen->addPhotosFromDroppedPaths({ photos + "/b.jpg" }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->isAddRunInProgress() && batch().size() == 1; }, 10000));

    const struct {
        const char* button;
        bool choose; // false: the panel is cancelled
    } cases[] = { { "Add Photos", false }, { "Add Folder", false }, { "Add Photos", true }, { "Add Folder", true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.button << c.choose);
        QAbstractButton* opener = buttonNamed(&m_window, c.button);
        ASSERT_NE(opener, nullptr);
        opener->setFocus(Qt::TabFocusReason);
        QTest::keyClick(opener, Qt::Key_Space);
        QFileDialog* panel = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (panel = m_window.findChild<QFileDialog*>("addPhotosPanel")); }, 3000));
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
        if (c.choose) {
            panel->setDirectory(photos);
            panel->selectFile(QString::fromLatin1(c.button) == "Add Photos" ? photos + "/b.jpg" : photos + "/a");
            static_cast<QDialog*>(panel)->accept();
        } else {
            QWidget* inPanel = QApplication::focusWidget();
            QTest::keyClick(inPanel && panel->isAncestorOf(inPanel) ? inPanel : panel, Qt::Key_Escape);
        }
        QPointer<QFileDialog> closing(panel);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !closing || !closing->isVisible(); }, 3000));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The add run starts a moment after the panel closes and disables the buttons while it runs.
        QTest::qWait(1200);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->isAddRunInProgress(); }, 10000));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        EXPECT_EQ(QApplication::focusWidget(), opener)
            << (QApplication::focusWidget() ? QApplication::focusWidget()->accessibleName().toStdString() : "none");
    }
}

} // namespace
