// Decodes, off the interface thread, the region pictures a player is likely
// to open next and keeps them (with their halvings) in the region cache, so
// that switching to one shows its first frame at once. A newer request
// replaces what an older one still had to do. One worker thread: the
// interface thread keeps a core to itself.
#pragma once

#include "mapview/RegionCache.h"

#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace mapview {

// Reads the picture at `path` and builds its halvings; null when it cannot
// be read.
std::shared_ptr<const MapPyramid> DecodeRegion(const QString& path);

class RegionPreloader {
public:
    explicit RegionPreloader(RegionCache& cache);
    // Waits for the picture being decoded; the others are dropped.
    ~RegionPreloader();
    RegionPreloader(const RegionPreloader&) = delete;
    RegionPreloader& operator=(const RegionPreloader&) = delete;

    // Decodes `paths` in order, skipping those the cache keeps already.
    void Preload(const QStringList& paths);
    // Builds the halvings of `picture`, already decoded from `path`, and
    // keeps them; before the preloads still waiting.
    void Adopt(const QString& path, const QImage& picture);
    // Called on the worker thread with each path newly kept.
    std::function<void(const QString& path)> onReady;
    // Waits until every request given so far is done (tests, benchmarks).
    void WaitForDone();

private:
    void Work();

    RegionCache& m_cache;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    struct Job {
        QString path;
        QImage picture; // null: read from the path
    };
    std::deque<Job> m_queue;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_worker; // last: started once the rest is ready
};

} // namespace mapview
