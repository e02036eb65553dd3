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

    /// Several items in one choice (Control and Shift extend the selection of the panel's list
    /// and detail views), in every file mode, folders included. Kept across setFileMode().
    void setAllowsMultipleSelection(bool allows);
    bool allowsMultipleSelection() const { return m_allowsMultipleSelection; }

    /// Places the panel as above; without a screen (an empty available area) it keeps its frame.
    void center();
    /// The frame for a panel frame and an available screen area (y-down): height
    /// rnd(2 x H / 5), halves away from zero, top-right corners together; the frame unchanged
    /// when the area is empty.
    static QRect frameFor(const QRect& frame, const QRect& visibleFrame);

protected:
    void showEvent(QShowEvent* event) override;

private:
    /// Gives the list and detail views the selection mode the flag asks for. QFileDialog sets
    /// them again at each file-mode change (single selection for folders), so this runs when the
    /// panel shows too.
    void applySelectionMode();

    bool m_allowsMultipleSelection = false;
};

} // namespace vantrel
