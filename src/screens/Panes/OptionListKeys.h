#pragma once

#include <QString>
#include <QStringList>

namespace vantrel {

/// What a key does to an open option list: the rows, the highlighted row (-1 for none) and the
/// key decide; the list itself holds no state here. Arrows, Home, End and the page keys move the
/// highlight (stopping at the ends); Return, Enter and Space choose the highlighted row; Escape
/// closes without a choice; a letter or digit highlights the first row whose text starts with it
/// (leading marks such as "*." and "[" are skipped), and the next such row when the highlighted
/// one already does. Every other key is swallowed: nothing else sees a key while a list is open.
class OptionListKeys {
public:
    enum class Action { Stay, Highlight, Choose, Close };
    struct Outcome {
        Action action = Action::Stay;
        int row = -1;
        bool operator==(const Outcome&) const = default;
    };

    OptionListKeys() = delete;

    /// `pageRows`: how many rows the list shows at once.
    static Outcome keyDown(const QStringList& rows, int highlighted, int key, const QString& text, int pageRows);
    /// The first letter or digit of a row's text, lower case; a null character when it has none.
    static QChar initial(const QString& row);
};

} // namespace vantrel
