#include "elite/modElite.h"

#include "core/RecordFields.h"
#include "elite/modCharacters.h"
#include "layers/modGreens.h"

#include <QStringLiteral>

#include <system_error>

namespace modElite {

namespace {

const QString kEliteListFile = QStringLiteral("EliteList.txt");
const QString kLocationsFile = QStringLiteral("EliteLocations.txt");
const QString kPictureFolder = QStringLiteral("imgElite/");
const QString kPictureExtension = QStringLiteral(".jpg");

// A record of the catalogue carries 11 columns; any other count is a short
// record of which only number, profession and name are used.
constexpr qsizetype kFullRecordFields = 11;
constexpr qsizetype kShortRecordFields = 3;
constexpr qsizetype kLocationFields = 7;
constexpr qsizetype kLocationFieldsWithNote = 8;
constexpr int32_t kMarkerHalf = 6;

// Locations written in the first format version measure in 1/15 pixel.
const QString kFirstFormatVersion = QStringLiteral("1.0");
constexpr int32_t kFirstFormatUnitsPerPixel = 15;

// Bosses whose note or marker says they appear only at times drop nothing
// worth listing, except this one, whose greens are always linked.
const QString kAlwaysLinkedBoss = QStringLiteral("Vaddeth Stickleback");
const QString kOnlyDuring = QStringLiteral("only during");
const QString kTimedMarker = QStringLiteral("D");

bool IsComment(QStringView line)
{
    return !line.isEmpty() && line.front() == u';';
}

// Full path of the picture of elite n in `pictureFolder`: the last four
// digits of the number, zero-padded, + ".jpg" (PadNumber(n, 4) spelled out
// to build the path in one piece).
QString PicturePath(const QString& pictureFolder, int n)
{
    QString path;
    path.reserve(pictureFolder.size() + 4 + kPictureExtension.size());
    path += pictureFolder;
    int divisor = 1000;
    for (int k = 0; k < 4; ++k, divisor /= 10)
        path += QChar(u'0' + (n / divisor) % 10);
    path += kPictureExtension;
    return path;
}

// Reads one catalogue line into `elite`; false (and nothing changed) when the
// line is malformed, with `why` saying what was wrong.
bool ReadEliteLine(QStringView line, records::Fields& f, int campaign, const QString& pictureFolder,
                   records::TextPool& pool, PictureChecks& pictures, Tables& elite, QString& why)
{
    records::SplitFields(line, f);
    if (f.size() < kShortRecordFields) {
        why = QStringLiteral("fewer than 3 fields");
        return false;
    }
    const auto number = records::NumberField<int32_t>(f[0]);
    if (!number || *number < 0 || *number > kMaxEliteNumber) {
        why = QStringLiteral("elite number outside 0..%1").arg(kMaxEliteNumber);
        return false;
    }
    const auto profession = records::StrictField<uint8_t>(f[1]);
    if (!profession) {
        why = QStringLiteral("profession is not a whole number 0..255");
        return false;
    }
    const bool full = f.size() == kFullRecordFields;
    std::optional<int16_t> upkeep, recharge;
    std::optional<uint8_t> adrenaline, energy;
    if (full) {
        upkeep = records::NumberField<int16_t>(f[5]);
        adrenaline = records::NumberField<uint8_t>(f[6]);
        energy = records::NumberField<uint8_t>(f[7]);
        recharge = records::NumberField<int16_t>(f[9]);
        if (!upkeep || !recharge) {
            why = QStringLiteral("upkeep or recharge beyond 16 bits");
            return false;
        }
        if (!adrenaline || !energy) {
            why = QStringLiteral("adrenaline or energy outside 0..255");
            return false;
        }
    }

    const int n = *number;
    if (n > elite.highest())
        elite.EliteSkills.resize(static_cast<size_t>(n) + 1);
    EliteSkill& s = elite.EliteSkills[static_cast<size_t>(n)];
    s.Profession = *profession;
    s.Name = records::TrimBlanks(f[2]).toString();
    s.Defined = !s.Name.isEmpty();
    if (full) {
        s.Attribute = pool.get(f[3]);
        s.SkillType = pool.get(f[4]);
        s.Upkeep = *upkeep;
        s.Adrenaline = *adrenaline;
        s.Energy = *energy;
        s.CastTime = pool.get(f[8]);
        s.Recharge = *recharge;
        s.Description = f[10].toString();
        s.Picture = PicturePath(pictureFolder, n);
        pictures.add(n, pictureFolder, s.Picture);
    } else {
        s.Picture.clear();
    }
    s.Campaign = static_cast<uint8_t>(campaign);
    return true;
}

// LinkGreensToBoss with `items` as working storage reused from boss to boss.
std::vector<int32_t> BossGreens(int e, int i, QStringView boss, modGreens::Tables& greens,
                                const modGreens::BossIndex& index, std::vector<int32_t>& items)
{
    index.find(records::TrimBlanks(boss), items);
    std::vector<int32_t> result;
    result.reserve(1 + items.size());
    result.push_back(0);
    result.insert(result.end(), items.begin(), items.end());
    for (int32_t g : items) {
        modGreens::GreenItem& item = greens.Greens[static_cast<size_t>(g)];
        item.EliteNumber = e;
        item.LocationIndex = i;
    }
    return result;
}

} // namespace

QString ElitePicturePath(int eliteNumber, int campaign, const CampaignTable& campaigns)
{
    return modCampaigns::CampaignFolder(campaign, campaigns) + kPictureFolder + records::PadNumber(eliteNumber, 4) +
           kPictureExtension;
}

// Below this many pictures a second thread costs more than it saves.
constexpr size_t kPicturesWorthAThread = 64;

PictureChecks::PictureChecks(Helpers helpers) : m_helpers(helpers)
{}

PictureChecks::~PictureChecks()
{
    if (m_worker.valid())
        m_worker.wait();
}

void PictureChecks::add(int number, const QString& folder, const QString& path)
{
    m_items.push_back(Item{number, folder, path});
}

void PictureChecks::start()
{
    m_present.assign(m_items.size(), 0);
    m_next = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
    }
    m_started.notify_all();
    if (m_helpers != Helpers::OwnThread || m_items.size() < kPicturesWorthAThread)
        return;
    try {
        m_worker = std::async(std::launch::async, [this] { work(); });
    } catch (const std::system_error&) {
        // No thread to be had: finish() checks everything.
    }
}

void PictureChecks::help()
{
    {
        std::unique_lock lock(m_mutex);
        m_started.wait(lock, [this] { return m_open; });
    }
    work();
}

void PictureChecks::abandon()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_open)
            return;
        // Nothing for help() to take.
        m_present.assign(m_items.size(), 0);
        m_next = m_items.size();
        m_open = true;
    }
    m_started.notify_all();
}

void PictureChecks::work()
{
    // Every thread takes the next unchecked item until none is left.
    records::FileLengths length;
    for (size_t i; (i = m_next.fetch_add(1, std::memory_order_relaxed)) < m_items.size();) {
        const Item& item = m_items[i];
        const QStringView name = QStringView(item.path).sliced(item.folder.size()); // the path starts with the folder
        m_present[i] = length(item.folder, name) >= 1;
    }
}

void PictureChecks::finish(Tables& elite)
{
    if (m_present.size() != m_items.size()) {
        m_present.assign(m_items.size(), 0);
        m_next = 0;
    }
    work();
    if (m_worker.valid())
        m_worker.get();
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (m_present[i] || item.number < 0 || item.number > elite.highest())
            continue;
        QString& picture = elite.EliteSkills[static_cast<size_t>(item.number)].Picture;
        // A later line that defined the skill again decided for itself.
        if (picture == item.path)
            picture.clear();
    }
    m_items.clear();
    m_present.clear();
}

void LoadEliteList(const LoadContext& ctx, const CampaignTable& campaigns, const modCharacters::Tables& characters,
                   Tables& elite)
{
    PictureChecks pictures;
    LoadEliteList(ctx, campaigns, characters, elite, pictures);
    pictures.finish(elite);
}

void LoadEliteList(const LoadContext& ctx, const CampaignTable& campaigns, const modCharacters::Tables& characters,
                   Tables& elite, PictureChecks& pictures)
{
    elite = Tables{};
    records::Fields fields;
    records::TextPool pool;
    QString why;
    size_t pictureCampaign = campaigns.size();
    QString pictureFolder;
    records::ForEachCampaignLine(
        ctx, campaigns, kEliteListFile, [&](size_t c, const QString& rel, QStringView line, int lineNo) {
            if (IsComment(line))
                return;
            if (c != pictureCampaign) {
                pictureCampaign = c;
                pictureFolder = ctx.path(modCampaigns::CampaignFolder(static_cast<int>(c), campaigns) + kPictureFolder);
            }
            if (!ReadEliteLine(line, fields, static_cast<int>(c), pictureFolder, pool, pictures, elite, why))
                ctx.warn(rel, lineNo, why);
        });
    const size_t flags = static_cast<size_t>(std::max(characters.highest(), 0)) + 1;
    for (EliteSkill& s : elite.EliteSkills) {
        s.Captured.assign(flags, false);
        // Every record was built afresh above, with its placeholder location.
        if (s.Locations.size() != 1)
            s.Locations.assign(1, EliteLocation{});
    }
    pictures.start();
}

std::vector<int32_t> LinkGreensToBoss(int e, int i, QStringView boss, modGreens::Tables& greens,
                                      const modGreens::BossIndex& index)
{
    std::vector<int32_t> items;
    return BossGreens(e, i, boss, greens, index, items);
}

std::vector<int32_t> LinkGreensToBoss(int e, int i, QStringView boss, modGreens::Tables& greens)
{
    return LinkGreensToBoss(e, i, boss, greens, modGreens::BossIndex(greens));
}

void LoadEliteLocations(const LoadContext& ctx, const CampaignTable& campaigns, modGreens::Tables& greens,
                        Tables& elite)
{
    const modGreens::BossIndex index(greens);
    records::Fields f;
    records::TextPool markers;
    std::vector<int32_t> bossItems;
    size_t formatCampaign = campaigns.size();
    QString formatVersion;
    records::ForEachCampaignLine(
        ctx, campaigns, kLocationsFile, [&](size_t c, const QString& rel, QStringView line, int lineNo) {
            if (c != formatCampaign) {
                formatCampaign = c;
                formatVersion = kFirstFormatVersion;
            }
            if (IsComment(line)) {
                // ";[Version]x.y": the last three characters name the format
                // of the lines that follow.
                if (line.sliced(1).startsWith(u"[Version]"))
                    formatVersion = line.right(3).toString();
                return;
            }
            records::SplitFields(line, f);
            if (f.size() < kLocationFields) {
                ctx.warn(rel, lineNo, QStringLiteral("fewer than 7 fields"));
                return;
            }
            const auto number = records::NumberField<int32_t>(f[0]);
            if (!number || *number < 0 || *number > elite.highest()) {
                ctx.warn(rel, lineNo, QStringLiteral("no elite skill with this number"));
                return;
            }
            const auto region = records::StrictField<uint8_t>(f[1]);
            if (!region) {
                ctx.warn(rel, lineNo, QStringLiteral("region is not a whole number 0..255"));
                return;
            }
            auto x = records::CoordinateField(f[2]);
            auto y = records::CoordinateField(f[3]);
            const auto zone = records::NumberField<int32_t>(f[6]);
            if (!x || !y || !zone) {
                ctx.warn(rel, lineNo, QStringLiteral("coordinate or zone out of range"));
                return;
            }
            if (formatVersion == kFirstFormatVersion) {
                *x /= kFirstFormatUnitsPerPixel; // truncates toward zero
                *y /= kFirstFormatUnitsPerPixel;
            }

            EliteSkill& skill = elite.EliteSkills[static_cast<size_t>(*number)];
            const int locationIndex = static_cast<int>(skill.Locations.size());
            // Built whole, so that the green list is allocated once.
            EliteLocation loc{.Campaign = static_cast<uint8_t>(c),
                              .Region = *region,
                              .Zone = *zone,
                              .Boss = f[4].toString(),
                              .Note = f.size() == kLocationFieldsWithNote ? records::BackslashNToLineBreaks(f[7])
                                                                          : QString(),
                              .MarkerType = markers.get(f[5]),
                              .Greens = {}};
            records::SetMarker(loc, *x, *y, kMarkerHalf);
            const bool timed =
                QStringView(loc.Note).left(kOnlyDuring.size()).compare(kOnlyDuring, Qt::CaseInsensitive) == 0 ||
                loc.MarkerType == kTimedMarker;
            if (!timed || loc.Boss == kAlwaysLinkedBoss)
                loc.Greens = BossGreens(*number, locationIndex, loc.Boss, greens, index, bossItems);
            else
                loc.Greens.push_back(0);
            skill.Locations.push_back(std::move(loc));
        });
}

} // namespace modElite
