// The seven pages of the update wizard: what each page shows and which of
// the window's controls it offers.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace modUpdate {

// A colour as red, green and blue (the window turns it into a QColor).
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 150, 0};

// One page of the wizard.
struct WizardStep {
    Rgb TextColor; // lblInfo, lblStepInfo, lblStep
    bool NextEnabled = false;
    bool PreviousEnabled = false;
    QString NextCaption;
    bool QuitEnabled = false;
    bool CancelVisible = false; // "Abort download"
    bool HistoryVisible = false;
    QString Title;       // lblStep
    QString Subtitle;    // lblStepInfo
    QString Description; // lblInfo, before the page's extra text
    bool ProgressVisible = false;
    bool ServerChoiceVisible = false;
};

// Page indices.
enum Step : int {
    StepError = 0,
    StepStart = 1,
    StepSearching = 2,
    StepResults = 3,
    StepDownloading = 4,
    StepFinished = 5,
    StepNoUpdates = 6,
};

inline constexpr int kStepCount = 7;
using StepTableType = std::array<WizardStep, kStepCount>;

// The page table, indexed by Step.
StepTableType FillStepTable();

} // namespace modUpdate
