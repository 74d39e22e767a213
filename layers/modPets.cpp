#include "layers/modPets.h"

#include "core/RecordFields.h"

namespace modPets {

namespace {
const QString kCatalogueFile = QStringLiteral("PetsList.txt");
const QString kPlacesFile = QStringLiteral("PetsLocations.txt");
constexpr int kCoreCampaign = 0;
constexpr qsizetype kMinCatalogueFields = 2; // identifier and name
constexpr qsizetype kDetailField = 2;
constexpr qsizetype kPlaceFields = 5;
constexpr qsizetype kPlaceFieldsWithNote = 6;
constexpr int32_t kMarkerHalf = 7;

bool SkippedLine(QStringView line)
{
    return line.isEmpty() || line.front() == u';';
}

// The identifier as written names the picture file; anything that could
// reach outside the picture folder does not.
bool SafePictureName(QStringView name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..";
}
} // namespace

void LoadPets(const LoadContext& ctx, const CampaignTable& campaigns, Tables& pets)
{
    pets = Tables{};
    if (campaigns.empty() || campaigns[kCoreCampaign].Name.isEmpty())
        return;
    const QString folder = modCampaigns::CampaignFolder(kCoreCampaign, campaigns);
    const QString rel = folder + kCatalogueFile;
    const QString pictureFolder = ctx.path(folder + QStringLiteral("imgPets/"));
    records::Fields f;
    ctx.forEachLine(rel, [&](QStringView line, int lineNo) {
        if (SkippedLine(line))
            return;
        records::SplitFields(line, f);
        if (f.size() < kMinCatalogueFields) {
            ctx.warn(rel, lineNo, QStringLiteral("no name field"));
            return;
        }
        const auto id = records::NumberField<int32_t>(f[0]);
        if (!id || *id < 1 || *id > kMaxPetId) {
            ctx.warn(rel, lineNo, QStringLiteral("pet identifier outside 1..%1").arg(kMaxPetId));
            return;
        }
        if (*id > pets.highest())
            pets.Pets.resize(static_cast<size_t>(*id) + 1);
        Pet& pet = pets.Pets[static_cast<size_t>(*id)];
        pet.Name = f[1].toString();
        pet.Detail = f.size() > kDetailField ? f[kDetailField].toString() : QString();
        if (SafePictureName(f[0])) {
            pet.Picture = pictureFolder + f[0].toString() + QStringLiteral(".jpg");
        } else {
            pet.Picture.clear();
            ctx.warn(rel, lineNo, QStringLiteral("identifier is no usable picture name"));
        }
        pet.Places.assign(1, PetPlace{});
    });
}

void LoadPetPlaces(const LoadContext& ctx, const CampaignTable& campaigns, Tables& pets)
{
    records::Fields f;
    records::ForEachCampaignLine(
        ctx, campaigns, kPlacesFile, [&](size_t c, const QString& rel, QStringView line, int lineNo) {
            if (SkippedLine(line))
                return;
            records::SplitFields(line, f);
            if (f.size() < kPlaceFields) {
                ctx.warn(rel, lineNo, QStringLiteral("fewer than 5 fields"));
                return;
            }
            const auto id = records::NumberField<int32_t>(f[0]);
            // Places of identifiers the catalogue leaves empty would list
            // nameless pets.
            if (!id || *id < 1 || *id > pets.highest() || pets.Pets[static_cast<size_t>(*id)].Name.isEmpty()) {
                ctx.warn(rel, lineNo, QStringLiteral("no pet with this identifier"));
                return;
            }
            const auto region = records::NumberField<uint8_t>(f[1]);
            const auto zone = records::NumberField<int32_t>(f[2]);
            const auto x = records::CoordinateField(f[3]);
            const auto y = records::CoordinateField(f[4]);
            if (!region || !zone || !x || !y) {
                ctx.warn(rel, lineNo, QStringLiteral("region, zone or coordinate out of range"));
                return;
            }
            PetPlace& place = pets.Pets[static_cast<size_t>(*id)].Places.emplace_back();
            place.Campaign = static_cast<uint8_t>(c);
            place.Region = *region;
            place.Zone = *zone;
            records::SetMarker(place, *x, *y, kMarkerHalf);
            if (f.size() == kPlaceFieldsWithNote)
                place.Note = records::BackslashNToLineBreaks(f[5]);
        });
}

} // namespace modPets
