#pragma once

#include <QRect>
#include <QSize>

namespace vantrel::TabBarLayout {

// Where the main window's title bar puts its parts, in the bar's own (y-down) coordinates.
// Pure functions; the bar is kBarHeight high and as wide as the window.

inline constexpr int kBarHeight = 160;
inline constexpr int kTabCount = 3;
inline constexpr int kTabWidth = 190;
inline constexpr int kTabHeight = 46;
inline constexpr int kTabGap = 2;
inline constexpr int kTabBottomMargin = 0;
inline constexpr int kUnderlineHeight = 3;
inline constexpr int kWindowButtonSize = 14;
inline constexpr int kWindowButtonLeft = 12;
inline constexpr int kWindowButtonTop = 10;
inline constexpr int kWindowButtonGap = 8;
inline constexpr int kMenuStripHeight = 34;

/// Tab `tab` (1 to 3): the three tabs side by side, centred, on the bar's bottom edge. Any other
/// number gives an empty rect.
QRect tabFrame(int tab, QSize bar);
/// The highlight lies exactly on the chosen tab.
QRect highlightFrame(int tab, QSize bar);
/// The underline: the chosen tab's width, kUnderlineHeight high, along its bottom edge.
QRect underlineFrame(int tab, QSize bar);
/// The custom window buttons: close, minimise, zoom (index 0 to 2) from the top-left corner.
QRect windowButtonFrame(int index);
/// The strip at the top that holds the window buttons and the menu.
QRect menuStripFrame(QSize bar);
/// The menu: right of the window buttons, inside the top strip.
QRect menuFrame(QSize bar, QSize menuHint);
/// The area that blocks the bar while the wizard is disabled: everything below the top strip.
QRect disableCoverFrame(QSize bar);
/// The tab number for a "tabIndex": values of 4 and more count as 3.
int tabForIndex(int tabIndex);

} // namespace vantrel::TabBarLayout
