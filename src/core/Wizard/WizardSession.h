#pragma once

#include <optional>

#include <QDateTime>

#include "core/DataBeans/ResizingOptionsSettingObject.h"

namespace vantrel {

class WizardPanes;

/// The wizard's choices as a whole: the resize option object of a run, whether the user changed
/// anything from the defaults, and the last session saved in and restored from the defaults
/// ("PROJECT_SESSION", "SAVED_PROJECT_SESSION"). Reads and writes the panes through WizardPanes.
class WizardSession {
public:
    explicit WizardSession(WizardPanes& panes)
        : m_panes(panes)
    {
    }

    /// Size, rotation and both flips as the panes show them now.
    ResizingOptionsSettingObject getResizeOtpionSettingObject();
    /// True when the panes differ from the defaults in anything but the output folder and quality.
    bool ischangesMadeInSettings();
    /// Saves the panes' choices with the date `now`, keeping the stored preset list. A missing or
    /// undecodable archive is replaced by a fresh session with the resize pane's presets, so a
    /// save always saves. Returns false only when the archive cannot be written.
    bool saveProjectSessionToDefault(const QDateTime& now = QDateTime::currentDateTime());
    /// Hands a saved session to the panes; absent parts are skipped. Returns nothing when there is
    /// no saved session (or it cannot be decoded); otherwise whether the restored size is a custom
    /// size (the caller then keeps it from being replaced by the default size).
    std::optional<bool> loadLastSessionSettings();

    /// The pattern of a saved session's date (written in en_US_POSIX whatever the user's locale).
    static constexpr char kDatePattern[] = "MMM-dd-yyyy hh:mm:s a";

private:
    WizardPanes& m_panes;
};

} // namespace vantrel
