#pragma once

#include <QFileDialog>

namespace vantrel {

/// An open panel that places itself at the top-right of its screen's available area, two
/// fifths of that area high, keeping its width. Always Qt's own dialog (never a platform
/// dialog that could run its own loop): open it with open() and read the choice in a slot.
class CustomOpenPanel : public QFileDialog {
    Q_OBJECT

public:
    explicit CustomOpenPanel(QWidget* parent = nullptr);

    /// Places the panel as above; without a screen (an empty available area) it keeps its frame.
    void center();
    /// The frame for a panel frame and an available screen area (y-down): height
    /// rnd(2 x H / 5), halves away from zero, top-right corners together; the frame unchanged
    /// when the area is empty.
    static QRect frameFor(const QRect& frame, const QRect& visibleFrame);
};

} // namespace vantrel
