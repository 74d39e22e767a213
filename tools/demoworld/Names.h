// Names of the demo world: people, bosses, places, skills, items and
// creatures, built from syllables and word lists of our own. Every name is
// handed out once (the forge remembers what it gave).
#pragma once

#include "tools/demoworld/Random.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace demoworld {

class NameForge {
public:
    explicit NameForge(uint64_t seed) : m_rng(seed) {}

    QString person();                                        // "Vorak", "Istrael"
    QString boss();                                          // "Vorak the Hollow", "Istra Duskmantle"
    QString collector();                                     // "Old Hesta Brennick"
    QString zone(int kind);                                  // by zone kind 1..6, at most 22 characters
    QString region();                                        // "Morrow Vale"
    QString skill();                                         // "Ashen Vow", "Verse of Cinders"
    QString pet();                                           // "Mossback Tortoise"
    QString chest();                                         // "Gilded Strongbox"
    QString item(const QString& owner, const QString& noun); // "Vorak's Ember Cleaver"

    // Marks a name as taken (for fixed names placed by hand).
    void reserve(const QString& name) { m_used.insert(name.toLower()); }
    Random& rng() { return m_rng; }

private:
    QString syllables(int count);
    QString unique(const std::function<QString()>& make);

    Random m_rng;
    QSet<QString> m_used;
};

} // namespace demoworld
