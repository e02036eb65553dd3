#pragma once

#include <compare>
#include <cstddef>
#include <optional>

#include <QHashFunctions>
#include <QtGlobal>

namespace vantrel {

/// Two-level address of a collection item: (section, item). Compared by value, section first,
/// then item. A missing path ("nil") is an empty std::optional (OptionalIndexPath).
class KeltIndexPath {
public:
    KeltIndexPath() = default;

    static KeltIndexPath kelt_indexPathForItem(qint64 item, qint64 inSection)
    {
        KeltIndexPath path;
        path.m_section = inSection;
        path.m_item = item;
        return path;
    }

    qint64 kelt_section() const { return m_section; }
    qint64 kelt_item() const { return m_item; }

    friend auto operator<=>(const KeltIndexPath&, const KeltIndexPath&) = default;
    friend bool operator==(const KeltIndexPath&, const KeltIndexPath&) = default;

private:
    qint64 m_section = 0;
    qint64 m_item = 0;
};

using OptionalIndexPath = std::optional<KeltIndexPath>;

inline size_t qHash(const KeltIndexPath& path, size_t seed = 0) noexcept
{
    const quint64 mixed = quint64(path.kelt_section()) * 0x9E3779B97F4A7C15ull ^ quint64(path.kelt_item());
    return ::qHash(mixed, seed);
}

} // namespace vantrel
