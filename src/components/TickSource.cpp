#include "components/TickSource.h"

namespace vantrel {

TickSource::TickSource(QObject* parent)
    : TickSource(Driver::Timer, parent)
{
}

TickSource::TickSource(Driver driver, QObject* parent)
    : QObject(parent)
    , m_driver(driver)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickSource::fire);
}

void TickSource::start(int intervalMs)
{
    m_interval = std::max(0, intervalMs);
    m_active = true;
    if (m_driver == Driver::Timer)
        m_timer.start(m_interval);
}

void TickSource::stop()
{
    m_active = false;
    m_timer.stop();
}

bool TickSource::fire()
{
    if (!m_active)
        return false;
    emit tick();
    return true;
}

} // namespace vantrel
