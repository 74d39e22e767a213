// Treasure chests (third campaign only, "Campaign.03.Emberwake/Treasures.txt")
// and, per character, the dates on which chests were opened
// ("Personal/CharNNOpenedTreasures.txt").
#pragma once

#include "core/LoadContext.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace modCharacters {
struct Tables;
}

namespace modTreasures {

struct Treasure {
    QString Name;
    uint8_t Campaign = 3;
    uint8_t Region = 0;
    int32_t Zone = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    std::vector<std::optional<QDate>> OpenedOn; // by character number 0..highest
    // False for a line of the file that could not be read: it keeps its
    // number, so that the chests after it keep theirs, but it is neither
    // listed nor drawn.
    bool Present = true;
};

struct Tables {
    std::vector<Treasure> Treasures{1}; // numbered 1..n in file order, 0 unused
    // By character number: lines of its opened-treasure file naming no
    // treasure of the table, or one whose line could not be read, kept as
    // they stood and written back on its next save. Deleting a character
    // clears its entry.
    std::map<int, QStringList> UnreadOpened;
    int count() const { return static_cast<int>(Treasures.size()) - 1; }
};

inline constexpr const char* kTreasureFile = "Campaign.03.Emberwake/Treasures.txt";
inline constexpr const char* kOpenedTreasuresFile = "OpenedTreasures.txt";

void LoadTreasures(const LoadContext& ctx, const modCharacters::Tables& characters, Tables& treasures);
void LoadOpenedTreasures(const LoadContext& ctx, const modCharacters::Tables& characters, Tables& treasures);

// Rewrites character k's opened-treasure file: its unread lines, then one line
// per treasure that is present and has a date for k, in treasure order,
// number (at least four digits) tab ddmmyyyy.
bool SaveOpenedTreasures(const QString& appFolder, int character, const Tables& treasures, QString* error = nullptr);

// "ddmmyyyy" read with day and month overflow carrying over (32012010 is
// 1 Feb 2010); nullopt unless exactly 8 characters, not blank, and within
// the years 100..9999.
std::optional<QDate> ParseOpenedDate(QStringView text);
QString FormatOpenedDate(const QDate& date); // "ddmmyyyy"

} // namespace modTreasures
