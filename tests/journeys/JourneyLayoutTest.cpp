// Journey through every step at the smallest window the application allows and at a large
// one: every control a user reads or clicks lies inside the window and on no other control.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyGestures.h"
#include "JourneyStart.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

bool isUserFacing(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w)
        || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QMenuBar*>(w)
        || qobject_cast<QTextEdit*>(w);
}

/// The visible controls under `root` in the window, with their frames in window coordinates
/// (cut to what their ancestors let show; a control scrolled out of sight is left out).
QList<std::pair<QWidget*, QRect>> controlsOf(QWidget* window, QWidget* root)
{
    QList<std::pair<QWidget*, QRect>> controls;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow() || !isUserFacing(w) || w->accessibleName().isEmpty())
            continue;
        QRect frame(w->mapTo(window, QPoint(0, 0)), w->size());
        QRect shown = frame;
        bool scrolledAway = false;
        for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
            if (qobject_cast<QAbstractScrollArea*>(p) || p->objectName() == QLatin1String("qt_scrollarea_viewport")) {
                const QRect area(p->mapTo(window, QPoint(0, 0)), p->size());
                shown = shown.intersected(area);
                scrolledAway = scrolledAway || shown.isEmpty();
            }
        }
        if (!scrolledAway)
            controls.append({ w, shown });
    }
    return controls;
}

QString where(QWidget* w, const QRect& r)
{
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->accessibleName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

/// Fails for each control outside the window and each pair of controls that overlap (a
/// control and what lies inside it, such as a list's own buttons, are not a pair). With a
/// `root` (a sheet over the window), only the controls under it count.
void checkLayout(QWidget* window, const QString& step, QWidget* root = nullptr)
{
    SCOPED_TRACE(QStringLiteral("%1 at %2x%3").arg(step).arg(window->width()).arg(window->height()).toStdString());
    const QRect inside = window->rect();
    const auto controls = controlsOf(window, root ? root : window);
    EXPECT_GT(controls.size(), 8) << "hardly any controls found";
    for (int i = 0; i < controls.size(); ++i) {
        const auto& [a, ra] = controls.at(i);
        EXPECT_TRUE(inside.contains(ra)) << where(a, ra).toStdString() << " lies outside the window";
        for (int j = i + 1; j < controls.size(); ++j) {
            const auto& [b, rb] = controls.at(j);
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            EXPECT_FALSE(ra.intersects(rb)) << where(a, ra).toStdString() << " overlaps " << where(b, rb).toStdString();
        }
    }
}

TEST(Journey, EveryStepFitsWithoutOverlapsAtSmallAndLargeWindowSizes)
{
    JourneyStart start;
    ASSERT_TRUE(start.launch());
    const PhotoFolder& folder = start.folder();
    RunningApp& app = start.app();
    QWidget* window = app.window();

    bool added = false;
    for (const QSize size : { QSize(900, 640), QSize(1920, 1080) }) {
        // The window system gives the window its new size (a window manager would, on a drag of
        // its edge).
        window->setGeometry(QRect(QPoint(40, 40), size));
        ASSERT_TRUE(waitFor([&] { return window->size() == size; }, 3000))
            << "the window is " << window->width() << "x" << window->height();
        settle(100);

        if (!added) {
            checkLayout(window, "the empty batch");
            ASSERT_TRUE(addFolderThroughPanel(folder.root(), 6));
            added = true;
        } else {
            ASSERT_TRUE(goToStep("Finish", "Photos"));
        }
        ASSERT_TRUE(clickControl("Grid"));
        settle(100);
        checkLayout(window, "the batch as a grid");
        ASSERT_TRUE(clickControl("List"));
        settle(100);
        checkLayout(window, "the batch as a list");
        ASSERT_TRUE(goToStep("Next", "Resizing"));
        ASSERT_TRUE(clickControl("Custom size", pane("Resize")));
        checkLayout(window, "the resizing step");
        ASSERT_TRUE(goToStep("Next", "Settings"));
        ASSERT_TRUE(clickControl("Convert to", pane("Settings")));
        ASSERT_TRUE(clickControl("Choose format", pane("Settings")));
        ASSERT_TRUE(clickItem("Options", "*.JPG"));
        checkLayout(window, "the settings step");
        ASSERT_TRUE(clickControl("Save to folder", pane("Settings")));
        ASSERT_TRUE(clickControl("Choose output folder", pane("Settings")));
        const QString out = start.place(QStringLiteral("out-%1").arg(size.width()));
        ASSERT_TRUE(QDir().mkpath(out));
        ASSERT_TRUE(choosePathInPanel(out));
        ASSERT_TRUE(goToStep("Convert", "Processing"));
        ASSERT_TRUE(waitForSummary());
        checkLayout(window, "the summary");
    }

    // The overwrite question at the smallest size, before and after its rename field says the
    // name is taken: it fits, and the field keeps its height.
    window->setGeometry(QRect(QPoint(40, 40), QSize(900, 640)));
    ASSERT_TRUE(waitFor([&] { return window->size() == QSize(900, 640); }, 3000));
    ASSERT_TRUE(goToStep("Finish", "Photos"));
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(goToStep("Convert", "Processing"));
    QWidget* sheet = nullptr;
    ASSERT_TRUE(waitFor(
        [&] {
            const QList<QWidget*> found = visibleControls("File already exists");
            sheet = found.size() == 1 ? found.first() : nullptr;
            return sheet != nullptr;
        },
        15'000))
        << "no overwrite question";
    checkLayout(window, "the overwrite question", sheet);
    QWidget* field = control("New file name", sheet);
    ASSERT_TRUE(field);
    const int height = field->height();
    ASSERT_TRUE(typeInto("New file name", "upside", sheet));
    ASSERT_TRUE(clickControl("Rename", sheet));
    ASSERT_TRUE(waitFor(
        [&] {
            const QList<QWidget*> error = visibleControls("Rename error", sheet);
            return error.size() == 1 && !textOf(error.first()).isEmpty();
        },
        3000))
        << "a taken name gave no error";
    checkLayout(window, "the overwrite question with its error", sheet);
    EXPECT_EQ(field->height(), height) << "the rename field lost height under its error";
    ASSERT_TRUE(clickControl("Skip All", sheet));
    ASSERT_TRUE(waitForSummary());
}

} // namespace
} // namespace vantrel::journeys
