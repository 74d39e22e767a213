#include "mapview/RegionPreloader.h"

#include <QImageReader>

namespace mapview {

std::shared_ptr<const MapPyramid> DecodeRegion(const QString& path)
{
    QImageReader reader(path);
    const QImage picture = reader.read();
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
        m_queue.assign(paths.begin(), paths.end());
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
        const QString path = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        if (!m_cache.Contains(path))
            if (auto pyramid = DecodeRegion(path))
                m_cache.Put(path, std::move(pyramid));
        lock.lock();
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

} // namespace mapview
