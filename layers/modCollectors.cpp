#include "layers/modCollectors.h"

#include "core/RecordFields.h"

#include <QHash>

namespace modCollectors {

namespace {

const QString kCollectorsFile = QStringLiteral("Collectors.txt");
const QString kLocationsFile = QStringLiteral("CollectorsLocations.txt");
constexpr qsizetype kMinHeaderFields = 3;  // identifier, name, armour flag
constexpr qsizetype kLevelHeaderFields = 4; // only then is field 4 the level
constexpr qsizetype kLocationFields = 5;
constexpr int32_t kMarkerHalf = 6;

// Walks the lines of one "Collectors.txt": a header line, the location line,
// the request line, then reward lines up to an empty line or the end.
class BlockReader {
public:
    BlockReader(const LoadContext& ctx, const QString& rel, const std::vector<QStringView>& lines,
                Tables& table, QHash<QString, int>& requestIndex, records::TextPool& pool)
        : m_ctx(ctx), m_rel(rel), m_lines(lines), m_table(table), m_requestIndex(requestIndex), m_pool(pool)
    {
    }

    void run()
    {
        while (m_next < m_lines.size()) {
            const QStringView line = m_lines[m_next];
            // Extra separator lines between blocks carry nothing.
            if (records::IsBlankText(line) || line.front() == u';') {
                ++m_next;
                continue;
            }
            readBlock();
        }
    }

private:
    int lineNo(size_t index) const { return static_cast<int>(index) + 1; }

    void skipBlock()
    {
        while (m_next < m_lines.size() && !m_lines[m_next].isEmpty())
            ++m_next;
    }

    void readBlock()
    {
        const size_t headerIndex = m_next++;
        records::Fields& f = m_fields;
        records::SplitFields(m_lines[headerIndex], f);
        if (f.size() < kMinHeaderFields) {
            m_ctx.warn(m_rel, lineNo(headerIndex), QStringLiteral("collector header with fewer than 3 fields"));
            skipBlock();
            return;
        }
        const auto id = records::NumberField<int32_t>(f[0]);
        if (!id || *id < 1 || *id > kMaxCollectorId) {
            m_ctx.warn(m_rel, lineNo(headerIndex),
                       QStringLiteral("collector identifier outside 1..%1").arg(kMaxCollectorId));
            skipBlock();
            return;
        }
        uint8_t lowLevel = 0;
        if (f.size() == kLevelHeaderFields) {
            const auto level = records::NumberField<uint8_t>(f[3]);
            if (!level) {
                m_ctx.warn(m_rel, lineNo(headerIndex), QStringLiteral("level outside 0..255"));
                skipBlock();
                return;
            }
            lowLevel = *level;
        }
        if (m_next + 2 > m_lines.size()) {
            m_ctx.warn(m_rel, lineNo(headerIndex), QStringLiteral("collector block without location and request"));
            m_next = m_lines.size();
            return;
        }

        if (*id > m_table.highest())
            m_table.Collectors.resize(static_cast<size_t>(*id) + 1);
        Collector& col = m_table.Collectors[static_cast<size_t>(*id)];
        col.Name = f[1].toString();
        col.IsArmor = f[2] == u"1";
        col.IsLowLevel = lowLevel;
        col.Location = m_lines[m_next++].toString();
        col.Request = m_lines[m_next++].toString();
        addRequestType(col);
        col.X = -1;
        col.Y = -1;
        // Entry 0 stays; rewards of an earlier block with this identifier go.
        col.Rewards.resize(1);
        size_t blockEnd = m_next;
        while (blockEnd < m_lines.size() && !m_lines[blockEnd].isEmpty())
            ++blockEnd;
        col.Rewards.reserve(1 + (blockEnd - m_next));

        while (m_next < m_lines.size() && !m_lines[m_next].isEmpty()) {
            const size_t index = m_next++;
            const QStringView line = m_lines[index];
            // A line of blanks is no reward and does not end the block.
            if (records::IsBlankText(line))
                continue;
            records::Fields& rf = m_fields;
            records::SplitFields(line, rf);
            std::optional<int16_t> mask = int16_t{0};
            if (rf.size() >= 2)
                mask = records::NumberField<int16_t>(rf[1]);
            if (!mask) {
                m_ctx.warn(m_rel, lineNo(index), QStringLiteral("hand mask beyond 16 bits"));
                continue;
            }
            // Built whole, so that the property list is allocated once.
            std::vector<QString> stats;
            stats.reserve(static_cast<size_t>(std::max<qsizetype>(rf.size() - 1, 1)));
            stats.emplace_back();
            for (qsizetype k = 2; k < rf.size(); ++k)
                stats.push_back(m_pool.get(rf[k]));
            col.Rewards.push_back(CollectorReward{.Name = m_pool.get(rf[0]), .HandMask = *mask, .Stats = std::move(stats)});
        }
    }

    // The first spelling of a trophy wins; later requests for the same
    // trophy in any letter case change nothing.
    void addRequestType(const Collector& col)
    {
        const QStringView trophy = TrophyName(col.Request);
        const QString key = records::LowerCase(trophy);
        if (m_requestIndex.contains(key))
            return;
        m_requestIndex.insert(key, static_cast<int>(m_table.RequestTypes.size()));
        m_table.RequestTypes.push_back(RequestType{trophy.toString(), col.IsLowLevel});
    }

    const LoadContext& m_ctx;
    const QString& m_rel;
    const std::vector<QStringView>& m_lines;
    Tables& m_table;
    QHash<QString, int>& m_requestIndex;
    records::TextPool& m_pool;
    size_t m_next = 0;
    records::Fields m_fields;
};

} // namespace

QStringView TrophyName(QStringView request)
{
    const qsizetype blank = request.indexOf(u' ');
    return blank < 0 ? request : request.sliced(blank + 1);
}

void LoadCollectors(const LoadContext& ctx, const CampaignTable& campaigns, Tables& collectors)
{
    collectors = Tables{};
    QHash<QString, int> requestIndex;
    records::TextPool pool;
    records::RecordText text;
    for (size_t c = 0; c < campaigns.size(); ++c) {
        QString rel;
        if (!records::ReadCampaignFile(ctx, campaigns, c, kCollectorsFile, rel, text))
            continue;
        BlockReader(ctx, rel, text.lines, collectors, requestIndex, pool).run();
    }
}

void LoadCollectorLocations(const LoadContext& ctx, const CampaignTable& campaigns, Tables& collectors)
{
    records::Fields f;
    records::ForEachCampaignLine(ctx, campaigns, kLocationsFile, [&](size_t c, const QString& rel, QStringView line,
                                                                     int lineNo) {
        records::SplitFields(line, f);
        if (f.size() < kLocationFields) {
            ctx.warn(rel, lineNo, QStringLiteral("fewer than 5 fields"));
            return;
        }
        const auto id = records::NumberField<int32_t>(f[0]);
        if (!id || *id < 1 || *id > collectors.highest()) {
            ctx.warn(rel, lineNo, QStringLiteral("no collector with this identifier"));
            return;
        }
        const auto region = records::StrictField<uint8_t>(f[1]);
        if (!region) {
            ctx.warn(rel, lineNo, QStringLiteral("region is not a whole number 0..255"));
            return;
        }
        const auto x = records::CoordinateField(f[2]);
        const auto y = records::CoordinateField(f[3]);
        const auto zone = records::StrictField<int32_t>(f[4]);
        if (!x || !y || !zone) {
            ctx.warn(rel, lineNo, QStringLiteral("coordinate or zone out of range"));
            return;
        }
        Collector& col = collectors.Collectors[static_cast<size_t>(*id)];
        col.Campaign = static_cast<uint8_t>(c);
        col.Region = *region;
        col.Zone = *zone;
        records::SetMarker(col, *x, *y, kMarkerHalf);
    });
}

void EnsureEmptyLists(Tables& collectors)
{
    for (Collector& col : collectors.Collectors)
        if (col.Name.isEmpty() && col.Rewards.empty())
            col.Rewards.resize(1);
}

} // namespace modCollectors
