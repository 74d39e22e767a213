#include "layers/modCollectors.h"

#include "core/RecordFields.h"

#include <QHash>

namespace modCollectors {

namespace {

const QString kCollectorsFile = QStringLiteral("Collectors.txt");
const QString kLocationsFile = QStringLiteral("CollectorsLocations.txt");
constexpr qsizetype kMinHeaderFields = 3;   // identifier, name, armour flag
constexpr qsizetype kLevelHeaderFields = 4; // only then is field 4 the level
constexpr qsizetype kLocationFields = 5;
constexpr int32_t kMarkerHalf = 6;

// Walks the lines of one "Collectors.txt" as they are read: a header line,
// the location line, the request line, then reward lines up to an empty line
// or the end.
class BlockReader {
public:
    BlockReader(const LoadContext& ctx, const QString& rel, Tables& table, QHash<QString, int>& requestIndex,
                records::TextPool& pool)
        : m_ctx(ctx), m_rel(rel), m_table(table), m_requestIndex(requestIndex), m_pool(pool)
    {}

    void line(QStringView line, int lineNo)
    {
        switch (m_state) {
        case State::Between:
            // Extra separator lines between blocks carry nothing.
            if (!records::IsBlankText(line) && line.front() != u';')
                header(line, lineNo);
            break;
        case State::Skip:
            if (line.isEmpty())
                m_state = State::Between;
            break;
        case State::Location:
            m_location = line.toString();
            m_state = State::Request;
            break;
        case State::Request:
            request(line);
            break;
        case State::Rewards:
            if (line.isEmpty())
                m_state = State::Between;
            else if (!records::IsBlankText(line)) // a line of blanks does not end the block
                reward(line, lineNo);
            break;
        }
    }

    void end()
    {
        if (m_state == State::Location || m_state == State::Request)
            m_ctx.warn(m_rel, m_headerLine, QStringLiteral("collector block without location and request"));
        m_state = State::Between;
    }

private:
    enum class State { Between, Skip, Location, Request, Rewards };

    void header(QStringView line, int lineNo)
    {
        records::Fields& f = m_fields;
        records::SplitFields(line, f);
        m_state = State::Skip;
        if (f.size() < kMinHeaderFields) {
            m_ctx.warn(m_rel, lineNo, QStringLiteral("collector header with fewer than 3 fields"));
            return;
        }
        const auto id = records::NumberField<int32_t>(f[0]);
        if (!id) {
            m_ctx.warn(m_rel, lineNo, QStringLiteral("collector identifier outside 1..%1").arg(kMaxCollectorId));
            return;
        }
        uint8_t lowLevel = 0;
        if (f.size() == kLevelHeaderFields) {
            const auto level = records::NumberField<uint8_t>(f[3]);
            if (!level) {
                m_ctx.warn(m_rel, lineNo, QStringLiteral("level outside 0..255"));
                return;
            }
            lowLevel = *level;
        }
        // A block whose identifier the table cannot hold is not kept, but its
        // request still enters the request types, as every block's does.
        m_id = *id;
        if (m_id < 1 || m_id > kMaxCollectorId)
            m_ctx.warn(m_rel, lineNo, QStringLiteral("collector identifier outside 1..%1").arg(kMaxCollectorId));
        m_name = f[1].toString();
        m_armour = f[2] == u"1";
        m_lowLevel = lowLevel;
        m_headerLine = lineNo;
        m_state = State::Location;
    }

    void request(QStringView line)
    {
        addRequestType(line, m_lowLevel);
        if (m_id < 1 || m_id > kMaxCollectorId) {
            m_state = State::Skip;
            return;
        }
        if (m_id > m_table.highest())
            m_table.Collectors.resize(static_cast<size_t>(m_id) + 1);
        Collector& col = m_table.Collectors[static_cast<size_t>(m_id)];
        col.Name = std::move(m_name);
        col.IsArmor = m_armour;
        col.IsLowLevel = m_lowLevel;
        col.Location = std::move(m_location);
        col.Request = line.toString();
        col.X = -1;
        col.Y = -1;
        // Entry 0 stays; rewards of an earlier block with this identifier go.
        col.Rewards.resize(1);
        m_collector = &col;
        m_state = State::Rewards;
    }

    void reward(QStringView line, int lineNo)
    {
        records::Fields& rf = m_fields;
        records::SplitFields(line, rf);
        std::optional<int16_t> mask = int16_t{0};
        if (rf.size() >= 2)
            mask = records::NumberField<int16_t>(rf[1]);
        if (!mask) {
            m_ctx.warn(m_rel, lineNo, QStringLiteral("hand mask beyond 16 bits"));
            return;
        }
        // Built whole, so that the property list is allocated once.
        std::vector<QString> stats;
        stats.reserve(static_cast<size_t>(std::max<qsizetype>(rf.size() - 1, 1)));
        stats.emplace_back();
        for (qsizetype k = 2; k < rf.size(); ++k)
            stats.push_back(m_pool.get(rf[k]));
        m_collector->Rewards.push_back(
            CollectorReward{.Name = m_pool.get(rf[0]), .HandMask = *mask, .Stats = std::move(stats)});
    }

    // The first spelling of a trophy wins; later requests for the same
    // trophy in any letter case change nothing.
    void addRequestType(QStringView request, uint8_t lowLevel)
    {
        const QStringView trophy = TrophyName(request);
        const QString key = records::LowerCase(trophy);
        if (m_requestIndex.contains(key))
            return;
        m_requestIndex.insert(key, static_cast<int>(m_table.RequestTypes.size()));
        m_table.RequestTypes.push_back(RequestType{trophy.toString(), lowLevel});
    }

    const LoadContext& m_ctx;
    const QString& m_rel;
    Tables& m_table;
    QHash<QString, int>& m_requestIndex;
    records::TextPool& m_pool;
    records::Fields m_fields;
    State m_state = State::Between;
    // The block being read.
    int32_t m_id = 0;
    QString m_name;
    bool m_armour = false;
    uint8_t m_lowLevel = 0;
    int m_headerLine = 0;
    QString m_location;
    Collector* m_collector = nullptr;
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
    for (size_t c = 0; c < campaigns.size(); ++c) {
        const QString rel = records::CampaignFile(campaigns, c, kCollectorsFile);
        if (rel.isEmpty())
            continue;
        BlockReader reader(ctx, rel, collectors, requestIndex, pool);
        if (ctx.forEachRawLine(rel, [&reader](QStringView line, int lineNo) { reader.line(line, lineNo); }))
            reader.end();
    }
}

void LoadCollectorLocations(const LoadContext& ctx, const CampaignTable& campaigns, Tables& collectors)
{
    records::Fields f;
    records::ForEachCampaignLine(ctx, campaigns, kLocationsFile,
                                 [&](size_t c, const QString& rel, QStringView line, int lineNo) {
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
