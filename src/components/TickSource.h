#pragma once

#include <QObject>
#include <QTimer>

namespace vantrel {

/// A main-thread tick: what drives animations and periodic redraws. A timed source runs a
/// QTimer; a manual source has no timer and ticks only when fire() is called, so tests step an
/// animation frame by frame instead of waiting. Owners take a TickSource (and may be given a
/// manual one), which keeps one driver per animation by construction.
class TickSource : public QObject {
    Q_OBJECT

public:
    enum class Driver { Timer, Manual };

    explicit TickSource(QObject* parent = nullptr);
    explicit TickSource(Driver driver, QObject* parent = nullptr);

    Driver driver() const { return m_driver; }
    /// Starts ticking every intervalMs (restarting when already running).
    void start(int intervalMs);
    void stop();
    bool isActive() const { return m_active; }
    int interval() const { return m_interval; }

    /// Emits one tick when active; returns whether it did. Meant for manual sources.
    bool fire();

signals:
    void tick();

private:
    Driver m_driver = Driver::Timer;
    bool m_active = false;
    int m_interval = 0;
    QTimer m_timer;
};

} // namespace vantrel
