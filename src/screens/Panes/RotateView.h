#pragma once

#include <array>

#include <QWidget>

#include "screens/Panes/RotateModel.h"

class QAbstractButton;
class QGridLayout;
class QLineEdit;

namespace vantrel {

class OptionTile;

/// Told when the rotate pane's apply button sends its free angle.
class RotateViewDelegate {
public:
    virtual ~RotateViewDelegate() = default;
    virtual void btnApplyRotationTapped(float angle) = 0;
};

/// The size step's rotate pane: none, a quarter turn either way, a half turn or automatic
/// correction by the photo's orientation tag. A thin widget over RotateModel. Main thread only.
class RotateView : public QWidget {
    Q_OBJECT
public:
    explicit RotateView(QWidget* parent = nullptr);

    /// Chooses value 0; runs once, 20 ms after creation or when called.
    void initSetup();

    int getRotateSettingObject() const { return m_model.getRotateSettingObject(); }
    void setRotationType(int value);
    void changeSettingWithSelectedOption(int value);
    void btnResetSettingTapped() { changeSettingWithSelectedOption(0); }
    void btnApplyTapped();
    void setDelegate(RotateViewDelegate* delegate) { m_delegate = delegate; }

    OptionTile* tile(int value) const { return m_tiles[size_t(value)]; }
    QAbstractButton* resetButton() const { return m_btnReset; }
    QLineEdit* angleField() const { return m_txtAngle; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOutTiles(int columns);
    void refresh();

    RotateModel m_model;
    bool m_isSetUp = false;
    RotateViewDelegate* m_delegate = nullptr;
    std::array<OptionTile*, RotateModel::kOptionCount> m_tiles {};
    QGridLayout* m_tilesGrid = nullptr;
    int m_tileColumns = 0;
    QAbstractButton* m_btnReset = nullptr;
    QLineEdit* m_txtAngle = nullptr;
    QAbstractButton* m_btnApplyRotate = nullptr;
};

} // namespace vantrel
