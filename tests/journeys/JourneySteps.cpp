#include "JourneySteps.h"

#include <algorithm>
#include <functional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QWindow>

#include "JourneyDriver.h"
#include "JourneyGestures.h"
#include "screens/Cells/GridCell.h"

namespace vantrel::journeys {

QString plainText(const QString& controlName, QWidget* scope)
{
    QString text = controlText(controlName, scope);
    if (text.contains(QLatin1Char('<')))
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    return text.simplified();
}

QWidget* waitForFilePanel()
{
    QFileDialog* panel = nullptr;
    waitFor(
        [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QFileDialog*>(top); dialog && dialog->isVisible())
                    panel = dialog;
            return panel && panel->windowHandle() && QGuiApplication::focusWindow() == panel->windowHandle();
        },
        5000);
    return panel;
}

::testing::AssertionResult choosePathInPanel(const QString& path)
{
    // The panel deletes itself once closed.
    QPointer<QWidget> panel = waitForFilePanel();
    if (!panel)
        return ::testing::AssertionFailure() << "no file panel came up with the keyboard focus";
    // The panel opens with its name field focused, as a user finds it.
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || field->window() != panel)
        return ::testing::AssertionFailure() << "the file panel's name field does not have the keyboard focus";
    if (::testing::AssertionResult ok = typeText(path); !ok)
        return ok;
    if (::testing::AssertionResult ok = pressKey(Qt::Key_Return); !ok)
        return ok;
    if (!waitFor([&] { return !panel || !panel->isVisible(); }, 5000))
        return ::testing::AssertionFailure()
            << "the file panel stayed open after Return on \"" << path.toStdString() << "\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult waitForBatchCount(int expected)
{
    const QString wanted = QStringLiteral("Batch Count: %1 ").arg(expected);
    QString last;
    const bool done = waitFor(
        [&] {
            if (!visibleControls(QStringLiteral("Adding photos")).isEmpty())
                return false;
            const QList<QWidget*> lines = visibleControls(QStringLiteral("Batch summary"));
            last = lines.size() == 1 ? plainText(QStringLiteral("Batch summary")) : QString();
            return last.startsWith(wanted) && QApplication::activeModalWidget() == nullptr;
        },
        30'000);
    if (!done)
        return ::testing::AssertionFailure()
            << "the batch line says \"" << last.toStdString() << "\", not \"" << wanted.toStdString() << "...\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult addFolderThroughPanel(const QString& folder, int expected)
{
    if (::testing::AssertionResult ok = clickControl(QStringLiteral("Add Folder")); !ok)
        return ok;
    if (::testing::AssertionResult ok = choosePathInPanel(folder); !ok)
        return ok;
    return waitForBatchCount(expected);
}

QList<GridCell*> shownGridCells()
{
    QList<GridCell*> cells;
    for (QWidget* grid : visibleControls(QStringLiteral("Photos of the batch")))
        for (GridCell* cell : grid->findChildren<GridCell*>())
            if (cell->isVisible())
                cells.append(cell);
    return cells;
}

QStringList gridCellNames()
{
    QStringList names;
    for (GridCell* cell : shownGridCells())
        names << cell->accessibleName();
    names.sort();
    return names;
}

QWidget* gridCell(const QString& name)
{
    for (GridCell* cell : shownGridCells())
        if (cell->accessibleName() == name)
            return cell;
    return nullptr;
}

QAbstractItemView* batchList()
{
    for (QWidget* w : visibleControls(QStringLiteral("Photos of the batch")))
        if (auto* view = qobject_cast<QAbstractItemView*>(w))
            return view;
    return nullptr;
}

QStringList listColumn(int column, int role)
{
    QStringList texts;
    QAbstractItemView* list = batchList();
    if (!list)
        return texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, column).data(role).toString();
    return texts;
}

QStringList listRowNames()
{
    QStringList names = listColumn(0);
    names.sort();
    return names;
}

QString shownStep()
{
    for (const char* step : { "Photos", "Resizing", "Settings", "Processing" }) {
        for (QWidget* w : visibleControls(QString::fromLatin1(step)))
            if (w->parentWidget() && w->parentWidget()->accessibleName() == QLatin1String("Wizard step"))
                return QString::fromLatin1(step);
    }
    return {};
}

namespace {
::testing::AssertionResult waitForStepAfter(const QString& button, const QString& step)
{
    if (!waitFor([&] { return shownStep() == step; }, 5000))
        return ::testing::AssertionFailure() << "after \"" << button.toStdString() << "\" the window shows step \""
                                             << shownStep().toStdString() << "\", not \"" << step.toStdString() << "\"";
    return ::testing::AssertionSuccess();
}
} // namespace

::testing::AssertionResult goToStep(const QString& button, const QString& step)
{
    if (::testing::AssertionResult ok = clickControl(button); !ok)
        return ok;
    if (::testing::AssertionResult ok = waitForStepAfter(button, step); !ok)
        return ok;
    settle(30);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult pressButton(const QString& name)
{
    if (::testing::AssertionResult ok = tabTo(name); !ok)
        return ok;
    return pressKey(Qt::Key_Space);
}

::testing::AssertionResult keyToStep(const QString& button, const QString& step)
{
    if (::testing::AssertionResult ok = pressButton(button); !ok)
        return ok;
    return waitForStepAfter(button, step);
}

::testing::AssertionResult typeInto(const QString& fieldName, const QString& text, QWidget* scope)
{
    QString why;
    QWidget* field = findControl(fieldName, scope, &why);
    if (!field)
        return ::testing::AssertionFailure() << "cannot type into: " << why.toStdString();
    if (::testing::AssertionResult ok = clickWidget(field, fieldName); !ok)
        return ok;
    if (QApplication::focusWidget() != field && !field->isAncestorOf(QApplication::focusWidget()))
        return ::testing::AssertionFailure()
            << "a click into \"" << fieldName.toStdString() << "\" does not give it the keyboard";
    return replaceText(text);
}

QWidget* control(const QString& name, QWidget* scope)
{
    QString why;
    QWidget* found = findControl(name, scope, &why);
    if (!found)
        ADD_FAILURE() << why.toStdString();
    return found;
}

QWidget* pane(const QString& name)
{
    const QList<QWidget*> found = visibleControls(name);
    if (found.size() != 1) {
        ADD_FAILURE() << found.size() << " visible panes named \"" << name.toStdString() << "\"";
        return nullptr;
    }
    return found.first();
}

bool isChecked(const QString& name, QWidget* scope)
{
    auto* button = qobject_cast<QAbstractButton*>(control(name, scope));
    return button && button->isChecked();
}

::testing::AssertionResult chooseFromPopup(const QString& opener, const QString& item, QWidget* scope)
{
    if (::testing::AssertionResult ok = clickControl(opener, scope); !ok)
        return ok;
    if (!waitFor([] { return visibleControls("Options").size() == 1; }, 5000))
        return ::testing::AssertionFailure() << "\"" << opener.toStdString() << "\" opened no list";
    if (::testing::AssertionResult ok = clickItem("Options", item); !ok)
        return ok;
    if (!waitFor([] { return visibleControls("Options").isEmpty(); }, 5000))
        return ::testing::AssertionFailure() << "the list of \"" << opener.toStdString() << "\" stayed up";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult convertToPngInto(const QString& out)
{
    QWidget* settings = pane("Settings");
    if (!settings)
        return ::testing::AssertionFailure() << "no settings pane";
    for (const auto& step : std::initializer_list<std::function<::testing::AssertionResult()>> {
             [&] { return clickControl("Convert to", settings); },
             [&] { return chooseFromPopup("Choose format", "*.PNG", settings); },
             [&] { return clickControl("Save to folder", settings); },
             [&] { return clickControl("Choose output folder", settings); }, [&] { return choosePathInPanel(out); } })
        if (::testing::AssertionResult ok = step(); !ok)
            return ok;
    return ::testing::AssertionSuccess();
}

bool waitForSummary(int ms)
{
    return waitFor(
        [] {
            const QList<QWidget*> finish = visibleControls(QStringLiteral("Finish"));
            return finish.size() == 1 && finish.first()->isEnabled()
                && visibleControls(QStringLiteral("Stop")).isEmpty();
        },
        ms);
}

int summaryCount(const QString& label)
{
    bool ok = false;
    const int value = plainText(label, findControl(QStringLiteral("Processing"))).toInt(&ok);
    return ok ? value : -1;
}

} // namespace vantrel::journeys
