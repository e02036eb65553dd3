#pragma once

#include <mutex>

#include <QSet>
#include <QString>

namespace vantrel {

/// The paths of the photos in the batch, for the duplicate test of the add scan (a hash set: one
/// lookup per candidate, never a search of the batch). The scan's worker inserts while the main
/// thread may remove (removals of photos from the batch), so every call is guarded.
class AddedPaths {
public:
    bool contains(const QString& path) const;
    void insert(const QString& path);
    /// True when the path was there.
    bool remove(const QString& path);
    void clear();
    qsizetype size() const;

private:
    mutable std::mutex m_mutex;
    QSet<QString> m_paths;
};

} // namespace vantrel
