#pragma once

#include <vector>

#include <QtGlobal>

#include "components/CollectionView/KeltIndexPath.h"

namespace vantrel {

/// Ordered set of index paths: the order of insertion in a vector and membership in one bitset per
/// section, so that selecting or testing a million items stays linear and small (about 16 bytes
/// per member plus one bit per item). Removals are marked in the bitset and swept out of the order
/// in one pass before the order is next read or appended to. Paths with a negative part are never
/// members.
class KeltSelectionList {
public:
    bool contains(KeltIndexPath path) const;
    /// Appends when absent; answers whether it was added.
    bool insert(KeltIndexPath path);
    /// Answers whether it was a member.
    bool remove(KeltIndexPath path);
    void clear();

    qint64 count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    /// Members in insertion order. Valid until the next change.
    const std::vector<KeltIndexPath>& paths() const;
    OptionalIndexPath first() const;
    OptionalIndexPath last() const;

private:
    void compact() const;
    bool testBit(KeltIndexPath path) const;

    mutable std::vector<KeltIndexPath> m_order;
    mutable qint64 m_removed = 0; // entries of m_order whose bit is clear
    std::vector<std::vector<quint64>> m_bits;
    qint64 m_count = 0;
};

} // namespace vantrel
