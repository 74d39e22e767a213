#include "elite/modCharacters.h"

#include "elite/modElite.h"

namespace modCharacters {

QString CharacterFile(int character, const QString& fileName)
{
    return QStringLiteral("Personal/Char") + records::PadNumber(character, 2) + fileName;
}

void LoadCharacters(const LoadContext&, Tables& characters) { characters = Tables{}; }
bool SaveCharacters(const QString&, const Tables&, QString*) { return false; }
void LoadCapturedElites(const LoadContext&, const Tables&, modElite::Tables&) {}
bool SaveCapturedElites(const QString&, int, const modElite::Tables&, QString*) { return false; }

} // namespace modCharacters
