#pragma once

#include <optional>

#include <QString>

namespace vantrel {

/// The counter of the empty drop area's animation: every 0.2-second tick shows the next of the
/// images "1.png" to "19.png"; the tick after "19.png" shows nothing new and starts over, so the
/// last image stays for two ticks. The timer that drives it belongs to the widget and runs only
/// while the animated button is visible.
class DropAreaAnimation {
public:
    static constexpr int kFrames = 19;
    static constexpr int kIntervalMs = 200;

    /// The image name for this tick, or nothing when the current image stays.
    std::optional<QString> tick();
    void restart() { m_counter = 1; }
    int counter() const { return m_counter; }

private:
    int m_counter = 1;
};

} // namespace vantrel
