#include "mapview/RegionCache.h"

#include <QStringList>

#include <algorithm>

namespace mapview {

std::shared_ptr<const MapPyramid> RegionCache::Get(const QString& path)
{
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == path; });
    if (it == m_entries.end())
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, it);
    return it->pyramid;
}

bool RegionCache::Contains(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == path; });
}

void RegionCache::Put(const QString& path, std::shared_ptr<const MapPyramid> pyramid)
{
    if (!pyramid)
        return;
    const qsizetype bytes = pyramid->Bytes();
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == path; });
    if (it != m_entries.end()) {
        m_bytes -= it->bytes;
        m_entries.erase(it);
    }
    if (bytes > m_budget)
        return;
    m_entries.push_front({path, std::move(pyramid), bytes});
    m_bytes += bytes;
    TrimLocked();
}

void RegionCache::TrimLocked()
{
    while (m_bytes > m_budget && !m_entries.empty()) {
        m_bytes -= m_entries.back().bytes;
        m_entries.pop_back();
    }
}

qsizetype RegionCache::Bytes() const
{
    const std::lock_guard lock(m_mutex);
    return m_bytes;
}

QStringList RegionCache::Paths() const
{
    const std::lock_guard lock(m_mutex);
    QStringList paths;
    for (const Entry& e : m_entries)
        paths << e.path;
    return paths;
}

} // namespace mapview
