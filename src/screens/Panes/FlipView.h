#pragma once

#include <array>

#include <QList>
#include <QWidget>

#include "screens/Panes/FlipModel.h"

class QAbstractButton;

namespace vantrel {

class OptionTile;

/// Told when the flip pane's apply operation sends its choice ([horizontal, vertical]).
class FlipViewDelegate {
public:
    virtual ~FlipViewDelegate() = default;
    virtual void btnApplyFlipTapped(const QList<QList<bool>>& flips) = 0;
};

/// The size step's flip pane: no flip, horizontal or vertical, one at a time although the
/// controls are check boxes. A thin widget over FlipModel. Main thread only.
class FlipView : public QWidget {
    Q_OBJECT
public:
    explicit FlipView(QWidget* parent = nullptr);

    /// Resets to no flip; runs once, 20 ms after creation or when called.
    void initSetup();

    /// [horizontal, vertical].
    QList<bool> getFlipSettongObject() const;
    /// 1 horizontal, 2 vertical, anything else no flip.
    void setFlipSettongObject(int option);
    void changeSettingWithSelectedOption(int option);
    void btnResetSettingTapped() { resetSetting(); }
    void resetSetting();
    void btnApplyTapped();
    void setDelegate(FlipViewDelegate* delegate) { m_delegate = delegate; }
    bool isFlipHorizontal() const { return m_model.isFlipHorizontal(); }
    bool isFlipVertical() const { return m_model.isFlipVertical(); }

    OptionTile* tile(int option) const { return m_tiles[size_t(option)]; }
    QAbstractButton* resetButton() const { return m_btnReset; }

private:
    void refresh();

    FlipModel m_model;
    bool m_isSetUp = false;
    FlipViewDelegate* m_delegate = nullptr;
    std::array<OptionTile*, FlipModel::kOptionCount> m_tiles {};
    QAbstractButton* m_btnReset = nullptr;
};

} // namespace vantrel
