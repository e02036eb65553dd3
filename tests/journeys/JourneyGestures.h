#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

class QWidget;

namespace vantrel::journeys {

/// Gestures on lists, menus and drop areas, and what a picture of a widget shows.

/// Clicks the row of the item view named `viewName` whose text is `itemText`, turning the
/// mouse wheel over the view first when the row lies outside it.
::testing::AssertionResult clickItem(const QString& viewName, const QString& itemText, QWidget* scope = nullptr);

/// Opens the menu titled `menu` of the window's menu bar with a click and clicks its item
/// `item`. Fails naming the menu or item when either is missing or disabled.
::testing::AssertionResult chooseMenuItem(const QString& menu, const QString& item);
/// Whether the item `item` of the menu `menu` is enabled (opens and closes the menu with the
/// mouse and Escape to see it, as a user would).
::testing::AssertionResult menuItemEnabled(const QString& menu, const QString& item, bool* enabled);

/// Drops `paths` on the widget as a file manager does: drag enter, drag move and drop events
/// at its centre, with the paths as file URLs. Fails when the widget refuses the drag.
::testing::AssertionResult dropPaths(QWidget* area, const QString& name, const QStringList& paths);

/// Whether the picture of the widget shows the four colours of the journeys' test pattern
/// (a thumbnail of a photo, not a placeholder).
bool showsPattern(QWidget* widget, const QRect& part = QRect());

} // namespace vantrel::journeys
