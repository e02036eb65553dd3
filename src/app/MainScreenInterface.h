#pragma once

#include <functional>

class QWidget;

namespace vantrel {

/// What the main window asks of the main screen it hosts: the wizard's step changes, its checks,
/// the session save and load, and the run's state for a safe quit.
class MainScreenInterface {
public:
    virtual ~MainScreenInterface() = default;
    /// The main screen's widget; the main window takes it as its content.
    virtual QWidget* mainScreenWidget() = 0;
    /// Shows step 1, 2 or 3 (other numbers only clear).
    virtual void setUiOnTabChange(int tab) = 0;
    /// Raises alert 123 and answers true when the resize pane has no usable size.
    virtual bool isInvalidSizeSelected() = 0;
    virtual bool ischangesMadeInSettings() = 0;
    virtual void saveProjectSessionToDefault() = 0;
    virtual void loadLastSessionSettings() = 0;
    /// True from a run's start until its summary and log rows are written.
    virtual bool isRunActive() = 0;
    /// Stops the active run: its summary comes at once, its log rows follow.
    virtual void stopRun() = 0;
    /// Calls `done` once no thread of a run is left (at once when none is).
    virtual void whenRunThreadsDone(std::function<void()> done) = 0;
};

} // namespace vantrel
