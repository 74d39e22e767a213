#include "layers/modPets.h"

namespace modPets {

void LoadPets(const LoadContext&, const CampaignTable&, Tables& pets) { pets = Tables{}; }
void LoadPetPlaces(const LoadContext&, const CampaignTable&, Tables&) {}

} // namespace modPets
