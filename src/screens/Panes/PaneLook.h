#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

namespace vantrel::PaneLook {

/// The label colour rule of the panes: white for the chosen or enabled option, (195, 204, 233)
/// otherwise. Applies to a label or to the title of a check box or radio button.
void setLabelLit(QWidget* label, bool lit);
/// A small pane title in the accent blue, the label of `parent`; named "<text> heading" because
/// `parent` is usually named `text` itself.
QLabel* makeTitle(const QString& text, QWidget* parent);
/// The look of an entry field: popup colour (54, 63, 78), white text, no frame.
void styleField(QLineEdit* field);
/// A small square button with an arrow text, for the steppers ("▲" or "▼").
QAbstractButton* makeStepper(bool up, const QString& accessibleName, QWidget* parent);
/// A flat push button in the pane style.
QAbstractButton* makeButton(const QString& text, const QString& accessibleName, QWidget* parent);
/// The panes' "Reset" link (a LinkButton: white, underlined, dimmed while disabled).
QAbstractButton* makeResetLink(const QString& accessibleName, QWidget* parent);
/// Sets the text only when it differs, so the cursor stays where the user left it.
void setTextKeepingCursor(QLineEdit* field, const QString& text);

} // namespace vantrel::PaneLook
