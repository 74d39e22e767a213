// The demo world's files: every record file of the program folder and the
// region maps as JPEG pictures.
#include "tools/demoworld/Generator.h"
#include "tools/demoworld/Pictures.h"
#include "tools/demoworld/Terrain.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace demoworld::gen {

void Generator::write(Output& out)
{
    const QString tab(u'\t');
    for (const Campaign& c : m_campaigns) {
        const QString dir = c.folder() + u'/';
        if (!c.regions.empty()) {
            QStringList regions;
            for (const Region& r : c.regions)
                regions << r.written + tab + r.name;
            out.text(dir + QStringLiteral("Regions.txt"), regions);

            QStringList zones{QStringLiteral(";Id\tRegion\tKind\tIcon\tX\tY\tName")};
            for (const Region& r : c.regions)
                for (const Zone& z : r.zones)
                    zones << QStringList{QString::number(z.id),
                                         QString::number(r.number),
                                         QString::number(z.kind),
                                         QString::number(z.iconFlag),
                                         QString::number(z.pos.x()),
                                         QString::number(z.pos.y()),
                                         z.name}
                                 .join(tab);
            out.text(dir + QStringLiteral("Zones.txt"), zones);
        }

        // Professions: most in the core campaign, the last two arrive with
        // the second campaign.
        QStringList professions;
        for (const Profession& p : Professions()) {
            if (p.fileCampaign != c.number)
                continue;
            QStringList f{QString::number(p.number), QLatin1String(p.name), QString::number(ColourNumber(p.colour)),
                          QLatin1String(p.abbreviation)};
            for (const char* a : p.attributes)
                f << QLatin1String(a);
            professions << f.join(tab);
        }
        if (!professions.isEmpty())
            out.text(dir + QStringLiteral("Professions.txt"), professions);

        // Elite skills of this campaign, with their pictures.
        QStringList elites{QStringLiteral(
            ";Number\tProfession\tName\tAttribute\tType\tUpkeep\tAdrenaline\tEnergy\tCast\tRecharge\tDescription")};
        for (const Skill& s : m_skills) {
            if (s.campaign != c.number)
                continue;
            if (s.shortRecord) {
                elites << QString::number(s.number) + tab + QString::number(s.profession) + tab + s.name;
                continue;
            }
            elites << QStringList{QString::number(s.number),
                                  QString::number(s.profession),
                                  s.name,
                                  s.attribute,
                                  s.type,
                                  QString::number(s.upkeep),
                                  QString::number(s.adrenaline),
                                  QString::number(s.energy),
                                  s.cast,
                                  QString::number(s.recharge),
                                  s.description}
                          .join(tab);
            out.bytes(
                dir + QStringLiteral("imgElite/") + records::PadNumber(s.number, 4) + QStringLiteral(".jpg"),
                JpegBytes(SkillIcon(ProfessionColour(s.profession), Random::derive(m_opt.seed, 400, s.number)), 90));
        }
        if (elites.size() > 1)
            out.text(dir + QStringLiteral("EliteList.txt"), elites);

        // Boss places. The first campaign keeps the old format (coordinates
        // in fifteenths of a pixel, no version line); the second starts old
        // and switches half way; the others are current.
        std::vector<const Place*> places;
        for (const Place& p : m_places)
            if (p.region->campaign == c.number)
                places.push_back(&p);
        if (!places.empty()) {
            QStringList lines{QStringLiteral("; Elite bosses of ") + c.name};
            bool fifteenths = c.number == 1 || c.number == 2;
            if (c.number == 2)
                lines << QStringLiteral(";[Version]1.0");
            else if (c.number != 1)
                lines << QStringLiteral(";[Version]2.0");
            for (size_t i = 0; i < places.size(); ++i) {
                if (c.number == 2 && i == places.size() / 2) {
                    lines << QStringLiteral(";[Version]2.0");
                    fifteenths = false;
                }
                const Place& p = *places[i];
                const int x = fifteenths ? p.pos.x() * 15 + m_rng.below(15) : p.pos.x();
                const int y = fifteenths ? p.pos.y() * 15 + m_rng.below(15) : p.pos.y();
                QStringList f{QString::number(p.elite),
                              QString::number(p.region->number),
                              QString::number(x),
                              QString::number(y),
                              p.boss,
                              p.marker,
                              QString::number(p.zone)};
                if (!p.note.isEmpty())
                    f << p.note;
                lines << f.join(tab);
            }
            out.text(dir + QStringLiteral("EliteLocations.txt"), lines);
        }

        if (!m_greens[size_t(c.number)].empty()) {
            QStringList lines{QStringLiteral("; Green items of ") + c.name +
                              QStringLiteral(": name, boss, properties")};
            for (const Green& g : m_greens[size_t(c.number)])
                lines << QStringList{g.name, g.boss}.join(tab) + tab + g.stats.join(tab);
            out.text(dir + QStringLiteral("Greens.txt"), lines);
        }

        // Collectors: blocks of header, location, request and rewards,
        // separated by one empty line.
        QStringList blocks, locations;
        bool blankInside = false;
        for (const Collector& col : m_collectors) {
            if (col.region->campaign != c.number)
                continue;
            if (!blocks.isEmpty())
                blocks << QString();
            else
                blocks << QStringLiteral("; Collectors of ") + c.name;
            QStringList header{QString::number(col.id), col.name,
                               col.armour ? QStringLiteral("1") : QStringLiteral("0")};
            if (col.headerFields >= 4)
                header << QString::number(col.headerFields == 5 ? 1 : col.lowLevel);
            if (col.headerFields == 5)
                header << QStringLiteral("spare");
            blocks << header.join(tab) << col.location << col.request;
            for (size_t k = 0; k < col.rewards.size(); ++k) {
                const Reward& rw = col.rewards[k];
                // A line of blanks inside a block does not end it.
                if (!blankInside && k == 1) {
                    blocks << QStringLiteral("   ");
                    blankInside = true;
                }
                blocks << rw.name + tab + QString::number(rw.mask) + tab + rw.stats.join(tab);
            }
            locations << QStringList{QString::number(col.id), QString::number(col.region->number),
                                     QString::number(col.pos.x()), QString::number(col.pos.y()),
                                     QString::number(col.zone)}
                             .join(tab);
        }
        if (!blocks.isEmpty()) {
            out.text(dir + QStringLiteral("Collectors.txt"), blocks);
            out.text(dir + QStringLiteral("CollectorsLocations.txt"), locations);
        }

        if (c.number == 3 && !m_treasures.empty()) {
            QStringList lines{QStringLiteral("; Treasure chests of Emberwake: name, x, y, region, zone")};
            for (const Treasure& t : m_treasures)
                lines << QStringList{t.name, QString::number(t.pos.x()), QString::number(t.pos.y()),
                                     QString::number(t.region->number), QString::number(t.zone)}
                             .join(tab);
            out.text(dir + QStringLiteral("Treasures.txt"), lines);
        }

        if (c.number == 0) {
            QStringList lines{QStringLiteral("; Pets: number, name, detail")};
            for (const Pet& p : m_pets) {
                lines << QStringList{p.written, p.name, p.detail}.join(tab);
                out.bytes(dir + QStringLiteral("imgPets/") + p.written + QStringLiteral(".jpg"),
                          JpegBytes(PetPortrait(Random::derive(m_opt.seed, 500, p.id)), 88));
            }
            out.text(dir + QStringLiteral("PetsList.txt"), lines);
        }

        QStringList petLines;
        for (const PetPlace& pp : m_petPlaces) {
            if (pp.region->campaign != c.number)
                continue;
            if (petLines.isEmpty())
                petLines << QStringLiteral("; Pet places: pet, region, zone, x, y, note");
            QStringList f{QString::number(pp.pet), QString::number(pp.region->number), QString::number(pp.zone),
                          QString::number(pp.pos.x()), QString::number(pp.pos.y())};
            if (!pp.note.isEmpty())
                f << pp.note;
            petLines << f.join(tab);
        }
        if (!petLines.isEmpty())
            out.text(dir + QStringLiteral("PetsLocations.txt"), petLines);
    }
}

void Generator::writeMaps(Output& out)
{
    std::vector<Region*> regions = allRegions();
    std::vector<QByteArray> jpegs(regions.size());
    const bool thumbs = !m_opt.contactSheet.isEmpty();
    ForEachParallel(regions.size(), m_opt.threads, [&](size_t i) {
        Region& r = *regions[i];
        std::unique_ptr<Terrain> terrain = std::move(r.terrain);
        if (!terrain)
            terrain = std::make_unique<Terrain>(r.seed, r.width, r.height, CampaignPalette(r.campaign));
        // Roads join each settlement to its nearest neighbour.
        std::vector<Road> roads;
        std::set<std::pair<int, int>> joined;
        for (size_t a = 0; a < r.zones.size(); ++a) {
            if (r.zones[a].kind < 2 || r.zones[a].kind > 4)
                continue;
            int best = -1;
            qint64 bestD = 0;
            for (size_t b = 0; b < r.zones.size(); ++b) {
                if (a == b || r.zones[b].kind == 6)
                    continue;
                const QPoint d = r.zones[b].pos - r.zones[a].pos;
                const qint64 dd = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
                if (best < 0 || dd < bestD) {
                    best = int(b);
                    bestD = dd;
                }
            }
            if (best >= 0 && joined.insert({std::min(int(a), best), std::max(int(a), best)}).second)
                roads.push_back({r.zones[a].pos, r.zones[size_t(best)].pos});
        }
        const QImage map = terrain->render(roads);
        terrain.reset();
        jpegs[i] = JpegBytes(map, 85);
        if (thumbs)
            r.thumbnail = map.scaledToWidth(420, Qt::SmoothTransformation);
    });
    for (size_t i = 0; i < regions.size(); ++i) {
        const Region& r = *regions[i];
        out.bytes(m_campaigns[size_t(r.campaign)].folder() + u'/' + r.written + QStringLiteral(".jpg"), jpegs[i]);
    }
}

} // namespace demoworld::gen
