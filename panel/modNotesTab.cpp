#include "panel/modNotesTab.h"

#include "core/TextNumbers.h"

namespace modNotesTab {

std::vector<PanelEntry> FilterNoteEntries(const World& world, const PanelState& panel)
{
    const int c = panel.ChosenCampaign();
    const int r = panel.ChosenRegion();
    const QString s1 = panel.txtNoteShortDesc.trimmed().toLower();
    const QString s2 = panel.txtNoteBody.trimmed().toLower();
    std::vector<PanelEntry> entries;
    for (int n = 1; n <= world.notes.count(); ++n) {
        const modNotes::MapNote& note = world.notes.Notes[static_cast<std::size_t>(n)];
        if (note.ShortDesc.trimmed().isEmpty())
            continue;
        // Notes have no zone: the area is campaign and region only.
        if (c >= 0 && (note.Campaign != c || (r != 0 && note.Region != r)))
            continue;
        if (!s1.isEmpty() && !note.ShortDesc.contains(s1, Qt::CaseInsensitive))
            continue;
        if (!s2.isEmpty() && !note.Body.contains(s2, Qt::CaseInsensitive))
            continue;
        entries.push_back({note.ShortDesc, n});
    }
    modTabRules::SortCaseBlind(entries);
    return entries;
}

QString NotesCaption(const World& world, int count)
{
    return modTabRules::CountCaption(world, Text::Notes, count);
}

std::optional<modTabRules::MapTarget> SelectNote(const World& world, const PanelState& panel)
{
    const int n = panel.lstNotes.selectedData(-1);
    if (n < 1 || n > world.notes.count())
        return std::nullopt;
    const modNotes::MapNote& note = world.notes.Notes[static_cast<std::size_t>(n)];
    return modTabRules::TargetOf(world, note.Campaign, note.Region, note.X, note.Y);
}

} // namespace modNotesTab
