// The batch by keyboard, offscreen: in the grid Space checks or unchecks the current photo and
// Control with a navigation key moves, every mark kept, while Control with another key marks or
// unmarks all; Delete and Backspace remove a photo only when pressed alone; in the list the focus
// ring stays on the current row when rows are removed, and the keyboard on a row's info control
// stays with that photo when the list scrolls.
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "components/FocusRing.h"
#include "core/AppDelegate.h"
#include "core/ResourceImages.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Batch/BatchListView.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

struct NoHost : BatchHost {
    void forgetAddedPath(const QString&) override { }
    void forgetAllAddedPaths() override { }
    void setPreviewImage() override { }
    void processAfterAllPhotosAdded() override { }
    void addPhotosFromPathUrls(const QStringList&) override { }
};

class BatchKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        ResourceImages::initResources();
        FocusRing::install();
        for (int i = 0; i < 12; ++i) {
            const QString name = QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0'));
            ASSERT_TRUE(testimages::writePattern(dir.filePath(name), 60, 40));
            auto photo = PhotoFile::initWithFileUrl(dir.filePath(name), name, false);
            photo->setIsSelected(true);
            batch.append(photo);
        }
        browser = std::make_unique<BatchBrowser>(&host, &batch);
        browser->resize(1000, 600);
        browser->show();
        browser->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(browser.get()));
    }
    /// The photos' marks, "x" checked and "." unchecked, in batch order.
    QString marks() const
    {
        QString shown;
        for (const PhotoFilePtr& photo : batch)
            shown += photo->isSelected() ? QLatin1Char('x') : QLatin1Char('.');
        return shown;
    }
    /// A key pressed on whatever has the keyboard.
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        QTest::keyClick(focus, Qt::Key(key), modifiers);
        QApplication::processEvents();
    }

    QTemporaryDir dir;
    QList<PhotoFilePtr> batch;
    NoHost host;
    std::unique_ptr<BatchBrowser> browser;
};

TEST_F(BatchKeysTest, GridSpaceTogglesTheCurrentPhotoAndControlNavigationKeepsTheMarks)
{
    BatchGridView* grid = browser->collectionView();
    ASSERT_TRUE(grid->isVisible());
    grid->setFocus(Qt::TabFocusReason); // the first photo becomes current
    ASSERT_EQ(QApplication::focusWidget(), grid);
    const qint64 last = batch.size() - 1;
    const QString all(batch.size(), QLatin1Char('x'));
    const QString none(batch.size(), QLatin1Char('.'));
    QString secondOut = all;
    secondOut[1] = QLatin1Char('.');
    const struct {
        const char* step;
        int key;
        Qt::KeyboardModifiers modifiers;
        qint64 current;
        QString marks;
    } steps[] = {
        { "Ctrl+End", Qt::Key_End, Qt::ControlModifier, last, all },
        { "Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 0, all },
        { "Ctrl+Right", Qt::Key_Right, Qt::ControlModifier, 1, all },
        { "Ctrl+PageDown", Qt::Key_PageDown, Qt::ControlModifier, 1, all },
        { "Ctrl+PageUp", Qt::Key_PageUp, Qt::ControlModifier, 1, all },
        { "Space", Qt::Key_Space, Qt::NoModifier, 1, secondOut },
        { "Ctrl+A marks all", Qt::Key_A, Qt::ControlModifier, 1, all },
        { "Ctrl+A unmarks all", Qt::Key_A, Qt::ControlModifier, 1, none },
        { "Space checks one", Qt::Key_Space, Qt::NoModifier, 1, QString(none).replace(1, 1, QLatin1Char('x')) },
        { "Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, -1,
            QString(none).replace(1, 1, QLatin1Char('x')) }, // the item below, wherever the columns end
    };
    qint64 below = -1;
    for (const auto& step : steps) {
        press(step.key, step.modifiers);
        const OptionalIndexPath current = grid->indexPathForSelectedItem();
        ASSERT_TRUE(current.has_value()) << step.step;
        if (step.current >= 0)
            EXPECT_EQ(current->kelt_item(), step.current) << step.step;
        else
            below = current->kelt_item();
        EXPECT_EQ(marks(), step.marks) << step.step;
        EXPECT_EQ(QApplication::focusWidget(), grid) << step.step;
    }
    EXPECT_GT(below, 1) << "Ctrl+Down did not move down";
}

TEST_F(BatchKeysTest, ListRingStaysOnTheCurrentRowWhenRowsGo)
{
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    ASSERT_TRUE(list->isVisible());
    list->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), list);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), 3);

    const auto rowRect = [list](int row) {
        QRect shown;
        for (int column = 0; column < BatchListModel::ColumnCount; ++column)
            shown |= list->visualRect(list->batchModel()->index(row, column));
        return shown.translated(list->viewport()->pos());
    };
    // A row's delete button as its click reaches the screen (a click would make its row current).
    const auto clickDelete = [this](int row) {
        browser->btnDeleteTappedAtLocationInTableView(QPoint(), row);
        QApplication::processEvents();
        QApplication::processEvents();
    };
    // The current row keeps its number when a row above it or the row itself goes, and becomes the
    // last row when the batch ends above it; the ring goes round it each time.
    const struct {
        const char* change;
        std::function<void()> act;
        int currentRow;
        QString currentPhoto;
    } cases[] = {
        { "a row above removed", [&] { clickDelete(0); }, 3, "p04.png" },
        { "the current row removed", [&] { clickDelete(3); }, 3, "p05.png" },
        { "mark all", [&] { press(Qt::Key_A, Qt::ControlModifier); }, 3, "p05.png" },
        { "the rows after it removed",
            [&] {
                while (list->batchModel()->rowCount() > 3)
                    clickDelete(list->batchModel()->rowCount() - 1);
            },
            2, "p03.png" },
    };
    for (const auto& c : cases) {
        c.act();
        ASSERT_EQ(list->currentIndex().row(), c.currentRow) << c.change;
        EXPECT_EQ(list->batchModel()->index(c.currentRow, 0).data().toString(), c.currentPhoto) << c.change;
        ASSERT_EQ(FocusRing::ringedWidget(), list) << c.change;
        const QRect ring = FocusRing::ringRect();
        const QRect shown = rowRect(c.currentRow);
        EXPECT_TRUE(ring.contains(shown)) << c.change << ": ring at " << ring.y() << ", row at " << shown.y();
        EXPECT_LT(ring.height(), shown.height() + 8) << c.change;
    }
}

// Delete and Backspace alone remove the current photo, in the grid and in the list; held with
// Shift, Control or Alt they remove nothing.
TEST_F(BatchKeysTest, OnlyAPlainDeleteOrBackspaceRemovesTheCurrentPhoto)
{
    const struct {
        const char* what;
        int key;
        Qt::KeyboardModifiers held;
        qsizetype removed;
    } keys[] = {
        { "Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, 0 },
        { "Ctrl+Delete", Qt::Key_Delete, Qt::ControlModifier, 0 },
        { "Alt+Delete", Qt::Key_Delete, Qt::AltModifier, 0 },
        { "Shift+Backspace", Qt::Key_Backspace, Qt::ShiftModifier, 0 },
        { "Ctrl+Backspace", Qt::Key_Backspace, Qt::ControlModifier, 0 },
        { "Delete", Qt::Key_Delete, Qt::NoModifier, 1 },
        { "Backspace", Qt::Key_Backspace, Qt::NoModifier, 1 },
    };
    for (const BatchViewMode mode : { BatchViewMode::Grid, BatchViewMode::List }) {
        SCOPED_TRACE(mode == BatchViewMode::Grid ? "grid" : "list");
        browser->presenter()->changePhotosViewImageMode(mode);
        QWidget* view = mode == BatchViewMode::Grid ? static_cast<QWidget*>(browser->collectionView())
                                                    : static_cast<QWidget*>(browser->tblPhotos());
        ASSERT_TRUE(view->isVisible());
        view->setFocus(Qt::TabFocusReason); // the first photo becomes current
        for (const auto& k : keys) {
            const qsizetype before = batch.size();
            press(k.key, k.held);
            QApplication::processEvents();
            EXPECT_EQ(before - batch.size(), k.removed) << k.what;
            EXPECT_EQ(QApplication::focusWidget(), view) << k.what;
        }
    }
}

TEST_F(BatchKeysTest, ListInfoControlWithTheKeyboardKeepsItsPhotoWhenTheListScrolls)
{
    browser->resize(1000, 330); // a few rows in view: the list scrolls
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::List);
    BatchListView* list = browser->tblPhotos();
    ASSERT_TRUE(list->isVisible());
    list->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), 1);
    press(Qt::Key_Tab);
    auto* control = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    ASSERT_TRUE(control);
    ASSERT_EQ(control->accessibleName(), "Photo information");
    ASSERT_EQ(control->property("row").toInt(), 1);
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    // Scrolled by a row the photo is still in view: the keyboard is on its control. Scrolled to
    // the end it is not: the keyboard is back on the list, its current row unchanged.
    const struct {
        const char* scroll;
        int value;
        bool onControl;
    } cases[] = {
        { "one row down", list->rowHeight(0) + 1, true },
        { "to the end", bar->maximum(), false },
    };
    for (const auto& c : cases) {
        bar->setValue(c.value);
        QApplication::processEvents();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus) << c.scroll;
        if (c.onControl) {
            EXPECT_EQ(focus->accessibleName(), "Photo information") << c.scroll;
            EXPECT_EQ(focus->property("row").toInt(), 1) << c.scroll;
            EXPECT_TRUE(focus->isVisible()) << c.scroll;
        } else {
            EXPECT_EQ(focus, list) << c.scroll << ": keyboard on " << focus->accessibleName().toStdString()
                                   << " of row " << focus->property("row").toInt();
        }
        EXPECT_EQ(list->currentIndex().row(), 1) << c.scroll;
    }
}

} // namespace
} // namespace vantrel
