#include "layers/modTreasures.h"

#include "elite/modCharacters.h"

namespace modTreasures {

void LoadTreasures(const LoadContext&, const modCharacters::Tables&, Tables& treasures) { treasures = Tables{}; }
void LoadOpenedTreasures(const LoadContext&, const modCharacters::Tables&, Tables&) {}
bool SaveOpenedTreasures(const QString&, int, const Tables&, QString*) { return false; }
std::optional<QDate> ParseOpenedDate(QStringView) { return std::nullopt; }
QString FormatOpenedDate(const QDate& date) { return date.toString(QStringLiteral("ddMMyyyy")); }

} // namespace modTreasures
