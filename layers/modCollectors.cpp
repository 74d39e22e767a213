#include "layers/modCollectors.h"

namespace modCollectors {

void LoadCollectors(const LoadContext&, const CampaignTable&, Tables& collectors) { collectors = Tables{}; }
void LoadCollectorLocations(const LoadContext&, const CampaignTable&, Tables&) {}
QStringView TrophyName(QStringView request)
{
    const qsizetype blank = request.indexOf(u' ');
    return blank < 0 ? request : request.sliced(blank + 1);
}
void EnsureEmptyLists(Tables&) {}

} // namespace modCollectors
