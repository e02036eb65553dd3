#pragma once

class QAbstractButton;
class QColor;

namespace vantrel {

/// Gives the button's title (and its checked-state title) the colour, for every state of the
/// button. Logs "changeButtonTextColor Start" and "changeButtonTextColor End". A null button
/// does nothing.
void changeButtonTextColor(QAbstractButton* button, const QColor& color);

} // namespace vantrel
