#include "elite/modMarking.h"

#include "layers/modTreasureDate.h"
#include "panel/modEliteTab.h"
#include "panel/modTreasuresPetsTab.h"

#include <algorithm>

namespace modMarking {

namespace {

bool ValidCharacter(int character)
{
    return character >= 1 && character <= modCharacters::kMaxCharacterNumber;
}

} // namespace

bool Markable(const modElite::Tables& elite, const modTreasures::Tables& treasures, Kind kind, int thing)
{
    if (kind == Kind::Capture)
        return thing >= 1 && thing <= elite.highest() && elite.EliteSkills[static_cast<std::size_t>(thing)].Defined;
    return thing >= 1 && thing <= treasures.count() && treasures.Treasures[static_cast<std::size_t>(thing)].Present;
}

State StateOf(const modElite::Tables& elite, const modTreasures::Tables& treasures, Kind kind, int thing, int character)
{
    if (!Markable(elite, treasures, kind, thing) || !ValidCharacter(character))
        return {};
    if (kind == Kind::Capture)
        return {modEliteTab::CapturedBy(elite.EliteSkills[static_cast<std::size_t>(thing)], character), {}};
    const auto& chest = treasures.Treasures[static_cast<std::size_t>(thing)];
    if (modTreasuresPetsTab::OpenedBy(chest, character))
        return {true, *chest.OpenedOn[static_cast<std::size_t>(character)]};
    return {};
}

Step ToggleStep(const modElite::Tables& elite, const modTreasures::Tables& treasures, Kind kind, int thing,
                int character, const QDate& today)
{
    Step step{kind, thing, character, StateOf(elite, treasures, kind, thing, character), {}};
    if (!step.before.done)
        step.after = {true, kind == Kind::Chest ? today : QDate()};
    return step;
}

bool Apply(const QString& appFolder, Tables tables, Kind kind, int thing, int character, const State& state,
           QString* error)
{
    // The savers check the character and the date.
    if (!Markable(tables.elite, tables.treasures, kind, thing)) {
        if (error)
            *error = QStringLiteral("there is no skill or chest %1 to mark").arg(thing);
        return false;
    }
    if (kind == Kind::Capture)
        return modCharacters::SaveCapture(appFolder, tables.elite, thing, character, state.done, error);
    return modTreasureDate::SetOpenedTreasure(appFolder, tables.treasures, thing, character,
                                              state.done ? std::optional<QDate>(state.date) : std::nullopt, error);
}

std::vector<Tick> Ticks(const modCharacters::Tables& characters, const modElite::Tables& elite,
                        const modTreasures::Tables& treasures, Kind kind, int thing)
{
    std::vector<Tick> ticks;
    for (int c = 1; c <= characters.highest(); ++c) {
        const QString& name = characters.Characters[static_cast<std::size_t>(c)];
        if (!name.isEmpty())
            ticks.push_back({c, name, StateOf(elite, treasures, kind, thing, c).done});
    }
    return ticks;
}

void History::Record(const Step& step)
{
    m_undo.push_back(step);
    while (static_cast<int>(m_undo.size()) > kDepth)
        m_undo.pop_front();
    m_redo.clear();
}

template <class From, class To>
std::optional<Step> History::Move(From& from, To& to, State Step::*state, const QString& appFolder, Tables tables,
                                  QString* error)
{
    if (from.empty())
        return std::nullopt;
    const Step step = from.back();
    if (!Apply(appFolder, tables, step.kind, step.thing, step.character, step.*state, error))
        return std::nullopt;
    from.pop_back();
    to.push_back(step);
    return step;
}

std::optional<Step> History::Undo(const QString& appFolder, Tables tables, QString* error)
{
    return Move(m_undo, m_redo, &Step::before, appFolder, tables, error);
}

std::optional<Step> History::Redo(const QString& appFolder, Tables tables, QString* error)
{
    return Move(m_redo, m_undo, &Step::after, appFolder, tables, error);
}

void History::ForgetCharacter(int character)
{
    const auto of = [character](const Step& s) { return s.character == character; };
    m_undo.erase(std::remove_if(m_undo.begin(), m_undo.end(), of), m_undo.end());
    m_redo.erase(std::remove_if(m_redo.begin(), m_redo.end(), of), m_redo.end());
}

bool Do(History& history, const QString& appFolder, Tables tables, const Step& step, QString* error)
{
    if (!Apply(appFolder, tables, step.kind, step.thing, step.character, step.after, error))
        return false;
    history.Record(step);
    return true;
}

} // namespace modMarking
