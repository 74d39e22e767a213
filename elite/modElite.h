// The elite skill catalogue and the boss locations: one table indexed by elite
// number, filled from every campaign's "EliteList.txt" and
// "EliteLocations.txt". Record 0 always exists and holds the bosses that carry
// no elite skill.
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <map>
#include <mutex>
#include <vector>

namespace modCharacters {
struct Tables;
}
namespace modGreens {
struct Tables;
class BossIndex;
} // namespace modGreens

namespace modElite {

// One place where a boss stands. The rectangle X-6 .. X+6, Y-6 .. Y+6 (13 x 13
// pixels, edges included) around (X, Y) is both the drawn marker and the
// pointer's hit area.
struct EliteLocation {
    uint8_t Campaign = 0; // campaign whose folder held the line
    uint8_t Region = 0;
    int32_t Zone = 0; // 0 = none
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    QString Boss;
    QString Note;                   // line breaks restored (CR LF); may be empty
    QString MarkerType;             // short code printed inside the marker, e.g. "D"
    std::vector<int32_t> Greens{0}; // entry 0 placeholder, 1..k green numbers
};

struct EliteSkill {
    QString Name;         // trimmed
    bool Defined = false; // Name not empty
    QString Attribute;
    QString SkillType;
    int16_t Upkeep = 0;
    uint8_t Adrenaline = 0;
    uint8_t Energy = 0;
    QString CastTime; // text, may be a fraction "1/2"
    int16_t Recharge = 0;
    QString Description;
    QString Picture;                         // full path, empty when no picture file exists
    uint8_t Profession = 0;                  // index into the professions table; 0 = none
    uint8_t Campaign = 0;                    // campaign whose folder defined the skill
    std::vector<bool> Captured;              // by character number 0..highest
    std::vector<EliteLocation> Locations{1}; // entry 0 placeholder, 1..n
};

// Elite numbers above this are refused (the table grows to the highest number).
constexpr int kMaxEliteNumber = 99999;

struct Tables {
    std::vector<EliteSkill> EliteSkills{1}; // index = elite number, 0..highest
    // By character number: lines of its CapElite file naming no elite of the
    // catalogue, kept as they stood and written back on its next save (a
    // later catalogue may hold them). Deleting a character clears its entry.
    std::map<int, QStringList> UnreadCaptures;
    int highest() const { return static_cast<int>(EliteSkills.size()) - 1; }
};

// The picture look-ups of a catalogue load, one file-system look-up per
// skill with a full record. They cost more than reading the catalogue
// itself, so the start-up load lets another thread do them while the tables
// after the catalogue load, and collects the answers at its end.
class PictureChecks {
public:
    // Who shares the look-ups with the thread that calls finish(): a thread
    // of their own, started by start(), or threads that call help().
    enum class Helpers { OwnThread, Callers };

    explicit PictureChecks(Helpers helpers = Helpers::OwnThread);
    ~PictureChecks(); // waits for the own thread, if one was started
    PictureChecks(const PictureChecks&) = delete;
    PictureChecks& operator=(const PictureChecks&) = delete;

    // Elite `number` has the picture `path`, in `folder`, if that file has
    // at least 1 byte.
    void add(int number, const QString& folder, const QString& path);
    // The list is complete: the look-ups may begin.
    void start();
    // Waits until start() (or abandon()) and looks pictures up until none is
    // left to take.
    void help();
    // Lets help() return at once if start() has not come (the load failed
    // before the catalogue was read).
    void abandon();
    // Looks up what is left, waits for the own thread (every help() must
    // have returned), and clears the Picture of every skill whose picture
    // file is missing or empty. A skill defined again by a later line keeps
    // what that line gave it.
    void finish(Tables& elite);

private:
    void work();

    struct Item {
        int number;
        QString folder;
        QString path;
    };
    std::vector<Item> m_items;
    std::vector<char> m_present; // by item; each written by the thread that claimed it
    std::atomic<size_t> m_next{0};
    Helpers m_helpers;
    std::future<void> m_worker;
    std::mutex m_mutex;
    std::condition_variable m_started;
    bool m_open = false; // guarded by m_mutex
};

// Builds the catalogue from every campaign's "EliteList.txt" and sizes each
// skill's capture flags to the character numbers 0..highest. Discards all
// locations and capture flags.
void LoadEliteList(const LoadContext& ctx, const CampaignTable& campaigns, const modCharacters::Tables& characters,
                   Tables& elite);
// The same, but every picture path stays in its skill until
// `pictures.finish(elite)`, which the load has already started checking.
void LoadEliteList(const LoadContext& ctx, const CampaignTable& campaigns, const modCharacters::Tables& characters,
                   Tables& elite, PictureChecks& pictures);

// Appends the boss locations of every campaign's "EliteLocations.txt" to the
// catalogue and links each boss to the green items it drops (which receive
// the back-reference elite number / location index).
void LoadEliteLocations(const LoadContext& ctx, const CampaignTable& campaigns, modGreens::Tables& greens,
                        Tables& elite);

// Green numbers dropped by boss `boss` standing at location `i` of elite `e`
// (entry 0 placeholder first); every such green item is marked with e and i.
// The boss name matches without regard to letter case or surrounding blanks.
std::vector<int32_t> LinkGreensToBoss(int e, int i, QStringView boss, modGreens::Tables& greens);
// The same through a prebuilt index of the greens by boss name.
std::vector<int32_t> LinkGreensToBoss(int e, int i, QStringView boss, modGreens::Tables& greens,
                                      const modGreens::BossIndex& index);

// Relative path of a skill's picture: campaign folder + "imgElite/" + the
// last four digits of the elite number + ".jpg".
QString ElitePicturePath(int eliteNumber, int campaign, const CampaignTable& campaigns);

} // namespace modElite
