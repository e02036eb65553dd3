#include "components/CollectionView/KeltSelectionList.h"

#include <algorithm>

namespace vantrel {

bool KeltSelectionList::testBit(KeltIndexPath path) const
{
    const qint64 section = path.kelt_section();
    const qint64 item = path.kelt_item();
    if (section < 0 || item < 0 || section >= qint64(m_bits.size()))
        return false;
    const auto& words = m_bits[size_t(section)];
    const auto word = size_t(item / 64);
    return word < words.size() && (words[word] >> (item % 64) & 1u);
}

bool KeltSelectionList::contains(KeltIndexPath path) const
{
    return testBit(path);
}

bool KeltSelectionList::insert(KeltIndexPath path)
{
    const qint64 section = path.kelt_section();
    const qint64 item = path.kelt_item();
    if (section < 0 || item < 0 || testBit(path))
        return false;
    compact();
    if (section >= qint64(m_bits.size()))
        m_bits.resize(size_t(section) + 1);
    auto& words = m_bits[size_t(section)];
    const auto word = size_t(item / 64);
    if (word >= words.size())
        words.resize(std::max(word + 1, words.size() * 2));
    words[word] |= quint64(1) << (item % 64);
    m_order.push_back(path);
    ++m_count;
    return true;
}

bool KeltSelectionList::remove(KeltIndexPath path)
{
    if (!testBit(path))
        return false;
    m_bits[size_t(path.kelt_section())][size_t(path.kelt_item() / 64)] &= ~(quint64(1) << (path.kelt_item() % 64));
    --m_count;
    ++m_removed;
    if (m_count == 0) {
        m_order.clear();
        m_removed = 0;
    }
    return true;
}

void KeltSelectionList::clear()
{
    m_order.clear();
    m_bits.clear();
    m_removed = 0;
    m_count = 0;
}

void KeltSelectionList::compact() const
{
    if (m_removed == 0)
        return;
    // Every entry whose bit is clear was removed; an entry is only appended while none is pending,
    // so the order holds no duplicates and the survivors keep their order.
    std::erase_if(m_order, [this](KeltIndexPath path) { return !testBit(path); });
    m_removed = 0;
}

const std::vector<KeltIndexPath>& KeltSelectionList::paths() const
{
    compact();
    return m_order;
}

OptionalIndexPath KeltSelectionList::first() const
{
    const auto& order = paths();
    return order.empty() ? OptionalIndexPath {} : order.front();
}

OptionalIndexPath KeltSelectionList::last() const
{
    // Only removed entries at the end are dropped, not the whole order compacted: the view asks
    // for the last selected item after each of a million deselections (a click after select-all).
    while (m_removed > 0 && !m_order.empty() && !testBit(m_order.back())) {
        m_order.pop_back();
        --m_removed;
    }
    return m_order.empty() ? OptionalIndexPath {} : m_order.back();
}

} // namespace vantrel
