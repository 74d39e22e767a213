// Pets: the catalogue ("PetsList.txt" of the core campaign 00, with one
// picture per pet in "imgPets/") and the places where each pet lives
// ("PetsLocations.txt" of every campaign).
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace modPets {

struct PetPlace {
    uint8_t Campaign = 0;
    uint8_t Region = 0;
    int32_t Zone = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    QString Note; // line breaks restored; may be empty
};

struct Pet {
    QString Name;
    QString Detail;
    QString Picture;                 // full path of the pet's picture
    std::vector<PetPlace> Places{1}; // entry 0 empty, 1..m
};

// Identifiers above this are refused (the table grows to the highest one).
constexpr int kMaxPetId = 99999;

struct Tables {
    std::vector<Pet> Pets{1}; // index = pet identifier, 0 unused
    int highest() const { return static_cast<int>(Pets.size()) - 1; }
};

void LoadPets(const LoadContext& ctx, const CampaignTable& campaigns, Tables& pets);
void LoadPetPlaces(const LoadContext& ctx, const CampaignTable& campaigns, Tables& pets);

} // namespace modPets
