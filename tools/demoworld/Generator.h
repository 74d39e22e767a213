// The generator of the demo world: plans campaigns and regions, places every
// thing on them, and writes the program folder's files, maps and contact sheet.
#pragma once

#include "tools/demoworld/DemoWorld.h"
#include "tools/demoworld/Names.h"
#include "tools/demoworld/Random.h"
#include "tools/demoworld/WorldModel.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace demoworld::gen {

// ---- Output ---------------------------------------------------------------

class Output {
public:
    explicit Output(QString root) : m_root(std::move(root)) {}

    void text(const QString& relative, const QStringList& lines)
    {
        if (!prepare(relative))
            return;
        QString why;
        if (!records::WriteRecordFile(m_root + relative, lines, &why))
            fail(relative, why);
        ++files;
    }
    void bytes(const QString& relative, const QByteArray& data)
    {
        if (!prepare(relative))
            return;
        QString why;
        if (!records::WriteFileAtomically(m_root + relative, data, &why))
            fail(relative, why);
        ++files;
    }
    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    int files = 0;

private:
    bool prepare(const QString& relative)
    {
        if (!ok())
            return false;
        const QString dir = QFileInfo(m_root + relative).path();
        if (!QDir().mkpath(dir)) {
            fail(relative, QStringLiteral("cannot create the folder"));
            return false;
        }
        return true;
    }
    void fail(const QString& relative, const QString& why)
    {
        if (m_error.isEmpty())
            m_error = relative + QStringLiteral(": ") + why;
    }
    QString m_root;
    QString m_error;
};

// ---- The generator ----------------------------------------------------------

class Generator {
public:
    Generator(const Options& o) : m_opt(o), m_rng(Random::derive(o.seed, 100)), m_names(Random::derive(o.seed, 200)) {}

    bool run(Summary* summary, QString* error);

private:
    void planCampaigns();
    void surveyRegion(Region& r) const;
    void nameZones();
    void makeSkills();
    void makePlaces();
    void makeGreens();
    void makeCollectors();
    void makeTreasures();
    void makePets();
    void write(Output& out);
    void writeMaps(Output& out);
    void writeContactSheet() const;

    std::pair<Region*, QPoint> takeSlot(int campaign, QRgb dot);
    Region* regionFor(int campaign);
    QString attributeStat(int profession, bool weapon);
    std::vector<Region*> allRegions();

    Options m_opt;
    Random m_rng;
    NameForge m_names;
    std::vector<Campaign> m_campaigns; // index = campaign number 0..4
    std::vector<Skill> m_skills;       // index = elite number - 1
    std::vector<Place> m_places;
    std::vector<std::vector<Green>> m_greens; // per campaign
    std::vector<Collector> m_collectors;
    std::vector<Treasure> m_treasures;
    std::vector<Pet> m_pets;
    std::vector<PetPlace> m_petPlaces;
    int m_sharedPlaces = 0;
};

} // namespace demoworld::gen
