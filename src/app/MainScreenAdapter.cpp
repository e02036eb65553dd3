#include "app/MainScreenAdapter.h"

#include "app/MainScreen/MainScreenView.h"

namespace vantrel {

MainScreenAdapter::MainScreenAdapter(MainScreenView* view)
    : m_view(view)
{
}

MainScreenAdapter::~MainScreenAdapter() = default;

QWidget* MainScreenAdapter::mainScreenWidget()
{
    return m_view.get();
}

void MainScreenAdapter::setUiOnTabChange(int tab)
{
    m_view->setUiOnTabChange(tab);
}

bool MainScreenAdapter::isInvalidSizeSelected()
{
    return m_view->isInvalidSizeSelected();
}

bool MainScreenAdapter::ischangesMadeInSettings()
{
    return m_view->ischangesMadeInSettings();
}

void MainScreenAdapter::saveProjectSessionToDefault()
{
    m_view->saveProjectSessionToDefault();
}

void MainScreenAdapter::loadLastSessionSettings()
{
    m_view->loadLastSessionSettings();
}

bool MainScreenAdapter::isRunActive()
{
    return m_view->processingPort().engine().isRunActive();
}

void MainScreenAdapter::stopRunAfterCurrentPhoto()
{
    m_view->processingPort().engine().stopProcessing();
}

} // namespace vantrel
