#pragma once

#include <QPushButton>

namespace vantrel {

/// A plain push button that shows the pointing-hand cursor over itself.
class HandCusorButton : public QPushButton {
    Q_OBJECT

public:
    explicit HandCusorButton(QWidget* parent = nullptr);
    explicit HandCusorButton(const QString& title, QWidget* parent = nullptr);
};

} // namespace vantrel
