#pragma once

#include <functional>

#include <QString>
#include <QStringList>

class QEvent;

namespace vantrel {

/// The keyboard of an open option list, shared by every list popup. While a list is open every
/// key is its own, taken where it first arrives (the window, before its focused control), so that
/// neither Tab nor a shortcut reaches the controls under it; what a key does is OptionListKeys'.
class OpenListKeyboard {
public:
    /// What the keys see of the list: its rows' texts as shown, the highlighted row (-1 for none)
    /// and how many rows it shows at once.
    struct Rows {
        QStringList texts;
        int highlighted = -1;
        int pageRows = 1;
    };
    /// How the list follows a key: move the highlight to a row, choose a row, or close.
    struct Actions {
        std::function<void(int row)> highlight;
        std::function<void(int row)> choose;
        std::function<void()> close;
    };

    OpenListKeyboard() = delete;

    /// True when `event` is a key event (now taken); a key press goes to `pressed`.
    static bool take(QEvent* event, const std::function<void(int key, const QString& text)>& pressed);
    /// Applies one key to the list.
    static void press(const Rows& rows, int key, const QString& text, const Actions& actions);
};

} // namespace vantrel
