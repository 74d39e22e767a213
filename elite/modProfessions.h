// Professions: display name, abbreviation, marker colour and attribute list,
// indexed by profession number, from every campaign's "Professions.txt".
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace modProfessions {

struct Profession {
    QString Name;
    QString Abbreviation;
    uint32_t Colour = 0;                // red in the low byte, then green, then blue
    std::vector<QString> Attributes{1}; // entry 0 empty, 1..m used
};

// Entry 0: "No profession", "#", grey 170/170/170.
Profession NoProfession();

struct Tables {
    std::vector<Profession> Professions{NoProfession()}; // index = profession number
    int highest() const { return static_cast<int>(Professions.size()) - 1; }
};

// Profession numbers are bytes in the catalogue; larger ones are refused.
constexpr int kMaxProfessionNumber = 255;

void LoadProfessions(const LoadContext& ctx, const CampaignTable& campaigns, Tables& professions);

} // namespace modProfessions
