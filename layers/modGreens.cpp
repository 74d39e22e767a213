#include "layers/modGreens.h"

#include "core/RecordFields.h"

namespace modGreens {

namespace {
const QString kGreensFile = QStringLiteral("Greens.txt");
constexpr qsizetype kMinFields = 2; // name and boss
} // namespace

void LoadGreens(const LoadContext& ctx, const CampaignTable& campaigns, Tables& greens)
{
    greens = Tables{};
    records::Fields f;
    records::TextPool properties;
    records::ForEachCampaignLine(ctx, campaigns, kGreensFile, [&](size_t, const QString& rel, QStringView raw,
                                                                  int lineNo) {
        const QStringView line = records::TrimBlanks(raw);
        if (line.isEmpty() || line.front() == u';')
            return;
        records::SplitFields(line, f);
        if (f.size() < kMinFields) {
            ctx.warn(rel, lineNo, QStringLiteral("no boss field"));
            return;
        }
        // Built whole, so that the property list is allocated once.
        std::vector<QString> stats;
        stats.reserve(static_cast<size_t>(f.size()) - 1);
        stats.emplace_back();
        for (qsizetype k = 2; k < f.size(); ++k)
            stats.push_back(properties.get(records::TrimBlanks(f[k])));
        greens.Greens.push_back(GreenItem{.Name = records::TrimBlanks(f[0]).toString(),
                                          .Boss = records::TrimBlanks(f[1]).toString(),
                                          .Stats = std::move(stats)});
    });
}

BossIndex::BossIndex(const Tables& greens)
{
    m_byBoss.reserve(static_cast<qsizetype>(greens.Greens.size()));
    for (size_t g = 1; g < greens.Greens.size(); ++g)
        m_byBoss[records::LowerCase(greens.Greens[g].Boss)].push_back(static_cast<int32_t>(g));
}

const std::vector<int32_t>* BossIndex::find(const QString& lowerBoss) const
{
    const auto it = m_byBoss.constFind(lowerBoss);
    return it == m_byBoss.cend() ? nullptr : &it.value();
}

void EnsureEmptyLists(Tables& greens)
{
    for (GreenItem& item : greens.Greens)
        if (item.Name.isEmpty() && item.Stats.empty())
            item.Stats.resize(1);
}

} // namespace modGreens
