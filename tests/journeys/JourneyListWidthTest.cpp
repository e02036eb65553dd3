// The option lists drawn in the real window: every row of every list shows its text whole.
#include <QAbstractItemView>
#include <QListWidget>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyStart.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

/// The rows of the open list whose text is cut with an ellipsis where the row draws it.
QStringList cutRows()
{
    QStringList cut;
    const QList<QWidget*> shown = visibleControls("Options");
    auto* list = shown.size() == 1 ? qobject_cast<QListWidget*>(shown.first()) : nullptr;
    if (!list)
        return { "(no list)" };
    for (int row = 0; row < list->count(); ++row) {
        const QString text = list->item(row)->text();
        // The row's room: its width less the padding drawn on each side of the text.
        const int room = list->visualItemRect(list->item(row)).width() - 2 * 8;
        if (list->fontMetrics().elidedText(text, Qt::ElideRight, room) != text)
            cut << text;
    }
    return cut;
}

TEST(Journey, EveryOptionListShowsItsRowsWhole)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    ASSERT_TRUE(keyToStep("Next", "Resizing"));
    ASSERT_TRUE(keyToStep("Next", "Settings"));
    const struct {
        const char* step;
        const char* button; // pressed to reach the step from the one before; nullptr: already there
        const char* radio; // pressed first to enable the list's button
        const char* opener;
    } lists[] = {
        { "Settings", nullptr, "Convert to", "Choose format" },
        { "Settings", nullptr, nullptr, "Choose naming" },
        { "Resizing", "Back", "Predefined size", "Choose preset" },
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.opener);
        if (l.button) {
            ASSERT_TRUE(keyToStep(l.button, l.step));
        }
        if (l.radio) {
            ASSERT_TRUE(pressButton(l.radio));
        }
        ASSERT_TRUE(pressButton(l.opener));
        ASSERT_TRUE(waitFor([] { return visibleControls("Options").size() == 1; }, 5000)) << "no list opened";
        settle(100);
        EXPECT_EQ(cutRows().join(" | ").toStdString(), "");
        ASSERT_TRUE(pressKey(Qt::Key_Escape));
        ASSERT_TRUE(waitFor([] { return visibleControls("Options").isEmpty(); }, 3000));
    }
}

} // namespace
} // namespace vantrel::journeys
