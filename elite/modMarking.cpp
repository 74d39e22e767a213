#include "elite/modMarking.h"

#include <algorithm>

namespace modMarking {

namespace {

bool ValidCharacter(int character)
{
    return character >= 1 && character <= modCharacters::kMaxCharacterNumber;
}

// Sets one slot of a per-character list, growing it when needed, and puts
// the list back as it was when `save` fails.
template <class T, class Save>
bool SetAndSave(std::vector<T>& column, int character, const T& value, const Save& save)
{
    const auto k = static_cast<std::size_t>(character);
    const std::size_t oldSize = column.size();
    const T old = k < oldSize ? column[k] : T();
    if (column.size() <= k)
        column.resize(k + 1, T());
    column[k] = value;
    if (save())
        return true;
    if (k < oldSize)
        column[k] = old;
    else
        column.resize(oldSize);
    return false;
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
    const auto k = static_cast<std::size_t>(character);
    if (kind == Kind::Capture) {
        const auto& captured = elite.EliteSkills[static_cast<std::size_t>(thing)].Captured;
        return {k < captured.size() && captured[k], {}};
    }
    const auto& opened = treasures.Treasures[static_cast<std::size_t>(thing)].OpenedOn;
    if (k < opened.size() && opened[k])
        return {true, *opened[k]};
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
    const bool datedChest = kind == Kind::Chest && state.done;
    if (!Markable(tables.elite, tables.treasures, kind, thing) || !ValidCharacter(character) ||
        (datedChest && !state.date.isValid())) {
        if (error)
            *error = QStringLiteral("there is no such thing to mark for character %1").arg(character);
        return false;
    }
    if (kind == Kind::Capture) {
        auto& captured = tables.elite.EliteSkills[static_cast<std::size_t>(thing)].Captured;
        return SetAndSave<bool>(captured, character, state.done, [&] {
            return modCharacters::SaveCapturedElites(appFolder, character, tables.elite, error);
        });
    }
    auto& opened = tables.treasures.Treasures[static_cast<std::size_t>(thing)].OpenedOn;
    const std::optional<QDate> value = state.done ? std::optional<QDate>(state.date) : std::nullopt;
    return SetAndSave<std::optional<QDate>>(opened, character, value, [&] {
        return modTreasures::SaveOpenedTreasures(appFolder, character, tables.treasures, error);
    });
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

std::optional<Step> History::Undo(const QString& appFolder, Tables tables, QString* error)
{
    if (m_undo.empty())
        return std::nullopt;
    const Step step = m_undo.back();
    if (!Apply(appFolder, tables, step.kind, step.thing, step.character, step.before, error))
        return std::nullopt;
    m_undo.pop_back();
    m_redo.push_back(step);
    return step;
}

std::optional<Step> History::Redo(const QString& appFolder, Tables tables, QString* error)
{
    if (m_redo.empty())
        return std::nullopt;
    const Step step = m_redo.back();
    if (!Apply(appFolder, tables, step.kind, step.thing, step.character, step.after, error))
        return std::nullopt;
    m_redo.pop_back();
    m_undo.push_back(step);
    return step;
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
