#pragma once

#include <QWidget>

#include "app/MainScreenInterface.h"

namespace vantrel {

/// Stands in for the wizard while it is not built into the window: a plain panel with the
/// application's name, no steps, no settings and never a run.
class PlaceholderMainScreen : public QWidget, public MainScreenInterface {
    Q_OBJECT
public:
    explicit PlaceholderMainScreen(QWidget* parent = nullptr);

    QWidget* mainScreenWidget() override { return this; }
    void setUiOnTabChange(int tab) override { m_tab = tab; }
    bool isInvalidSizeSelected() override { return false; }
    bool ischangesMadeInSettings() override { return false; }
    void saveProjectSessionToDefault() override { }
    void loadLastSessionSettings() override { }
    bool isRunActive() override { return false; }
    void stopRunAfterCurrentPhoto() override { }

    int shownTab() const { return m_tab; }

private:
    int m_tab = 0;
};

} // namespace vantrel
