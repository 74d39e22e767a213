#include "tools/demoworld/WorldModel.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace demoworld::gen {

const std::vector<Profession>& Professions()
{
    static const std::vector<Profession> list = {
        {1, "Hearthguard", "Hg", qRgb(204, 170, 60), {"Bulwark", "Hewing", "Rallying", "Stonehide", "Vigilance"}, 0},
        {2,
         "Cinderwright",
         "Cw",
         qRgb(214, 64, 44),
         {"Emberlore", "Frostcraft", "Stormcalling", "Stonesong", "Shardsight", "Runic Lore"},
         0},
        {3, "Dawnmender", "Dm", qRgb(96, 172, 232), {"Lantern Rites", "Warding", "Devotion", "Mercy"}, 0},
        {4,
         "Ashreaper",
         "Ar",
         qRgb(146, 32, 64),
         {"Bloodletting", "Sickle Dance", "Fury", "Wraithcraft", "Gleaning"},
         0},
        {5, "Mirebinder", "Mb", qRgb(64, 152, 64), {"Malison", "Dread", "Marrow Draw", "Grave Binding", "Decay"}, 0},
        {6, "Briarscout", "Bs", qRgb(150, 112, 52), {"Longbow Craft", "Briar Lore", "Snaring", "Houndkin"}, 0},
        {7,
         "Mirrorweaver",
         "Mw",
         qRgb(164, 84, 204),
         {"Glamour", "Mind Bending", "Mirror Lore", "Subtlety", "Warping"},
         0},
        {8, "Bellsinger", "Bl", qRgb(242, 142, 40), {"Cadence", "Resonance", "Marching Hymns", "Lore of Ages"}, 0},
        {9, "Quillblade", "Qb", qRgb(60, 92, 204), {"Footwork", "Needle Fencing", "Feint", "Poise", "Precision"}, 2},
        {10,
         "Veilwalker",
         "Vw",
         qRgb(40, 182, 172),
         {"Dusk Stepping", "Veilcraft", "Ancestry", "Starlore", "Twilight", "Loom Rites"},
         2},
    };
    return list;
}

QRgb ProfessionColour(int p)
{
    return p >= 1 && p <= int(Professions().size()) ? Professions()[size_t(p - 1)].colour : qRgb(170, 170, 170);
}

qint64 ColourNumber(QRgb c)
{
    return qRed(c) + qGreen(c) * 256 + qint64(qBlue(c)) * 65536;
}

void ForEachParallel(size_t count, int threads, const std::function<void(size_t)>& work)
{
    if (threads <= 0)
        threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    threads = int(std::min<size_t>(size_t(threads), std::max<size_t>(count, 1)));
    std::atomic<size_t> next{0};
    auto run = [&] {
        for (size_t i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(run);
    run();
    for (auto& t : pool)
        t.join();
}

} // namespace demoworld::gen
