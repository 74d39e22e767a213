#include "elite/modProfessions.h"

#include "core/RecordFields.h"

namespace modProfessions {

namespace {
const QString kProfessionsFile = QStringLiteral("Professions.txt");
constexpr qsizetype kMinFields = 4; // number, name, colour, abbreviation
constexpr qsizetype kFirstAttributeField = 4;
} // namespace

Profession NoProfession()
{
    Profession p;
    p.Name = QStringLiteral("No profession");
    p.Abbreviation = QStringLiteral("#");
    p.Colour = 170u | (170u << 8) | (170u << 16);
    return p;
}

void LoadProfessions(const LoadContext& ctx, const CampaignTable& campaigns, Tables& professions)
{
    professions = Tables{};
    records::Fields f;
    records::ForEachCampaignLine(ctx, campaigns, kProfessionsFile,
                                 [&](size_t, const QString& rel, QStringView line, int lineNo) {
                                     records::SplitFields(line, f);
                                     if (f.size() < kMinFields) {
                                         ctx.warn(rel, lineNo, QStringLiteral("fewer than 4 fields"));
                                         return;
                                     }
                                     const auto number = records::NumberField<int32_t>(f[0]);
                                     if (!number || *number < 0 || *number > kMaxProfessionNumber) {
                                         ctx.warn(rel, lineNo, QStringLiteral("profession number outside 0..255"));
                                         return;
                                     }
                                     // A signed 32-bit colour (-1 is white with every bit set) or its
                                     // unsigned writing.
                                     const auto colour = records::StrictField<int64_t>(f[2]);
                                     if (!colour || *colour < INT32_MIN || *colour > UINT32_MAX) {
                                         ctx.warn(rel, lineNo, QStringLiteral("colour is not a whole number"));
                                         return;
                                     }
                                     if (*number > professions.highest())
                                         professions.Professions.resize(static_cast<size_t>(*number) + 1);
                                     Profession& p = professions.Professions[static_cast<size_t>(*number)];
                                     p.Name = f[1].toString();
                                     p.Colour = static_cast<uint32_t>(*colour);
                                     p.Abbreviation = f[3].toString();
                                     p.Attributes.assign(1, QString());
                                     for (qsizetype k = kFirstAttributeField; k < f.size(); ++k)
                                         p.Attributes.push_back(f[k].toString());
                                 });
}

} // namespace modProfessions
