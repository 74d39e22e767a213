#include "elite/modElite.h"

#include "elite/modCharacters.h"
#include "layers/modGreens.h"

namespace modElite {

void LoadEliteList(const LoadContext&, const CampaignTable&, const modCharacters::Tables&, Tables& elite)
{
    elite = Tables{};
}

void LoadEliteLocations(const LoadContext&, const CampaignTable&, modGreens::Tables&, Tables&) {}

std::vector<int32_t> LinkGreensToBoss(int, int, QStringView, modGreens::Tables&) { return {0}; }
std::vector<int32_t> LinkGreensToBoss(int, int, QStringView, modGreens::Tables&, const modGreens::BossIndex&)
{
    return {0};
}

QString ElitePicturePath(int, int, const CampaignTable&) { return {}; }

} // namespace modElite
