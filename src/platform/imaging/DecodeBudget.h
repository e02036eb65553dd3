#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include <QString>

namespace vantrel {

/// Bounds the memory that decodes running on several threads at once hold for whole frames.
///
/// libjpeg decodes a progressive JPEG through a buffer of every DCT coefficient of the picture
/// (4.5 to 6 bytes per pixel, whatever shrink-on-load asks for): 100 MB for a 16 MP photo with
/// full-resolution colour. Other decodes hold a few rows of blocks. Three progressive camera
/// photos decoding at once made most of the peak of a run with three writers, and two of them
/// the peak of the batch grid's thumbnail workers. A decode takes its share from the budget
/// before it starts and gives it back when its loader is closed; decodes that fit together run
/// together, the others wait their turn in arrival order. A decode larger than the whole budget
/// runs when nothing else holds a share, so it is never refused.
class DecodeBudget {
public:
    /// The bytes of the budget for every decode of the process.
    static constexpr qint64 kProcessBytes = qint64(128) << 20;

    /// A share of the budget, given back when it is destroyed. A share of 0 bytes holds nothing.
    class Ticket {
    public:
        Ticket() = default;
        Ticket(Ticket&& other) noexcept;
        Ticket& operator=(Ticket&& other) noexcept;
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;
        ~Ticket();

        qint64 bytes() const { return m_bytes; }

    private:
        friend class DecodeBudget;
        Ticket(DecodeBudget* budget, qint64 bytes);
        DecodeBudget* m_budget = nullptr;
        qint64 m_bytes = 0;
    };

    explicit DecodeBudget(qint64 bytes);
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    /// The budget every decode of the process shares (kProcessBytes).
    static DecodeBudget& process();
    /// The whole-frame buffer a decode of the file at `path` needs: a progressive JPEG's
    /// coefficients; 0 for anything else (also when the file cannot be read).
    static qint64 wholeFrameBytes(const QString& path);

    /// Told on the calling thread when one of its decodes starts (true) and stops (false) waiting
    /// for a share, so that a pool of threads can let another job run meanwhile. Per thread; an
    /// empty function removes it.
    static void setThreadWaitListener(std::function<void(bool waiting)> listener);

    /// Waits until `bytes` fit beside the shares held (or none is held) and no earlier caller
    /// still waits, then takes them.
    Ticket reserve(qint64 bytes);
    /// Takes `bytes` if that is possible without waiting.
    std::optional<Ticket> tryReserve(qint64 bytes);

    qint64 heldBytes() const;
    int waiting() const;

private:
    bool fits(qint64 bytes) const;
    void release(qint64 bytes);

    const qint64 m_bytes;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    qint64 m_held = 0;
    int m_holders = 0;
    quint64 m_nextTurn = 0; ///< the turn the next waiting caller draws
    quint64 m_serving = 0; ///< the turn that may take its share now
};

} // namespace vantrel
