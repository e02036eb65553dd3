#pragma once

class QAbstractButton;
class QColor;
class QString;

namespace vantrel {

/// The toolbox's operations on buttons.
class UtilsButtons {
public:
    /// Gives the button the title in the colour, centred.
    static void setButtonTitleFor(QAbstractButton* button, const QString& title, const QColor& color);
};

} // namespace vantrel
