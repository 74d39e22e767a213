// The halvings of a region picture and the cache of decoded regions, with
// figures worked out by hand.
#include "mapview/MapPyramid.h"
#include "mapview/RegionCache.h"
#include "mapview/RegionPreloader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <mutex>
#include <thread>
#include <vector>

using namespace mapview;

namespace {

TEST(Pyramid, EachLevelIsTheRoundedMeanOfTheFourPixelsItCovers)
{
    QImage picture(5, 2, QImage::Format_RGB32); // the odd fifth column is dropped
    const QRgb row0[] = {qRgb(0, 10, 255), qRgb(1, 10, 255), qRgb(100, 0, 0), qRgb(101, 0, 0), qRgb(9, 9, 9)};
    const QRgb row1[] = {qRgb(2, 11, 255), qRgb(2, 11, 254), qRgb(102, 0, 0), qRgb(103, 0, 0), qRgb(9, 9, 9)};
    for (int x = 0; x < 5; ++x) {
        picture.setPixel(x, 0, row0[x]);
        picture.setPixel(x, 1, row1[x]);
    }
    const QImage half = HalvePicture(picture);
    ASSERT_EQ(half.size(), QSize(2, 1));
    EXPECT_EQ(half.pixel(0, 0), qRgb(1, 11, 255)) << "1.25 -> 1, 10.5 -> 11, 254.75 -> 255";
    EXPECT_EQ(half.pixel(1, 0), qRgb(102, 0, 0)) << "101.5 -> 102";

    QImage map(3200, 2400, QImage::Format_RGB32);
    map.fill(Qt::darkGreen);
    const MapPyramid pyramid(map);
    ASSERT_EQ(pyramid.LevelCount(), 6); // 3200 x 2400 down to 100 x 75
    EXPECT_EQ(pyramid.Level(5).size(), QSize(100, 75));
    const struct {
        double scale;
        int level;
    } rows[] = {{2.0, 0}, {1.0, 0}, {0.67, 0}, {0.5, 1}, {0.33, 1}, {0.25, 2}, {0.01, 5}};
    for (const auto& row : rows)
        EXPECT_EQ(pyramid.LevelFor(row.scale), row.level) << row.scale;
}

std::shared_ptr<const MapPyramid> Picture(int side)
{
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return std::make_shared<const MapPyramid>(picture);
}

TEST(RegionCache, TheLeastRecentlyUsedGoesFirstWithinTheBudget)
{
    const qsizetype one = Picture(100)->Bytes(); // 100 x 100 alone: below two sides of 64
    RegionCache cache(3 * one);
    for (const char* path : {"a", "b", "c"})
        cache.Put(QString::fromLatin1(path), Picture(100));
    ASSERT_TRUE(cache.Get(QStringLiteral("a")));
    cache.Put(QStringLiteral("d"), Picture(100));
    EXPECT_EQ(cache.Paths(), (QStringList{"d", "a", "c"}));
    EXPECT_EQ(cache.Bytes(), 3 * one);
    cache.Put(QStringLiteral("huge"), Picture(400));
    EXPECT_FALSE(cache.Contains(QStringLiteral("huge"))) << "larger than the whole budget";
    cache.Put(QStringLiteral("c"), Picture(100));
    EXPECT_EQ(cache.Paths(), (QStringList{"c", "d", "a"})) << "kept again, as the most recent";
    EXPECT_EQ(cache.Bytes(), 3 * one);

    // Preloader threads putting and the interface thread getting at once.
    RegionCache shared(2 * one);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&shared, t] {
            for (int n = 0; n < 50; ++n) {
                shared.Put(QString::number((t * 50 + n) % 7), Picture(100));
                shared.Get(QString::number(n % 7));
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_LE(shared.Bytes(), 2 * one);
    EXPECT_EQ(shared.Paths().size() * one, shared.Bytes());
}

TEST(RegionPreloader, DecodesTheNextRegionsIntoTheCacheOffTheCallingThread)
{
    QTemporaryDir folder;
    QStringList paths;
    for (int n = 0; n < 3; ++n) {
        QImage picture(256 + 64 * n, 200, QImage::Format_RGB32);
        picture.fill(QColor(40 * n, 90, 20));
        paths << folder.filePath(QStringLiteral("region%1.jpg").arg(n));
        ASSERT_TRUE(picture.save(paths.back(), "JPG"));
    }
    paths << folder.filePath(QStringLiteral("missing.jpg"));
    RegionCache cache;
    RegionPreloader preloader(cache);
    preloader.Preload({paths[2]});
    preloader.Preload(paths);
    preloader.WaitForDone();
    for (int n = 0; n < 3; ++n) {
        const auto kept = cache.Get(paths[n]);
        ASSERT_TRUE(kept) << n;
        EXPECT_EQ(kept->Level(0).size(), QSize(256 + 64 * n, 200));
        EXPECT_EQ(kept->LevelCount(), 2) << "200 high: halved once, to 100";
    }
    EXPECT_FALSE(cache.Contains(paths[3])) << "an unreadable picture is not kept";

    // A picture just read by the interface thread: its halvings built on the
    // worker, from the same pixels (nothing read again), and told back; a
    // FIFO named as a picture neither blocks the worker nor is kept.
    QImage adopted(300, 200, QImage::Format_RGB32);
    adopted.fill(QColor(1, 2, 3));
    const QString fifo = folder.filePath(QStringLiteral("fifo.jpg"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    std::mutex told;
    QStringList ready;
    preloader.onReady = [&](const QString& path) {
        const std::lock_guard lock(told);
        ready << path;
    };
    preloader.Preload({fifo});
    preloader.Adopt(QStringLiteral("shown"), adopted);
    preloader.WaitForDone();
    const auto shown = cache.Get(QStringLiteral("shown"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->Level(0).constBits(), adopted.constBits());
    EXPECT_FALSE(cache.Contains(fifo));
    const std::lock_guard lock(told);
    EXPECT_EQ(ready, QStringList{QStringLiteral("shown")});
}

} // namespace
