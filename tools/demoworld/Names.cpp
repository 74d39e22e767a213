#include "tools/demoworld/Names.h"

#include <functional>

namespace demoworld {

namespace {

const char* const kOnsets[] = {"b", "br", "d", "dr", "f", "g",  "gr", "h",  "k", "kr", "l", "m", "n", "r",
                               "s", "st", "t", "th", "v", "vr", "z",  "sh", "c", "cr", "w", "j", "ph"};
const char* const kVowels[] = {"a", "e", "i", "o", "u", "ae", "ai", "ei", "ou", "ia", "a", "e", "o", "a", "i"};
const char* const kCodas[] = {"", "", "n", "r", "l", "s", "th", "k", "nd", "rn", "sk", "m", "x", "ld", "v", ""};

const char* const kEpithets[] = {
    "the Hollow",  "the Unbowed",     "Ashbinder",   "the Pale",         "Duskmantle",   "the Gaunt",
    "Thornwright", "the Restless",    "Saltbeard",   "the Drowned",      "Cindertongue", "the Weeping",
    "Ironvein",    "the Quiet",       "Gravecaller", "the Lantern-Eyed", "Rimeheart",    "the Patient",
    "Emberhand",   "the Tallow King", "Mirewalker",  "the Splintered",   "Glasswing",    "the Forsworn",
    "Hookjaw",     "the Last"};

const char* const kTitles[] = {"Old",    "Master", "Sister",  "Brother", "Warden", "Quartermaster",
                               "Mother", "Trader", "Captain", "Scout",   "Tinker", "Widow"};

const char* const kLandWords[] = {"Fields", "Moor",  "Wilds",   "Reach",  "Heath",     "Barrens", "Fen",
                                  "Woods",  "Downs", "Steppe",  "Marsh",  "Highlands", "Shore",   "Vale",
                                  "Hollow", "Flats", "Thicket", "Bluffs", "Glade",     "Expanse"};
const char* const kTownEnds[] = {"holm", "ford", "wick", "stead", "haven", "bury", "mere", "gate", "fall", "brook"};
const char* const kRegionWords[] = {"Vale",  "Marches", "Coast", "Reaches", "Lowlands", "Heights", "Wastes",
                                    "Isles", "Fells",   "Basin", "Weald",   "Expanse",  "Sound",   "Crags"};

const char* const kSkillAdjectives[] = {"Ashen",  "Bitter",  "Gleaming",  "Hollow",  "Iron",    "Lucid",   "Mirthless",
                                        "Quiet",  "Rending", "Sable",     "Thorned", "Vivid",   "Woven",   "Briar",
                                        "Gilded", "Pale",    "Sundered",  "Hungry",  "Patient", "Ember",   "Rime",
                                        "Storm",  "Tidal",   "Grave",     "Brazen",  "Veiled",  "Kindled", "Shattered",
                                        "Silent", "Crimson", "Wandering", "Radiant", "Feral",   "Sombre",  "Lingering"};
const char* const kSkillNouns[] = {"Vow",     "Chant",   "Ward",     "Strike",  "Oath",     "Rite",   "Gambit",
                                   "Mantle",  "Lash",    "Verse",    "Pulse",   "Bloom",    "Tether", "Cut",
                                   "Echo",    "Shroud",  "Surge",    "Edict",   "Reprieve", "Hymn",   "Snare",
                                   "Torrent", "Brand",   "Covenant", "Lament",  "Rebuke",   "Sigil",  "Stride",
                                   "Volley",  "Whisper", "Requiem",  "Bastion", "Tempest",  "Gambol", "Reckoning"};
const char* const kSkillOf[] = {"Cinders",  "Thorns",   "the Tide", "Hollow Bells", "Ashes",    "the Fen", "Glass",
                                "Lanterns", "the Deep", "Ravens",   "Splinters",    "the Loom", "Embers",  "Frost",
                                "Dust",     "Salt",     "Iron",     "Mirrors",      "Moths",    "Storms"};

const char* const kPetAdjectives[] = {"Mossback", "Ember", "Dune",   "Frost", "Thistle", "Ash",  "Reed", "Cinder",
                                      "Marsh",    "Storm", "Copper", "Gloom", "Sun",     "Salt", "Rime", "Bramble"};
const char* const kPetNouns[] = {"Tortoise", "Lynx", "Loper",  "Hare",  "Drake",   "Hound",
                                 "Owl",      "Boar", "Beetle", "Heron", "Ferret",  "Stag",
                                 "Wyrmling", "Crab", "Moth",   "Toad",  "Kestrel", "Badger"};

const char* const kChestAdjectives[] = {"Gilded",  "Charred", "Sunken",    "Iron-Bound", "Mossy",  "Ashen",
                                        "Cracked", "Ornate",  "Forgotten", "Soot-Black", "Sealed", "Scorched"};
const char* const kChestNouns[] = {"Chest", "Coffer", "Strongbox", "Lockbox", "Cache", "Reliquary", "Trunk", "Casket"};

const char* const kItemAdjectives[] = {"Ember",    "Grim",  "Woven", "Hollow", "Bright", "Keen",
                                       "Mournful", "Storm", "Thorn", "Pale",   "Gilded", "Ashen"};

QString Capitalised(QString s)
{
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

} // namespace

QString NameForge::syllables(int count)
{
    QString s;
    bool closed = false; // the previous syllable ended in a consonant
    for (int i = 0; i < count; ++i) {
        // A syllable may start on its vowel only after a consonant, so that
        // vowels never pile up ("Taaith").
        if (i == 0 || !closed || m_rng.chance(0.6))
            s += QLatin1String(m_rng.pick(kOnsets));
        s += QLatin1String(m_rng.pick(kVowels));
        closed = false;
        if (i + 1 == count || m_rng.chance(0.3)) {
            const QLatin1String coda(m_rng.pick(kCodas));
            s += coda;
            closed = !coda.isEmpty();
        }
    }
    return Capitalised(s);
}

QString NameForge::unique(const std::function<QString()>& make)
{
    QString name;
    for (int attempt = 0; attempt < 40; ++attempt) {
        name = make();
        if (!m_used.contains(name.toLower())) {
            m_used.insert(name.toLower());
            return name;
        }
    }
    // Crowded word space (large worlds): number the name.
    static const char* const numerals[] = {"II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X"};
    for (int n = 0;; ++n) {
        QString candidate = n < 9 ? name + u' ' + QLatin1String(numerals[n]) : name + u' ' + QString::number(n + 2);
        if (!m_used.contains(candidate.toLower())) {
            m_used.insert(candidate.toLower());
            return candidate;
        }
    }
}

QString NameForge::person()
{
    return syllables(m_rng.range(2, 3)).left(10);
}

QString NameForge::boss()
{
    return unique([this] {
        const QString first = syllables(m_rng.range(2, 3)).left(10);
        if (m_rng.chance(0.55))
            return first + u' ' + QLatin1String(m_rng.pick(kEpithets));
        return first + u' ' + syllables(2);
    });
}

QString NameForge::collector()
{
    return unique([this] {
        const QString first = syllables(2);
        if (m_rng.chance(0.4))
            return QLatin1String(m_rng.pick(kTitles)) + u' ' + first;
        return first + u' ' + syllables(m_rng.range(2, 3));
    });
}

QString NameForge::zone(int kind)
{
    return unique([this, kind] {
        QString n = syllables(2);
        QString s;
        switch (kind) {
        case 1:
            s = n + u' ' + QLatin1String(m_rng.pick(kLandWords));
            break;
        case 2: {
            const int form = m_rng.below(4);
            s = form == 0   ? n + QStringLiteral(" Outpost")
                : form == 1 ? n + QStringLiteral("'s Watch")
                : form == 2 ? QStringLiteral("Fort ") + n
                            : n + QStringLiteral(" Camp");
            break;
        }
        case 3: {
            const int form = m_rng.below(3);
            s = form == 0   ? n + QStringLiteral(" Gate")
                : form == 1 ? QStringLiteral("Siege of ") + n
                            : QStringLiteral("Fall of ") + n;
            break;
        }
        case 4:
            s = m_rng.chance(0.7) ? Capitalised(syllables(1).toLower() + QLatin1String(m_rng.pick(kTownEnds)))
                                  : n + QStringLiteral(" Harbour");
            break;
        case 5: {
            const int form = m_rng.below(3);
            s = form == 0   ? QStringLiteral("Trial of ") + n
                : form == 1 ? n + QStringLiteral(" Arena")
                            : n + QStringLiteral(" Gauntlet");
            break;
        }
        default: {
            const int form = m_rng.below(3);
            s = form == 0   ? n + QStringLiteral(" Depths")
                : form == 1 ? QStringLiteral("Caverns of ") + n
                            : n + QStringLiteral(" Crypt");
        }
        }
        return s.left(22);
    });
}

QString NameForge::region()
{
    return unique([this] {
        const QString n = syllables(2);
        return m_rng.chance(0.5) ? n + u' ' + QLatin1String(m_rng.pick(kRegionWords))
                                 : QStringLiteral("The ") + n + u' ' + QLatin1String(m_rng.pick(kRegionWords));
    });
}

QString NameForge::skill()
{
    return unique([this] {
        if (m_rng.chance(0.25))
            return QLatin1String(m_rng.pick(kSkillNouns)) + QStringLiteral(" of ") +
                   QLatin1String(m_rng.pick(kSkillOf));
        return QLatin1String(m_rng.pick(kSkillAdjectives)) + u' ' + QLatin1String(m_rng.pick(kSkillNouns));
    });
}

QString NameForge::pet()
{
    return unique(
        [this] { return QLatin1String(m_rng.pick(kPetAdjectives)) + u' ' + QLatin1String(m_rng.pick(kPetNouns)); });
}

QString NameForge::chest()
{
    return QLatin1String(m_rng.pick(kChestAdjectives)) + u' ' + QLatin1String(m_rng.pick(kChestNouns));
}

QString NameForge::item(const QString& owner, const QString& noun)
{
    const QString first = owner.section(u' ', 0, 0);
    return unique(
        [&] { return first + QStringLiteral("'s ") + QLatin1String(m_rng.pick(kItemAdjectives)) + u' ' + noun; });
}

} // namespace demoworld
