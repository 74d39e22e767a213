#include "elite/modCharacterDialogs.h"

#include "panel/modEliteTab.h"
#include "records/FileChangeHook.h"
#include "records/RecordFile.h"
#include "records/SafeRemove.h"

#include <QDir>
#include <QFileInfo>

namespace modCharacterDialogs {

namespace {

bool FitsWindows1252(const QString& text)
{
    return records::DecodeWindows1252(records::EncodeWindows1252(text)) == text;
}

bool HasControlCharacter(const QString& text)
{
    for (QChar ch : text)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7f)
            return true;
    return false;
}

// Character c's capture flag of every skill, to be put back after a failed write.
struct CaptureColumn {
    std::vector<bool> flags;
    std::vector<size_t> sizes;

    CaptureColumn(const modElite::Tables& elite, size_t c)
    {
        for (const auto& skill : elite.EliteSkills) {
            sizes.push_back(skill.Captured.size());
            flags.push_back(c < skill.Captured.size() && skill.Captured[c]);
        }
    }
    void restore(modElite::Tables& elite, size_t c) const
    {
        for (size_t n = 0; n < elite.EliteSkills.size(); ++n) {
            auto& captured = elite.EliteSkills[n].Captured;
            if (c < captured.size())
                captured[c] = flags[n];
            captured.resize(sizes[n]);
        }
    }
};

enum class Removal { Removed, Emptied, Left };

// Removes character c's file `name` (a file left behind would be read for the
// next character with this number); one that cannot be removed is emptied,
// which records nothing either. A link is removed itself, never the file it
// leads to.
Removal RemoveCharacterFile(const QString& appFolder, int c, const char* name, QString* error)
{
    const QString path = appFolder + modCharacters::CharacterFile(c, QString::fromLatin1(name));
    if (records::RemoveEntry(path))
        return Removal::Removed;
    QString writeError;
    if (records::WriteRecordFile(path, {}, &writeError)) {
        if (error)
            *error = QStringLiteral("%1 could not be removed; it was emptied").arg(path);
        return Removal::Emptied;
    }
    if (error)
        *error = QStringLiteral("%1 could not be removed (%2)").arg(path, writeError);
    return Removal::Left;
}

// Renames character c's file `name`, when there is one with something in it,
// to a dated name the program never reads ("Char02OpenedTreasures.txt" ->
// "Char02OpenedTreasures.set-aside-2026-12-07_054500.txt"): what a number
// held when no character of the list had it is kept beside the files even
// when the run's safety copy could not be made. A link to a regular file is
// renamed itself and still leads to the file. A file that cannot be renamed
// is left for the caller to replace.
void SetAsideCharacterFile(const QString& appFolder, int c, const char* name)
{
    const QString path = appFolder + modCharacters::CharacterFile(c, QString::fromLatin1(name));
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return;
    const QString stem = path.chopped(4) + QStringLiteral(".set-aside-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString target = stem + QStringLiteral(".txt");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + u'_' + QString::number(n) + QStringLiteral(".txt");
    if (QDir().rename(path, target))
        records::FileChanged(target);
}

// Forgets the chests character c opened, with the lines of its file that
// named no chest.
void ForgetOpenedChests(modTreasures::Tables& treasures, int c)
{
    const auto k = static_cast<size_t>(c);
    for (auto& treasure : treasures.Treasures)
        if (k < treasure.OpenedOn.size())
            treasure.OpenedOn[k].reset();
    treasures.UnreadOpened.erase(c);
}

} // namespace

std::optional<int> NewCharacterNumber(const modCharacters::Tables& characters)
{
    for (int c = 1; c <= characters.highest() && c <= modCharacters::kMaxCharacterNumber; ++c)
        if (characters.Characters[static_cast<size_t>(c)].isEmpty())
            return c;
    const int next = characters.highest() + 1;
    if (next > modCharacters::kMaxCharacterNumber)
        return std::nullopt;
    return next;
}

NameProblem CheckName(const modCharacters::Tables& characters, int current, const QString& name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    if (HasControlCharacter(name))
        return NameProblem::LineBreakOrTab;
    if (!FitsWindows1252(name))
        return NameProblem::NotWindows1252;
    for (int c = 1; c <= characters.highest(); ++c) {
        const QString& other = characters.Characters[static_cast<size_t>(c)];
        if (c != current && !other.isEmpty() && other.compare(name, Qt::CaseInsensitive) == 0)
            return NameProblem::Taken;
    }
    return NameProblem::None;
}

std::vector<PanelEntry> EditorEliteEntries(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           int campaign, int profession, const QString& filter)
{
    std::vector<PanelEntry> entries;
    for (int n = 1; n <= elite.highest(); ++n) {
        const auto& skill = elite.EliteSkills[static_cast<size_t>(n)];
        if (!skill.Defined)
            continue;
        if ((campaign != -1 && skill.Campaign != campaign) || (profession > 0 && skill.Profession != profession))
            continue;
        QString text = modEliteTab::EliteEntryText(skill, professions);
        if (text.contains(filter.trimmed(), Qt::CaseInsensitive))
            entries.push_back({std::move(text), n});
    }
    return entries;
}

void ApplySelection(std::vector<bool>& working, const std::vector<PanelEntry>& listed, Selection selection)
{
    for (const PanelEntry& e : listed) {
        if (e.data < 0)
            continue;
        const auto n = static_cast<size_t>(e.data);
        if (n >= working.size())
            working.resize(n + 1, false);
        switch (selection) {
        case Selection::SelectAll:
            working[n] = true;
            break;
        case Selection::DeselectAll:
            working[n] = false;
            break;
        case Selection::Invert:
            working[n] = !working[n];
            break;
        }
    }
}

std::vector<bool> WorkingFlags(const modElite::Tables& elite, int character)
{
    std::vector<bool> flags(elite.EliteSkills.size(), false);
    if (character < 1)
        return flags;
    const auto c = static_cast<size_t>(character);
    for (size_t n = 0; n < elite.EliteSkills.size(); ++n) {
        const auto& captured = elite.EliteSkills[n].Captured;
        flags[n] = c < captured.size() && captured[c];
    }
    return flags;
}

SaveResult SaveCharacter(const QString& appFolder, CharacterTables tables, int current, const QString& name,
                         const std::vector<bool>& working)
{
    SaveResult result;
    result.problem = CheckName(tables.characters, current, name);
    if (result.problem != NameProblem::None)
        return result;

    int number = current;
    if (number < 1 || number > tables.characters.highest()) {
        const auto free = NewCharacterNumber(tables.characters);
        if (!free) {
            result.full = true;
            return result;
        }
        number = *free;
    }
    // A new character starts clean: what its number still holds (files left
    // behind, read at start-up) belonged to no character of the list. Those
    // files are set aside; one that cannot be is dealt with as before: the
    // opened-chest file goes first (after the run's safety copy has kept
    // it), so that nothing is written while it is still there, and the
    // captured skills are replaced by the editor's.
    const bool created = number != current;
    if (created) {
        if (!modCharacters::EnsurePersonalFolder(appFolder, &result.error))
            return result;
        for (const char* file : {modCharacters::kCapEliteFile, modTreasures::kOpenedTreasuresFile})
            SetAsideCharacterFile(appFolder, number, file);
        if (RemoveCharacterFile(appFolder, number, modTreasures::kOpenedTreasuresFile, &result.error) == Removal::Left)
            return result;
        result.error.clear();
        ForgetOpenedChests(tables.treasures, number);
    }
    modCharacters::Tables characters = tables.characters;
    if (number > characters.highest())
        characters.Characters.resize(static_cast<size_t>(number) + 1);
    characters.Characters[static_cast<size_t>(number)] = name;

    // The character's captured skills are written before the list that names
    // it: a save stopped in between leaves the old list, which either does
    // not name the number yet (its file is set aside when the number is next
    // taken) or names the character with its old name.
    const QString capPath =
        appFolder + modCharacters::CharacterFile(number, QString::fromLatin1(modCharacters::kCapEliteFile));
    const bool hadCapFile = QFileInfo(capPath).isFile();
    const auto c = static_cast<size_t>(number);
    const size_t slotCount = static_cast<size_t>(characters.highest()) + 1;
    const CaptureColumn previous(tables.elite, c);
    std::optional<QStringList> formerUnread;
    if (const auto it = tables.elite.UnreadCaptures.find(number); created && it != tables.elite.UnreadCaptures.end()) {
        formerUnread = std::move(it->second);
        tables.elite.UnreadCaptures.erase(it);
    }
    for (size_t n = 0; n < tables.elite.EliteSkills.size(); ++n) {
        auto& captured = tables.elite.EliteSkills[n].Captured;
        if (captured.size() < slotCount)
            captured.resize(slotCount, false);
        captured[c] = n < working.size() && working[n];
    }
    const auto putBack = [&] {
        previous.restore(tables.elite, c);
        if (formerUnread)
            tables.elite.UnreadCaptures[number] = std::move(*formerUnread);
    };
    if (!modCharacters::SaveCapturedElites(appFolder, number, tables.elite, &result.error)) {
        putBack();
        return result;
    }
    if (!modCharacters::SaveCharacters(appFolder, characters, &result.error)) {
        // The captures file goes back to what it held: none for a number the
        // list does not name, the old captures for a character it names.
        putBack();
        QString rollbackError;
        const bool restored = created && !hadCapFile
                                  ? records::RemoveEntry(capPath, &rollbackError)
                                  : modCharacters::SaveCapturedElites(appFolder, number, tables.elite, &rollbackError);
        if (!restored)
            result.error +=
                QStringLiteral("; the captured skills could not be put back either (%1)").arg(rollbackError);
        return result;
    }

    tables.characters = std::move(characters);
    for (auto& treasure : tables.treasures.Treasures)
        if (treasure.OpenedOn.size() < slotCount)
            treasure.OpenedOn.resize(slotCount);
    result.number = number;
    return result;
}

DeleteResult DeleteCharacter(const QString& appFolder, CharacterTables tables, int c, QString* error)
{
    if (c < 1 || c > tables.characters.highest()) {
        if (error)
            *error = QStringLiteral("there is no character %1").arg(c);
        return DeleteResult::NothingChanged;
    }
    // The list entry goes first: a delete stopped after it leaves files that
    // no listed character reads, never a listed character without its files.
    modCharacters::Tables characters = tables.characters;
    characters.Characters[static_cast<size_t>(c)].clear();
    if (!modCharacters::SaveCharacters(appFolder, characters, error))
        return DeleteResult::NothingChanged;
    tables.characters = std::move(characters);

    const auto k = static_cast<size_t>(c);
    for (auto& skill : tables.elite.EliteSkills)
        if (k < skill.Captured.size())
            skill.Captured[k] = false;
    tables.elite.UnreadCaptures.erase(c);
    ForgetOpenedChests(tables.treasures, c);

    bool removed = true;
    for (const char* file : {modCharacters::kCapEliteFile, modTreasures::kOpenedTreasuresFile})
        removed = RemoveCharacterFile(appFolder, c, file, error) == Removal::Removed && removed;
    return removed ? DeleteResult::Deleted : DeleteResult::FilesLeft;
}

std::vector<PanelEntry> UncapturedCharacters(const modCharacters::Tables& characters, const modElite::Tables& elite,
                                             int eliteNumber)
{
    std::vector<PanelEntry> entries;
    if (eliteNumber < 0 || eliteNumber > elite.highest())
        return entries;
    const auto& captured = elite.EliteSkills[static_cast<size_t>(eliteNumber)].Captured;
    for (int c = 1; c <= characters.highest(); ++c) {
        const QString& name = characters.Characters[static_cast<size_t>(c)];
        const auto k = static_cast<size_t>(c);
        if (!name.isEmpty() && !(k < captured.size() && captured[k]))
            entries.push_back({name, c});
    }
    return entries;
}

bool MarkCaptured(const QString& appFolder, modElite::Tables& elite, int eliteNumber, int c, QString* error)
{
    return modCharacters::SaveCapture(appFolder, elite, eliteNumber, c, true, error);
}

} // namespace modCharacterDialogs
