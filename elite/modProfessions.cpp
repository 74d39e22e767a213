#include "elite/modProfessions.h"

namespace modProfessions {

Profession NoProfession()
{
    Profession p;
    p.Name = QStringLiteral("No profession");
    p.Abbreviation = QStringLiteral("#");
    p.Colour = 170u | (170u << 8) | (170u << 16);
    return p;
}

void LoadProfessions(const LoadContext&, const CampaignTable&, Tables& professions)
{
    professions = Tables{};
}

} // namespace modProfessions
