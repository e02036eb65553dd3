#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>

#include <QString>

namespace vantrel {

/// Bounds the memory that image work running on several threads at once holds: one budget for
/// the whole process, shared by the batch run and the thumbnails.
///
/// A decode takes its share (DecodeFootprint: the frame it decodes into memory, a progressive
/// JPEG's coefficient buffer, a frame its loader decodes whole) before its loader opens and gives
/// it back when the loader is closed. The batch run admits a photo only once its whole need (its
/// decode, resize and encode buffers) is taken at once; the decodes of that photo then take
/// nothing more (see Covered). Shares that fit together are held together; the others wait
/// their turn in arrival order. A share larger than the whole budget is taken when nothing else
/// holds one, so it is never refused and runs alone.
class DecodeBudget {
public:
    /// The bytes of the budget for the image work of the process.
    static constexpr qint64 kProcessBytes = qint64(160) << 20;

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
        /// Gives `bytes` of the share back now (at most what it holds) and keeps the rest.
        void shrink(qint64 bytes);

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

    /// While one lives, the calling thread's work is already paid for by a share its caller
    /// holds (`paidBy`: a photo admitted by the run): its reserve calls take nothing and never
    /// wait, and giveBackEarly returns parts of that share.
    class Covered {
    public:
        explicit Covered(Ticket* paidBy = nullptr);
        ~Covered();
        Covered(const Covered&) = delete;
        Covered& operator=(const Covered&) = delete;

    private:
        bool m_was;
        Ticket* m_wasPaidBy;
    };
    /// On a covered thread, gives `bytes` of the covering share back before the work ends (a
    /// decoder's buffer of the whole picture, gone once the picture is in memory), so that the
    /// next photo may start sooner. Nothing elsewhere.
    static void giveBackEarly(qint64 bytes);

    /// Waits until `bytes` fit beside the shares held (or none is held) and no earlier caller
    /// still waits, then takes them. Nothing when the thread is covered.
    Ticket reserve(qint64 bytes);
    /// Takes `bytes` if that is possible without waiting.
    std::optional<Ticket> tryReserve(qint64 bytes);

    qint64 bytes() const;
    /// Changes the size of the budget (a benchmark comparing sizes); shares held are kept.
    void setBytes(qint64 bytes);
    qint64 heldBytes() const;
    int waiting() const;
    /// The time callers have spent waiting for their shares, added up (for benchmarks).
    double secondsWaited() const;

private:
    bool fits(qint64 bytes) const;
    void release(qint64 bytes);
    void releasePart(qint64 bytes);

    qint64 m_bytes;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    qint64 m_held = 0;
    int m_holders = 0;
    quint64 m_nextTurn = 0; ///< the turn the next waiting caller draws
    quint64 m_serving = 0; ///< the turn that may take its share now
    double m_secondsWaited = 0;
};

} // namespace vantrel
