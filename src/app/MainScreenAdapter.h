#pragma once

#include <memory>

#include "app/MainScreenInterface.h"

namespace vantrel {

class MainScreenView;

/// The wizard's main screen as the main window sees it; the run is its processing engine's.
class MainScreenAdapter : public MainScreenInterface {
public:
    explicit MainScreenAdapter(MainScreenView* view); // takes ownership
    ~MainScreenAdapter() override;

    MainScreenView* view() const { return m_view.get(); }

    QWidget* mainScreenWidget() override;
    void setUiOnTabChange(int tab) override;
    bool isInvalidSizeSelected() override;
    bool ischangesMadeInSettings() override;
    void saveProjectSessionToDefault() override;
    void loadLastSessionSettings() override;
    bool isRunActive() override;
    void stopRunAfterCurrentPhoto() override;

private:
    std::unique_ptr<MainScreenView> m_view;
};

} // namespace vantrel
