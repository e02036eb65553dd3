#include "core/AddPhotos/AddedPaths.h"

namespace vantrel {

bool AddedPaths::contains(const QString& path) const
{
    std::lock_guard lock(m_mutex);
    return m_paths.contains(path);
}

void AddedPaths::insert(const QString& path)
{
    std::lock_guard lock(m_mutex);
    m_paths.insert(path);
}

bool AddedPaths::remove(const QString& path)
{
    std::lock_guard lock(m_mutex);
    return m_paths.remove(path);
}

void AddedPaths::clear()
{
    std::lock_guard lock(m_mutex);
    m_paths.clear();
}

qsizetype AddedPaths::size() const
{
    std::lock_guard lock(m_mutex);
    return m_paths.size();
}

} // namespace vantrel
