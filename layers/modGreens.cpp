#include "layers/modGreens.h"

namespace modGreens {

void LoadGreens(const LoadContext&, const CampaignTable&, Tables& greens) { greens = Tables{}; }
BossIndex::BossIndex(const Tables&) {}
const std::vector<int32_t>* BossIndex::find(const QString&) const { return nullptr; }
void EnsureEmptyLists(Tables&) {}

} // namespace modGreens
