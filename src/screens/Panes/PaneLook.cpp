#include "screens/Panes/PaneLook.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "components/AppLook.h"
#include "components/LinkButton.h"

namespace vantrel::PaneLook {

void setLabelLit(QWidget* label, bool lit)
{
    if (!label)
        return;
    const QColor color = lit ? AppLook::labelColor() : AppLook::disabledLabelColor();
    const QString css = QStringLiteral("color: rgb(%1, %2, %3);").arg(color.red()).arg(color.green()).arg(color.blue());
    if (label->styleSheet() != css)
        label->setStyleSheet(css);
    label->setProperty("lit", lit);
}

QLabel* makeTitle(const QString& text, QWidget* parent)
{
    auto* title = new QLabel(text, parent);
    const QColor accent = AppLook::accentColor();
    title->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3); font-weight: bold; font-size: 14px;")
                             .arg(accent.red())
                             .arg(accent.green())
                             .arg(accent.blue()));
    // The pane carries the title's text as its own name: the title names itself apart and labels it.
    title->setAccessibleName(text + QStringLiteral(" heading"));
    title->setBuddy(parent);
    return title;
}

void styleField(QLineEdit* field)
{
    const QColor fill = AppLook::popupColor();
    field->setStyleSheet(
        QStringLiteral("QLineEdit { background: rgb(%1, %2, %3); color: white; border: 1px solid "
                       "rgb(80, 92, 112); border-radius: 2px; padding: 2px 4px; }"
                       "QLineEdit:disabled { color: rgb(195, 204, 233); border-color: rgb(60, 68, 84); }")
            .arg(fill.red())
            .arg(fill.green())
            .arg(fill.blue()));
}

QAbstractButton* makeStepper(bool up, const QString& accessibleName, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
    button->setFixedSize(18, 12);
    button->setAutoRaise(true);
    button->setProperty("tag", up ? 1 : 0);
    button->setAccessibleName(accessibleName);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QAbstractButton* makeButton(const QString& text, const QString& accessibleName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(accessibleName);
    button->setCursor(Qt::PointingHandCursor);
    // A disabled button must read as such: the disabled label colour alone is too close to white
    // on a field-coloured button, so it also loses its fill and border.
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: rgb(66, 76, 94); color: white; border: 1px solid rgb(92, 104, 126);"
                       " border-radius: 3px; padding: 3px 6px; }"
                       "QPushButton:hover { border-color: rgb(66, 180, 211); }"
                       "QPushButton:pressed { background: rgb(54, 63, 78); }"
                       "QPushButton:disabled { background: transparent; color: rgba(195, 204, 233, 110);"
                       " border-color: rgb(60, 68, 84); }"));
    return button;
}

QAbstractButton* makeResetLink(const QString& accessibleName, QWidget* parent)
{
    auto* link = new LinkButton(QStringLiteral("Reset"), parent);
    link->setAccessibleName(accessibleName);
    return link;
}

void setTextKeepingCursor(QLineEdit* field, const QString& text)
{
    if (field && field->text() != text) {
        const int cursor = field->cursorPosition();
        field->setText(text);
        field->setCursorPosition(std::min(cursor, int(text.size())));
    }
}

} // namespace vantrel::PaneLook
