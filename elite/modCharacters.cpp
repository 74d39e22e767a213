#include "elite/modCharacters.h"

#include "core/RecordFields.h"
#include "elite/modElite.h"

#include <QStringList>

namespace modCharacters {

namespace {

bool ValidCharacter(int character)
{
    return character >= 1 && character <= kMaxCharacterNumber;
}

} // namespace

QString CharacterFile(int character, const QString& fileName)
{
    return QStringLiteral("Personal/Char") + records::PadNumber(character, 2) + fileName;
}

void LoadCharacters(const LoadContext& ctx, Tables& characters)
{
    characters = Tables{};
    const QString rel = QString::fromLatin1(kCharactersFile);
    records::Fields f;
    ctx.forEachLine(rel, [&](QStringView line, int lineNo) {
        records::SplitFields(line, f);
        if (f.size() < 2) {
            ctx.warn(rel, lineNo, QStringLiteral("no name field (kept as it is)"));
            characters.Unread << line.toString();
            return;
        }
        const auto number = records::NumberField<int32_t>(f[0]);
        if (!number || !ValidCharacter(*number)) {
            ctx.warn(rel, lineNo,
                     QStringLiteral("character number outside 1..%1 (kept as it is)").arg(kMaxCharacterNumber));
            characters.Unread << line.toString();
            return;
        }
        if (*number > characters.highest())
            characters.Characters.resize(static_cast<size_t>(*number) + 1);
        characters.Characters[static_cast<size_t>(*number)] = f[1].toString();
    });
}

bool SaveCharacters(const QString& appFolder, const Tables& characters, QString* error)
{
    QStringList lines = characters.Unread;
    for (int c = 1; c <= characters.highest(); ++c) {
        const QString& name = characters.Characters[static_cast<size_t>(c)];
        if (name.isEmpty())
            continue;
        if (!ValidCharacter(c)) {
            if (error)
                *error = QStringLiteral("character number %1 is above %2").arg(c).arg(kMaxCharacterNumber);
            return false;
        }
        // A carriage return alone reads back as it stands (only CR LF ends a
        // line), and the loader can give one: refusing it would keep every
        // character from being saved again.
        if (name.contains(u'\t') || name.contains(u'\n')) {
            if (error)
                *error = QStringLiteral("the name of character %1 holds a tab or a line break").arg(c);
            return false;
        }
        lines << records::PadNumber(c, 2) + u'\t' + name;
    }
    if (!EnsurePersonalFolder(appFolder, error))
        return false;
    return records::WriteRecordFile(appFolder + QString::fromLatin1(kCharactersFile), lines, error);
}

void LoadCapturedElites(const LoadContext& ctx, const Tables& characters, modElite::Tables& elite)
{
    const QString fileName = QString::fromLatin1(kCapEliteFile);
    elite.UnreadCaptures.clear();
    for (int c = 1; c <= characters.highest(); ++c) {
        const QString rel = CharacterFile(c, fileName);
        ctx.forEachLine(rel, [&](QStringView line, int lineNo) {
            // A blank line would read as elite 0, the bosses without a skill.
            if (records::IsBlankText(line))
                return;
            const auto number = records::NumberField<int32_t>(line);
            if (!number || *number < 0 || *number > elite.highest()) {
                ctx.warn(rel, lineNo, QStringLiteral("no elite skill with this number (kept as it is)"));
                elite.UnreadCaptures[c] << line.toString();
                return;
            }
            std::vector<bool>& captured = elite.EliteSkills[static_cast<size_t>(*number)].Captured;
            if (captured.size() <= static_cast<size_t>(c))
                captured.resize(static_cast<size_t>(c) + 1, false);
            captured[static_cast<size_t>(c)] = true;
        });
    }
}

bool SaveCapturedElites(const QString& appFolder, int character, const modElite::Tables& elite, QString* error)
{
    if (!ValidCharacter(character)) {
        if (error)
            *error = QStringLiteral("character number %1 outside 1..%2").arg(character).arg(kMaxCharacterNumber);
        return false;
    }
    const auto c = static_cast<size_t>(character);
    const auto unread = elite.UnreadCaptures.find(character);
    QStringList lines = unread != elite.UnreadCaptures.end() ? unread->second : QStringList();
    for (int n = 0; n <= elite.highest(); ++n) {
        const std::vector<bool>& captured = elite.EliteSkills[static_cast<size_t>(n)].Captured;
        if (c < captured.size() && captured[c])
            lines << records::PadNumberWhole(n, 4);
    }
    if (!EnsurePersonalFolder(appFolder, error))
        return false;
    return records::WriteRecordFile(appFolder + CharacterFile(character, QString::fromLatin1(kCapEliteFile)), lines,
                                    error);
}

bool SaveCapture(const QString& appFolder, modElite::Tables& elite, int eliteNumber, int c, bool captured,
                 QString* error)
{
    if (eliteNumber < 0 || eliteNumber > elite.highest() || !ValidCharacter(c)) {
        if (error)
            *error = QStringLiteral("skill %1 or character %2 does not exist").arg(eliteNumber).arg(c);
        return false;
    }
    auto& flags = elite.EliteSkills[static_cast<size_t>(eliteNumber)].Captured;
    const auto k = static_cast<size_t>(c);
    const size_t oldSize = flags.size();
    const bool old = k < oldSize && flags[k];
    if (flags.size() <= k)
        flags.resize(k + 1, false);
    flags[k] = captured;
    if (SaveCapturedElites(appFolder, c, elite, error))
        return true;
    if (k < oldSize)
        flags[k] = old;
    else
        flags.resize(oldSize);
    return false;
}

} // namespace modCharacters
