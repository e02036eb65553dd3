#include "app/TabBarLayout.h"

#include <algorithm>

namespace vantrel::TabBarLayout {

QRect tabFrame(int tab, QSize bar)
{
    if (tab < 1 || tab > kTabCount)
        return {};
    const int total = kTabCount * kTabWidth + (kTabCount - 1) * kTabGap;
    const int left = (bar.width() - total) / 2;
    const int x = left + (tab - 1) * (kTabWidth + kTabGap);
    const int y = bar.height() - kTabBottomMargin - kTabHeight;
    return { x, y, kTabWidth, kTabHeight };
}

QRect highlightFrame(int tab, QSize bar)
{
    return tabFrame(tab, bar);
}

QRect underlineFrame(int tab, QSize bar)
{
    const QRect t = tabFrame(tab, bar);
    if (t.isEmpty())
        return {};
    return { t.x(), t.y() + t.height() - kUnderlineHeight, t.width(), kUnderlineHeight };
}

QRect windowButtonFrame(int index)
{
    if (index < 0 || index > 2)
        return {};
    return { kWindowButtonLeft + index * (kWindowButtonSize + kWindowButtonGap), kWindowButtonTop, kWindowButtonSize,
        kWindowButtonSize };
}

QRect menuStripFrame(QSize bar)
{
    return { 0, 0, bar.width(), kMenuStripHeight };
}

QRect menuFrame(QSize bar, QSize menuHint)
{
    const QRect lastButton = windowButtonFrame(2);
    const int x = lastButton.x() + lastButton.width() + 18;
    const int height = std::min(menuHint.height(), kMenuStripHeight - 4);
    const int y = (kMenuStripHeight - height) / 2;
    const int width = std::max(0, std::min(menuHint.width(), bar.width() - x - 8));
    return { x, y, width, height };
}

QRect disableCoverFrame(QSize bar)
{
    return { 0, kMenuStripHeight, bar.width(), std::max(0, bar.height() - kMenuStripHeight) };
}

int tabForIndex(int tabIndex)
{
    return std::min(tabIndex, 3);
}

} // namespace vantrel::TabBarLayout
