#include "screens/Panes/OpenListKeyboard.h"

#include <QKeyEvent>

#include "screens/Panes/OptionListKeys.h"

namespace vantrel {

bool OpenListKeyboard::take(QEvent* event, const std::function<void(int key, const QString& text)>& pressed)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        pressed(key->key(), key->text());
        return true;
    }
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

void OpenListKeyboard::press(const Rows& rows, int key, const QString& text, const Actions& actions)
{
    const auto outcome = OptionListKeys::keyDown(rows.texts, rows.highlighted, key, text, rows.pageRows);
    switch (outcome.action) {
    case OptionListKeys::Action::Highlight:
        actions.highlight(outcome.row);
        break;
    case OptionListKeys::Action::Choose:
        actions.choose(outcome.row);
        break;
    case OptionListKeys::Action::Close:
        actions.close();
        break;
    case OptionListKeys::Action::Stay:
        break;
    }
}

} // namespace vantrel
