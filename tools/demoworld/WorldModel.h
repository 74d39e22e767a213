// The demo world in memory, shared by its generator, its file writer and its
// contact sheet: campaigns, regions and zones, and every thing placed on them.
#pragma once

#include "records/RecordFile.h"
#include "tools/demoworld/Terrain.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace demoworld::gen {

// ---- The world in memory --------------------------------------------------

struct Zone {
    int id = 0;
    int kind = 1;
    int iconFlag = 0;
    QPoint pos;
    QString name;
};

struct Dot {
    QPoint pos;
    QRgb colour;
};

struct Region {
    int campaign = 0;
    int number = 0;
    QString written; // the number as Regions.txt spells it (also the picture's name)
    QString name;
    int width = 0, height = 0;
    uint64_t seed = 0;
    std::vector<Zone> zones;
    std::vector<QPoint> spots; // free marker places on land, in random order
    size_t nextSlot = 0;
    std::vector<Dot> dots; // every marker, for the contact sheet
    QImage thumbnail;
    std::unique_ptr<Terrain> terrain; // kept from the survey to the drawing when memory allows

    size_t freeSlots() const { return spots.size() - nextSlot; }
    int nearestZone(QPoint p) const
    {
        int best = 0;
        qint64 bestD = -1;
        for (const Zone& z : zones) {
            const qint64 dx = z.pos.x() - p.x(), dy = z.pos.y() - p.y();
            const qint64 d = dx * dx + dy * dy;
            if (bestD < 0 || d < bestD) {
                bestD = d;
                best = z.id;
            }
        }
        return best;
    }
};

struct Campaign {
    int number = 0;
    QString name;
    std::vector<Region> regions;
    QString folder() const { return QStringLiteral("Campaign.") + records::PadNumber(number, 2) + u'.' + name; }
};

struct Profession {
    int number;
    const char* name;
    const char* abbreviation;
    QRgb colour;
    std::vector<const char*> attributes;
    int fileCampaign; // which campaign folder's Professions.txt defines it
};

const std::vector<Profession>& Professions();

QRgb ProfessionColour(int p);

// The number the files hold for a colour: red in the low byte.
qint64 ColourNumber(QRgb c);

struct Skill {
    int number = 0;
    int profession = 0;
    int campaign = 0;
    QString name, attribute, type, cast, description;
    int upkeep = 0, adrenaline = 0, energy = 0, recharge = 0;
    bool shortRecord = false;
};

struct Place {
    int elite = 0;
    Region* region = nullptr;
    QPoint pos;
    QString boss, marker, note;
    int zone = 0;
    bool linkable = true; // green items may name this boss
};

struct Green {
    QString name, boss;
    QStringList stats;
};

struct Reward {
    QString name;
    int mask = 0;
    QStringList stats;
};

struct Collector {
    int id = 0;
    QString name, location, request;
    bool armour = false;
    int lowLevel = 1;
    int headerFields = 4;
    std::vector<Reward> rewards;
    Region* region = nullptr;
    QPoint pos;
    int zone = 0;
};

struct Treasure {
    QString name;
    Region* region = nullptr;
    QPoint pos;
    int zone = 0;
};

struct Pet {
    int id = 0;
    QString written, name, detail;
};

struct PetPlace {
    int pet = 0;
    Region* region = nullptr;
    QPoint pos;
    int zone = 0;
    QString note;
};

constexpr QRgb kZoneDot = qRgb(255, 255, 255);
constexpr QRgb kCollectorDot = qRgb(40, 90, 255);
constexpr QRgb kGreenDot = qRgb(0, 255, 0);
constexpr QRgb kTreasureDot = qRgb(255, 150, 0);
constexpr QRgb kPetDot = qRgb(255, 0, 255);

// ---- Parallel work over regions ---------------------------------------------

// Runs work(i) for i in [0, count) on a few threads. Each call only touches
// its own region, so the result does not depend on the scheduling.
void ForEachParallel(size_t count, int threads, const std::function<void(size_t)>& work);

} // namespace demoworld::gen
