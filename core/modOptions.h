// Settings and last selection kept in "Data/Options.txt" from one run to the
// next, the date of the last update, and the fixed colour table of the
// information windows and the control panel.
#pragma once

#include "records/LastUpdate.h"

#include "core/LoadContext.h"
#include "core/modLanguage.h"

#include <QColor>
#include <QDate>
#include <QLocale>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <map>
#include <utility>

namespace modOptions {

inline constexpr char16_t kOptionsFile[] = u"Data/Options.txt";
using records::kLastUpdateFile;

// Every key of the options file with its default. Indexes are entry indexes
// of the control panel's combos, not record numbers.
struct Settings {
    int32_t Campaign = 0;
    int32_t Region = -1;
    int32_t Zone = -1;
    int32_t Profession = 0;
    int32_t SecondaryProfession = 0;
    bool AllElite = true;
    int32_t Character = 0;
    bool Legend = false;
    int32_t PosX = -1; // twips; -1 = not saved
    int32_t PosY = -1;
    int32_t DimX = -1;
    int32_t DimY = -1;
    uint8_t ShowElites = 1;
    uint8_t ShowCollectors = 1;
    uint8_t ShowGreens = 1;
    uint8_t ShowNotes = 1;
    int32_t LegendX = -1;
    int32_t LegendY = -1;
    int16_t RightClickNeeded = 1; // tooltip mode 0, 1 or 2
    uint8_t AlwaysOnTop = 0;
    uint8_t CollectorLevel = 2; // 2 all, 1 low level, 0 high level
    // Character whose opened chests the chest list hides; 0 = none. Written
    // only when set, so files without it read as before.
    int32_t TreasuresNotOpenedBy = 0;
    // Done skills and chests of the chosen character: 0 hidden, 1 dimmed;
    // and the large markers (0 off). Written only when set.
    uint8_t EliteDone = 0;
    uint8_t ChestDone = 0;
    uint8_t LargeMarkers = 0;
    // The map's zoom in percent (0 = fit to the window) and its overview
    // inset (0 off). Written only when not 100 % and when set.
    int16_t MapZoom = 100;
    uint8_t OverviewInset = 0;
    // The planned route: drawn on the map (0 off), through every layer's
    // markers (0 elite skills and chests only), and the point it starts
    // from, set per region (campaign, region) -> map point, saved as
    // "RouteStart<campaign>_<region>=x,y". Written only when set.
    uint8_t ShowRoute = 0;
    uint8_t RouteEveryLayer = 0;
    std::map<std::pair<int, int>, QPoint> RouteStarts{};

    bool operator==(const Settings&) const = default;
};

// Nine fixed colours, set at start-up and never saved.
using ColourTable = std::array<QColor, 9>;
void InitColourTable(ColourTable& colours);

// Defaults, then "Data/Options.txt", then the date of "Personal/LastUpdate.txt"
// as display text (text 78 of the language file when there is none).
void LoadOptions(const LoadContext& ctx, const modLanguage::LanguageStrings& language, Settings& settings,
                 QString& lastUpdateText, const QLocale& locale = QLocale::system());

// The lines of the options file for the given values. In the maximised
// layout the four placement values are written as -1.
QStringList OptionsLines(const Settings& settings, bool maximisedLayout);

// Rewrites "Data/Options.txt" whole (atomically). False, with the reason in
// `error`, when the file could not be written; the old file then stays.
bool SaveOptions(const QString& appFolder, const Settings& settings, bool maximisedLayout, QString* error = nullptr);

// "dd MMM yyyy" with the locale's abbreviated month name (05 Mar 2007).
QString FormatLastUpdate(const QDate& date, const QLocale& locale);

} // namespace modOptions
