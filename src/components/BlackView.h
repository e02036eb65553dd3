#pragma once

#include <QWidget>

namespace vantrel {

/// A view that darkens what lies under it: black at alpha 0.8 over the area being drawn.
class BlackView : public QWidget {
    Q_OBJECT

public:
    explicit BlackView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vantrel
