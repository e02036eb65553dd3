#pragma once

#include <functional>

#include <QStringList>
#include <QWidget>

#include "app/AppController.h"
#include "app/MainScreenInterface.h"
#include "core/Catalogue.h"
#include "platform/Defaults.h"

namespace vantrel::shelltest {

/// A main window side that records what the rules asked of it.
struct FakeWindowSide : MainWindowSide {
    QStringList* calls = nullptr;
    bool changes = false;
    std::function<bool()> runActive = [] { return false; };
    std::function<void()> stop = [] {};
    std::function<void(std::function<void()>)> runThreadsDone = [](std::function<void()> done) { done(); };
    int saveSheetShown = 0;

    void showMainWindow() override
    {
        if (calls)
            calls->append("showMainWindow");
    }
    bool ischangesMadeInSettings() override { return changes; }
    void showSaveSessionWindow() override { ++saveSheetShown; }
    bool isRunActive() override { return runActive(); }
    void stopRun() override { stop(); }
    void whenRunThreadsDone(std::function<void()> done) override { runThreadsDone(std::move(done)); }
};

/// A main screen that records the steps shown and answers the checks as told.
struct FakeMainScreen : MainScreenInterface {
    QWidget widget;
    QList<int> shownSteps;
    bool invalidSize = false;
    bool changes = false;
    int loads = 0;
    int saves = 0;

    QWidget* mainScreenWidget() override { return &widget; }
    void setUiOnTabChange(int tab) override { shownSteps.append(tab); }
    bool isInvalidSizeSelected() override { return invalidSize; }
    bool ischangesMadeInSettings() override { return changes; }
    void saveProjectSessionToDefault() override { ++saves; }
    void loadLastSessionSettings() override { ++loads; }
    bool isRunActive() override { return false; }
    void stopRun() override { }
    void whenRunThreadsDone(std::function<void()> done) override { done(); }
};

/// Removes every defaults key the shell reads or writes.
inline void clearShellDefaults()
{
    for (const char* key : { kDefaultsIsFirstTime, kDefaultsProjectSession, kDefaultsSavedProjectSession,
             kDefaultsRateMeCount, kDefaultsAppVersion, kDefaultsPhoneNumber })
        Defaults::standard().removeObjectForKey(QString::fromLatin1(key));
}

} // namespace vantrel::shelltest
