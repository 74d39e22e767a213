#include "tools/demoworld/WorldModel.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace demoworld::gen {

// The marker colours stay apart for every reader: any two (and the grey of
// bosses without a profession) differ by at least 10 in CIEDE2000, and by at
// least 5 as readers without red or green cones see them; each is light
// enough for the black code the map prints on it.
const std::vector<Profession>& Professions()
{
    static const std::vector<Profession> list = {
        {1, "Hearthguard", "Hg", qRgb(209, 182, 59), {"Bulwark", "Hewing", "Rallying", "Stonehide", "Vigilance"}, 0},
        {2,
         "Cinderwright",
         "Cw",
         qRgb(217, 65, 41),
         {"Emberlore", "Frostcraft", "Stormcalling", "Stonesong", "Shardsight", "Runic Lore"},
         0},
        {3, "Dawnmender", "Dm", qRgb(96, 172, 232), {"Lantern Rites", "Warding", "Devotion", "Mercy"}, 0},
        {4,
         "Ashreaper",
         "Ar",
         qRgb(200, 60, 100),
         {"Bloodletting", "Sickle Dance", "Fury", "Wraithcraft", "Gleaning"},
         0},
        {5, "Mirebinder", "Mb", qRgb(62, 174, 73), {"Malison", "Dread", "Marrow Draw", "Grave Binding", "Decay"}, 0},
        {6, "Briarscout", "Bs", qRgb(149, 115, 65), {"Longbow Craft", "Briar Lore", "Snaring", "Houndkin"}, 0},
        {7,
         "Mirrorweaver",
         "Mw",
         qRgb(166, 89, 193),
         {"Glamour", "Mind Bending", "Mirror Lore", "Subtlety", "Warping"},
         0},
        {8, "Bellsinger", "Bl", qRgb(229, 127, 36), {"Cadence", "Resonance", "Marching Hymns", "Lore of Ages"}, 0},
        {9, "Quillblade", "Qb", qRgb(66, 119, 230), {"Footwork", "Needle Fencing", "Feint", "Poise", "Precision"}, 2},
        {10,
         "Veilwalker",
         "Vw",
         qRgb(40, 175, 181),
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
