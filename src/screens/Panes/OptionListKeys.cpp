#include "screens/Panes/OptionListKeys.h"

#include <algorithm>

namespace vantrel {

QChar OptionListKeys::initial(const QString& row)
{
    for (const QChar c : row) {
        if (c.isLetterOrNumber())
            return c.toLower();
    }
    return {};
}

OptionListKeys::Outcome OptionListKeys::keyDown(
    const QStringList& rows, int highlighted, int key, const QString& text, int pageRows)
{
    const int count = int(rows.size());
    const int last = count - 1;
    const auto highlight = [&](int row) {
        if (count == 0)
            return Outcome {};
        return Outcome { Action::Highlight, std::clamp(row, 0, last) };
    };
    const int page = std::max(1, pageRows - 1);
    switch (key) {
    case Qt::Key_Escape:
        return { Action::Close, -1 };
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (highlighted >= 0 && highlighted < count)
            return { Action::Choose, highlighted };
        return {};
    case Qt::Key_Down:
        return highlight(highlighted < 0 ? 0 : highlighted + 1);
    case Qt::Key_Up:
        return highlight(highlighted < 0 ? last : highlighted - 1);
    case Qt::Key_Home:
        return highlight(0);
    case Qt::Key_End:
        return highlight(last);
    case Qt::Key_PageDown:
        return highlight(highlighted < 0 ? 0 : highlighted + page);
    case Qt::Key_PageUp:
        return highlight(highlighted < 0 ? 0 : highlighted - page);
    default:
        break;
    }
    if (text.size() != 1 || !text.front().isLetterOrNumber())
        return {};
    const QChar wanted = text.front().toLower();
    // From the row after a highlighted one that already matches, so that the same letter again
    // walks through the rows that share it; otherwise from the top.
    const bool onMatch = highlighted >= 0 && highlighted < count && initial(rows[highlighted]) == wanted;
    const int start = onMatch ? highlighted + 1 : 0;
    for (int k = 0; k < count; ++k) {
        const int row = (start + k) % count;
        if (initial(rows[row]) == wanted)
            return { Action::Highlight, row };
    }
    return {};
}

} // namespace vantrel
