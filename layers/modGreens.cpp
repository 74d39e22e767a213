#include "layers/modGreens.h"

#include "core/RecordFields.h"

#include <algorithm>
#include <cstdint>

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
    records::ForEachCampaignLine(ctx, campaigns, kGreensFile,
                                 [&](size_t, const QString& rel, QStringView raw, int lineNo) {
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

namespace {

char16_t LowerAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// FNV-1a of the text lower-cased; `ascii` tells whether the text is plain
// ASCII. Names mostly are, and are lowered here without the general case
// tables.
std::size_t LowerHash(QStringView text, bool& ascii)
{
    constexpr std::uint64_t kBasis = 14695981039346656037ULL;
    std::uint64_t h = kBasis;
    auto add = [&h](char16_t c) { h = (h ^ c) * 1099511628211ULL; };
    ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
        add(LowerAscii(c.unicode()));
    }
    if (!ascii) {
        h = kBasis;
        for (QChar c : records::LowerCase(text))
            add(c.unicode());
    }
    return static_cast<std::size_t>(h ^ (h >> 32));
}

bool SameButCase(QStringView a, bool aAscii, QStringView b, bool bAscii)
{
    if (aAscii && bAscii) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i)
            if (LowerAscii(a[i].unicode()) != LowerAscii(b[i].unicode()))
                return false;
        return true;
    }
    return records::LowerCase(a) == records::LowerCase(b);
}

} // namespace

BossIndex::BossIndex(const Tables& greens) : m_greens(greens)
{
    m_entries.reserve(greens.Greens.size());
    for (size_t g = 1; g < greens.Greens.size(); ++g) {
        bool ascii = true;
        const std::size_t hash = LowerHash(greens.Greens[g].Boss, ascii);
        m_entries.push_back(Entry{hash, static_cast<int32_t>(g), ascii});
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.hash != b.hash ? a.hash < b.hash : a.green < b.green; });
}

void BossIndex::find(QStringView boss, std::vector<int32_t>& items) const
{
    items.clear();
    bool ascii = true;
    const std::size_t hash = LowerHash(boss, ascii);
    auto it = std::lower_bound(m_entries.begin(), m_entries.end(), hash,
                               [](const Entry& e, std::size_t h) { return e.hash < h; });
    for (; it != m_entries.end() && it->hash == hash; ++it)
        if (SameButCase(m_greens.Greens[static_cast<size_t>(it->green)].Boss, it->ascii, boss, ascii))
            items.push_back(it->green);
}

void EnsureEmptyLists(Tables& greens)
{
    for (GreenItem& item : greens.Greens)
        if (item.Name.isEmpty() && item.Stats.empty())
            item.Stats.resize(1);
}

} // namespace modGreens
