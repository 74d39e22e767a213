// Decoded region pictures kept for quick region switches: each with its
// pyramid of halvings, within a memory budget (256 MB unless told), the least
// recently used going first. Shared between the interface thread and the
// preloader's threads.
#pragma once

#include "mapview/MapPyramid.h"

#include <QString>

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

namespace mapview {

class RegionCache {
public:
    static constexpr qsizetype kDefaultBudget = qsizetype(256) * 1024 * 1024;

    explicit RegionCache(qsizetype budget = kDefaultBudget) : m_budget(budget) {}

    // The picture of `path`, now the most recently used; null when not kept.
    std::shared_ptr<const MapPyramid> Get(const QString& path);
    bool Contains(const QString& path) const;
    // Keeps `pyramid` for `path` as the most recently used, then lets the
    // least recently used go until the budget holds (a picture larger than
    // the whole budget is not kept). A picture already kept is replaced.
    void Put(const QString& path, std::shared_ptr<const MapPyramid> pyramid);

    qsizetype Bytes() const;
    qsizetype Budget() const { return m_budget; }
    // The paths kept, most recently used first.
    QStringList Paths() const;

private:
    struct Entry {
        QString path;
        std::shared_ptr<const MapPyramid> pyramid;
        qsizetype bytes = 0;
    };
    void TrimLocked();

    const qsizetype m_budget;
    mutable std::mutex m_mutex;
    std::list<Entry> m_entries; // most recently used first
    qsizetype m_bytes = 0;
};

} // namespace mapview
