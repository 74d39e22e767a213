#include "mapview/RegionPreloader.h"

#include "core/Pictures.h"

namespace mapview {

std::shared_ptr<const MapPyramid> DecodeRegion(const QString& path)
{
    // Read only from a regular file: a FIFO named as a picture would block
    // the worker, and the program's end with it.
    const QImage picture = records::LoadPicture(path);
    if (picture.isNull())
        return nullptr;
    return std::make_shared<const MapPyramid>(picture);
}

RegionPreloader::RegionPreloader(RegionCache& cache) : m_cache(cache), m_worker([this] { Work(); })
{}

RegionPreloader::~RegionPreloader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_one();
    m_worker.join();
}

void RegionPreloader::Preload(const QStringList& paths)
{
    {
        const std::lock_guard lock(m_mutex);
        // A picture to adopt stays first; the older preloads go.
        std::erase_if(m_queue, [](const Job& job) { return job.picture.isNull(); });
        for (const QString& path : paths)
            m_queue.push_back({path, QImage()});
    }
    m_wake.notify_one();
}

void RegionPreloader::Adopt(const QString& path, const QImage& picture)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_front({path, picture});
    }
    m_wake.notify_one();
}

void RegionPreloader::WaitForDone()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

void RegionPreloader::Work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            return;
        const Job job = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        if (!m_cache.Contains(job.path)) {
            auto pyramid =
                job.picture.isNull() ? DecodeRegion(job.path) : std::make_shared<const MapPyramid>(job.picture);
            if (pyramid) {
                m_cache.Put(job.path, std::move(pyramid));
                if (onReady)
                    onReady(job.path);
            }
        }
        lock.lock();
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

} // namespace mapview
