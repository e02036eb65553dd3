#include "platform/imaging/DecodeBudget.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace vantrel {

namespace {

thread_local bool t_covered = false;
thread_local DecodeBudget::Ticket* t_paidBy = nullptr;

} // namespace

DecodeBudget::Covered::Covered(Ticket* paidBy)
    : m_was(std::exchange(t_covered, true))
    , m_wasPaidBy(std::exchange(t_paidBy, paidBy))
{
}

DecodeBudget::Covered::~Covered()
{
    t_covered = m_was;
    t_paidBy = m_wasPaidBy;
}

void DecodeBudget::giveBackEarly(qint64 bytes)
{
    if (t_covered && t_paidBy && bytes > 0)
        t_paidBy->shrink(bytes);
}

void DecodeBudget::Ticket::shrink(qint64 bytes)
{
    const qint64 part = std::min(bytes, m_bytes);
    if (!m_budget || part <= 0)
        return;
    m_bytes -= part;
    m_budget->releasePart(part);
}

DecodeBudget::Ticket::Ticket(DecodeBudget* budget, qint64 bytes)
    : m_budget(budget)
    , m_bytes(bytes)
{
}

DecodeBudget::Ticket::Ticket(Ticket&& other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr))
    , m_bytes(std::exchange(other.m_bytes, 0))
{
}

DecodeBudget::Ticket& DecodeBudget::Ticket::operator=(Ticket&& other) noexcept
{
    if (this != &other) {
        if (m_budget)
            m_budget->release(m_bytes);
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

DecodeBudget::Ticket::~Ticket()
{
    if (m_budget)
        m_budget->release(m_bytes);
}

DecodeBudget::DecodeBudget(qint64 bytes)
    : m_bytes(bytes)
{
}

DecodeBudget& DecodeBudget::process()
{
    static DecodeBudget budget(kProcessBytes);
    return budget;
}

bool DecodeBudget::fits(qint64 bytes) const
{
    return m_holders == 0 || m_held + bytes <= m_bytes;
}

DecodeBudget::Ticket DecodeBudget::reserve(qint64 bytes)
{
    if (bytes <= 0 || t_covered)
        return {};
    std::unique_lock lock(m_mutex);
    const quint64 turn = m_nextTurn++;
    const auto myTurn = [&] { return m_serving == turn && fits(bytes); };
    if (!myTurn()) {
        const auto start = std::chrono::steady_clock::now();
        m_changed.wait(lock, myTurn);
        m_secondsWaited += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ++m_serving;
    m_held += bytes;
    ++m_holders;
    lock.unlock();
    // The next caller in line may fit beside this one.
    m_changed.notify_all();
    return Ticket(this, bytes);
}

std::optional<DecodeBudget::Ticket> DecodeBudget::tryReserve(qint64 bytes)
{
    if (bytes <= 0 || t_covered)
        return Ticket();
    std::lock_guard lock(m_mutex);
    if (m_serving != m_nextTurn || !fits(bytes))
        return std::nullopt;
    m_held += bytes;
    ++m_holders;
    return Ticket(this, bytes);
}

qint64 DecodeBudget::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

void DecodeBudget::setBytes(qint64 bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_bytes = bytes;
    }
    m_changed.notify_all();
}

qint64 DecodeBudget::heldBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_held;
}

double DecodeBudget::secondsWaited() const
{
    std::lock_guard lock(m_mutex);
    return m_secondsWaited;
}

int DecodeBudget::waiting() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_nextTurn - m_serving);
}

void DecodeBudget::releasePart(qint64 bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_held -= bytes;
    }
    m_changed.notify_all();
}

void DecodeBudget::release(qint64 bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_held -= bytes;
        --m_holders;
    }
    m_changed.notify_all();
}

} // namespace vantrel
