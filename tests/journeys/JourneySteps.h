#pragma once

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

class QAbstractItemView;
class QWidget;

namespace vantrel {
class GridCell;
} // namespace vantrel

namespace vantrel::journeys {

/// Steps that several journeys share, each made of clicks and keys only.

/// The text of a label or field without its markup ("Batch Count: 6 | ...").
QString plainText(const QString& controlName, QWidget* scope = nullptr);

/// The open file panel (Qt's own dialog), once it is shown and has the keyboard; nullptr when
/// none came up within a few seconds.
QWidget* waitForFilePanel();
/// In the file panel that is up: types `path` into its name field and presses Return.
::testing::AssertionResult choosePathInPanel(const QString& path);

/// Clicks "Add Folder", types the folder's path into the panel, and waits until the add run has
/// ended with `expected` photos in the batch.
::testing::AssertionResult addFolderThroughPanel(const QString& folder, int expected);
/// Waits until the add run is over and the batch line counts `expected` photos.
::testing::AssertionResult waitForBatchCount(int expected);

/// The grid cells shown, in the grid's order of children.
QList<GridCell*> shownGridCells();
/// The names of the grid cells shown, sorted.
QStringList gridCellNames();
/// The grid cell of that photo name (nullptr when not shown).
QWidget* gridCell(const QString& name);
/// The list of the batch when it is shown.
QAbstractItemView* batchList();
/// What each row of the list holds in `column` under `role`, in row order (empty when no list).
QStringList listColumn(int column, int role = Qt::DisplayRole);
/// The names in the list's rows, sorted.
QStringList listRowNames();

/// The wizard step shown: "Photos", "Resizing", "Settings", "Processing" or empty.
QString shownStep();
/// Clicks Next (or Back, Convert) and waits until `step` is shown.
::testing::AssertionResult goToStep(const QString& button, const QString& step);
/// Tabs to the button and presses Space, as a keyboard user activates a button.
::testing::AssertionResult pressButton(const QString& name);
/// pressButton(button), then waits until `step` is shown.
::testing::AssertionResult keyToStep(const QString& button, const QString& step);

/// Sets a text field as a user does: a click into it, select all, the text typed.
::testing::AssertionResult typeInto(const QString& fieldName, const QString& text, QWidget* scope = nullptr);

/// Whether the check box or radio button named `name` shows as checked (false, with a failure,
/// when it is missing).
bool isChecked(const QString& name, QWidget* scope = nullptr);
/// The one visible control named `name` (nullptr, with a failure naming it, when missing).
QWidget* control(const QString& name, QWidget* scope = nullptr);

/// The one visible pane or group named `name`; nullptr with a failure when there is none.
QWidget* pane(const QString& name);

/// Clicks `opener`, then the row `item` of the popup list it opens; waits for the list to go.
::testing::AssertionResult chooseFromPopup(const QString& opener, const QString& item, QWidget* scope);
/// On the settings step: converted to PNG, the folder `out` chosen through its panel.
::testing::AssertionResult convertToPngInto(const QString& out);

/// Waits until a run has ended and the summary shows; true when it did within `ms`.
bool waitForSummary(int ms = 60'000);

/// The value a summary label shows ("Images converted" ...), as an integer.
int summaryCount(const QString& label);

} // namespace vantrel::journeys
