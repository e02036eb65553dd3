// The add screen's controls driven through its window: the list of add options under "More…" by
// keys alone, and the entries and Stop buttons of an add scan by clicks.
#include <functional>
#include <thread>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "components/FocusRing.h"
#include "components/FocusedButtonKeys.h"
#include "components/TorAttachedWindow.h"
#include "core/AppDelegate.h"
#include "core/Processing/RunInterfaces.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "support/LibraryFixtures.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

/// Runs each add scan on a thread of its own, as the screen's worker does, joined before the next.
class ThreadExecutor : public RunExecutor {
public:
    ~ThreadExecutor() override { join(); }
    void submit(std::function<void()> job) override
    {
        join();
        m_done = false;
        m_thread = std::thread([this, job = std::move(job)] {
            job();
            m_done = true;
        });
    }
    void join()
    {
        // The scan hands its photos over through the event loop: keep it turning while joining.
        if (!m_thread.joinable())
            return;
        (void)QTest::qWaitFor([this] { return m_done.load(); }, 30'000);
        m_thread.join();
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_done { true };
};

class AddPhotosControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        FocusRing::install();
        m_window.resize(900, 600);
        m_keys = new FocusedButtonKeys(&m_window);
    }

    QWidget* named(const QString& name, const QWidget* scope = nullptr) const
    {
        for (QWidget* w : (scope ? scope : &m_window)->findChildren<QWidget*>())
            if (w->accessibleName() == name && w->isVisible())
                return w;
        return nullptr;
    }

    /// A key pressed and released on the control that has the keyboard.
    static void key(int k, const QString& text = {})
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::sendKeyEvent(QTest::KeyAction::Click, focus, Qt::Key(k), text, Qt::NoModifier);
    }

    QList<PhotoFilePtr>& batch() { return AppDelegate::shareDelegate()->arraySelectedImagesToProcess; }

    QTemporaryDir m_dir;
    QWidget m_window;
    FocusedButtonKeys* m_keys = nullptr;
};

TEST_F(AddPhotosControlsTest, MoreListTakesTheKeysWhileOpenAndGivesTheFocusBack)
{
    auto* screen = new AddPhotosVC(&m_window);
    screen->resize(m_window.size());
    auto* elsewhere = new QLineEdit(&m_window); // stands for a sheet's field taking the keyboard
    elsewhere->setGeometry(10, 560, 100, 24);
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    QWidget* more = named("More ways to add photos");
    ASSERT_NE(more, nullptr);
    const auto list = [&]() -> QTableWidget* {
        auto* popup = m_window.findChild<TorAttachedWindow*>();
        auto* table = popup && popup->isVisible() ? popup->findChild<QTableWidget*>("tblPopupOptions") : nullptr;
        return table && table->isVisible() ? table : nullptr;
    };
    const auto highlighted = [&] {
        QTableWidget* table = list();
        return table && !table->selectedItems().isEmpty() ? table->selectedItems().first()->text().toStdString()
                                                          : std::string();
    };

    const struct {
        const char* what;
        std::function<void()> act;
        bool open;
        std::string highlight; // the row highlighted while open
        QWidget* focus; // the control with the keyboard
        bool ringed; // the ring drawn on it
    } steps[] = {
        { "Tab to the button", [&] { more->setFocus(Qt::TabFocusReason); }, false, {}, more, true },
        { "Return opens the list", [&] { key(Qt::Key_Return, "\r"); }, true, {}, more, true },
        { "Down to the first row", [&] { key(Qt::Key_Down); }, true, "Add Photos", more, true },
        { "Down twice more", [&] { key(Qt::Key_Down), key(Qt::Key_Down); }, true, "Add with Filters", more, true },
        { "Tab reaches nothing behind it", [&] { key(Qt::Key_Tab, "\t"); }, true, "Add with Filters", more, true },
        { "a letter walks its rows", [&] { key(Qt::Key_A, "a"); }, true, "Add iPhoto/Photos library", more, true },
        { "Up", [&] { key(Qt::Key_Up); }, true, "Add with Filters", more, true },
        { "Escape closes it", [&] { key(Qt::Key_Escape); }, false, {}, more, true },
        { "Space opens it again", [&] { key(Qt::Key_Space, " "); }, true, {}, more, true },
        { "focus taken elsewhere closes it", [&] { elsewhere->setFocus(Qt::OtherFocusReason); }, false, {}, elsewhere,
            true },
        { "opened again", [&] { more->setFocus(Qt::TabFocusReason), key(Qt::Key_Return, "\r"); }, true, {}, more,
            true },
        { "its step left closes it", [&] { screen->hide(); }, false, {}, nullptr, false },
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        QTest::qWait(20);
        EXPECT_EQ(list() != nullptr, s.open);
        EXPECT_EQ(highlighted(), s.highlight);
        if (s.focus) {
            EXPECT_EQ(QApplication::focusWidget(), s.focus);
            EXPECT_EQ(FocusRing::ringedWidget() == s.focus, s.ringed);
        }
    }

    // Return on a highlighted row chooses it: "Add with Filters" opens the folder panel.
    screen->show();
    more->setFocus(Qt::TabFocusReason);
    for (int k : { Qt::Key_Return, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return })
        key(k, k == Qt::Key_Return ? QStringLiteral("\r") : QString());
    auto* panel = m_window.findChild<QFileDialog*>("addPhotosPanel");
    ASSERT_NE(panel, nullptr) << "Return on a row opened nothing";
    EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(list(), nullptr);
    panel->reject();
}

/// Chooses `path` in the open panel named `panelName` as a user does: the item selected, then a
/// click on the panel's accept button.
::testing::AssertionResult chooseInPanel(QWidget* window, const char* panelName, const QString& path)
{
    QFileDialog* panel = nullptr;
    if (!QTest::qWaitFor(
            [&] { return (panel = window->findChild<QFileDialog*>(panelName)) && panel->isVisible(); }, 3000))
        return ::testing::AssertionFailure() << "no panel " << panelName;
    panel->setDirectory(QFileInfo(path).path());
    panel->selectFile(path);
    auto* buttons = panel->findChild<QDialogButtonBox*>("buttonBox");
    QPushButton* accept = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
    if (!accept || !accept->isEnabled())
        return ::testing::AssertionFailure() << "the panel cannot accept " << path.toStdString();
    QTest::mouseClick(accept, Qt::LeftButton);
    return ::testing::AssertionSuccess();
}

TEST_F(AddPhotosControlsTest, MiddleButtonLibraryEntryAndBothStopButtonsByClicks)
{
    const QString root = m_dir.path();
    constexpr int kMany = 150;
    QStringList files { "a/2.jpg", "a/10.jpg", "a/sub/1.png", "one.jpg" };
    for (int i = 0; i < kMany; ++i)
        files << QStringLiteral("many/%1.jpg").arg(i);
    for (const QString& file : std::as_const(files)) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(root + "/" + file).path()));
        ASSERT_TRUE(testimages::writePattern(root + "/" + file, 12, 8));
    }
    // The same library twice: as a package the panel takes and as one it leaves aside.
    for (const char* package : { "lib/Family.photoslibrary", "lib/Old.migratedphotolibrary" })
        ASSERT_TRUE(libraryfixtures::buildNewerPhotosLibrary(
            root + "/" + package, { { "U1", "0", "U1.jpeg", QStringLiteral("IMG_0001.JPG") } }));
    ThreadExecutor executor;

    const struct {
        const char* what;
        bool batchFirst; // a photo in the batch before: the scan shows its sheet
        const char* entry; // the control clicked, by accessible name
        const char* panel;
        const char* chosen;
        const char* stopIn; // the Stop clicked while the scan runs: in the screen or on the sheet
        const char* added; // the photos the batch gains; "some" for a scan stopped short
    } cases[] = {
        { "middle button: a folder with its subfolders", false, "Add a folder of photos", "addPhotosPanel", "a", "",
            "a/10.jpg,a/2.jpg,a/sub/1.png" },
        { "library entry: a migrated library refused", false, "Add Photos Library", "addLibraryPanel",
            "lib/Old.migratedphotolibrary", "", "" },
        { "library entry: a Photos library read", false, "Add Photos Library", "addLibraryPanel",
            "lib/Family.photoslibrary", "", "lib/Family.photoslibrary/originals/0/U1.jpeg" },
        { "Stop in the screen", false, "Add a folder of photos", "addPhotosPanel", "many", "Import progress", "some" },
        { "Stop on the sheet", true, "Add Folder", "addPhotosPanel", "many", "Adding photos", "some" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppDelegate::resetShared();
        auto* screen = new AddPhotosVC(&m_window, &executor);
        screen->logic().setDeliveryGrouping(1, 0); // each photo handed over on its own
        screen->resize(m_window.size());
        screen->show();
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        if (c.batchFirst) {
            ASSERT_TRUE(screen->addPhotosFromPathUrls({ QUrl::fromLocalFile(root + "/one.jpg") }));
            ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->isAddRunInProgress() && batch().size() == 1; }, 10000));
        }
        const qsizetype before = batch().size();

        QWidget* entry = named(c.entry, screen);
        ASSERT_NE(entry, nullptr) << c.entry;
        QTest::mouseClick(entry, Qt::LeftButton);
        ASSERT_TRUE(chooseInPanel(&m_window, c.panel, root + "/" + c.chosen));
        if (*c.stopIn) {
            QWidget* stop = nullptr;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    QWidget* scope = named(c.stopIn);
                    stop = scope ? named("Stop", scope->parentWidget()) : nullptr;
                    return stop && batch().size() > before;
                },
                10000))
                << "no Stop shown while the scan ran";
            QTest::mouseClick(stop, Qt::LeftButton);
        } else {
            QTest::qWait(1500); // the choice is added after a short delay
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->isAddRunInProgress(); }, 30000));
        executor.join();
        QStringList added;
        for (qsizetype i = before; i < batch().size(); ++i)
            added << batch().at(i)->filePath().mid(root.size() + 1);
        added.sort();
        if (QByteArray(c.added) == "some")
            EXPECT_TRUE(!added.isEmpty() && added.size() < kMany) << added.size() << " of " << kMany;
        else
            EXPECT_EQ(added.join(',').toStdString(), c.added);
        delete screen;
    }
}

} // namespace
