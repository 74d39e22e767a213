#include "panel/MarkingMenu.h"

#include "elite/frmBackupNotice.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QWidget>

namespace {

// Dark like the panel and the map's menus.
const char* const kMenuStyle = R"(
QMenu { background: #1b1e23; color: #e8e2d4; border: 1px solid #4a515c; padding: 2px; }
QMenu::item { padding: 4px 22px 4px 22px; }
QMenu::item:selected { background: #c9a13b; color: #1e2126; }
QMenu::item:disabled { color: #a49d8c; background: transparent; }
)";

} // namespace

MarkingMenu::MarkingMenu(PanelContext& context, QWidget* owner) : QObject(owner), m_context(context), m_owner(owner)
{
    openMenu = [](QMenu* menu, QPoint globalPos) { menu->popup(globalPos); };
    showError = [this](const QString& text) {
        QMessageBox::critical(m_owner, m_owner ? m_owner->windowTitle() : QString(), text);
    };
    // On the panel, so that they also work while the map, a tool window of
    // the panel, is active; a text field with the focus keeps them for its
    // own undo.
    if (owner) {
        auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), owner);
        undo->setObjectName(QStringLiteral("undoMarkingShortcut"));
        connect(undo, &QShortcut::activated, this, &MarkingMenu::Undo);
        auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), owner);
        redo->setObjectName(QStringLiteral("redoMarkingShortcut"));
        connect(redo, &QShortcut::activated, this, &MarkingMenu::Redo);
    }
}

modMarking::Tables MarkingMenu::Tables() const
{
    return {m_context.world().elite, m_context.world().treasures};
}

void MarkingMenu::MarkFromMap(modMarking::Kind kind, int thing, QPoint globalPos)
{
    const PanelState& panel = m_context.panel();
    const int character = kind == modMarking::Kind::Capture ? panel.CaptureCharacter() : panel.ChestCharacter();
    if (character > 0)
        Toggle(kind, thing, character);
    else
        OpenTicks(kind, thing, globalPos);
}

void MarkingMenu::OpenTicks(modMarking::Kind kind, int thing, QPoint globalPos)
{
    const World& world = m_context.world();
    if (!modMarking::Markable(world.elite, world.treasures, kind, thing))
        return;
    if (!m_menu) {
        m_menu = new QMenu(m_owner);
        m_menu->setObjectName(QStringLiteral("MarkingMenu"));
        m_menu->setStyleSheet(QString::fromLatin1(kMenuStyle));
    }
    m_menu->clear();
    const bool capture = kind == modMarking::Kind::Capture;
    const QString name = capture ? world.elite.EliteSkills[static_cast<std::size_t>(thing)].Name
                                 : world.treasures.Treasures[static_cast<std::size_t>(thing)].Name;
    m_menu->addAction((capture ? QStringLiteral("Captured: ") : QStringLiteral("Opened: ")) + name)->setEnabled(false);
    m_menu->addSeparator();
    const auto ticks = modMarking::Ticks(world.characters, world.elite, world.treasures, kind, thing);
    if (ticks.empty())
        m_menu->addAction(QStringLiteral("No characters yet (Options, Manage characters)"))->setEnabled(false);
    for (const modMarking::Tick& tick : ticks) {
        QAction* row = m_menu->addAction(tick.name);
        row->setCheckable(true);
        row->setChecked(tick.done);
        row->setData(tick.character);
        connect(row, &QAction::triggered, this,
                [this, kind, thing, character = tick.character] { Toggle(kind, thing, character); });
    }
    openMenu(m_menu, globalPos);
}

bool MarkingMenu::Toggle(modMarking::Kind kind, int thing, int character)
{
    World& world = m_context.world();
    if (!modMarking::Markable(world.elite, world.treasures, kind, thing))
        return false;
    const modMarking::Step step =
        modMarking::ToggleStep(world.elite, world.treasures, kind, thing, character, QDate::currentDate());
    QString error;
    if (!modMarking::Do(m_context.markings(), world.appFolder, Tables(), step, &error)) {
        showError(QStringLiteral("The marking could not be saved (%1). Nothing was changed.").arg(error));
        ShowBackupNotice(m_owner);
        return false;
    }
    Saved(step);
    return true;
}

void MarkingMenu::Undo()
{
    Replay(true);
}

void MarkingMenu::Redo()
{
    Replay(false);
}

void MarkingMenu::Replay(bool undo)
{
    modMarking::History& history = m_context.markings();
    if (!(undo ? history.CanUndo() : history.CanRedo()))
        return;
    QString error;
    const QString& folder = m_context.world().appFolder;
    if (const auto step = undo ? history.Undo(folder, Tables(), &error) : history.Redo(folder, Tables(), &error)) {
        Saved(*step);
        return;
    }
    showError(QStringLiteral("The marking could not be %1 (%2). Nothing was changed.")
                  .arg(undo ? QStringLiteral("undone") : QStringLiteral("made again"), error));
    ShowBackupNotice(m_owner);
}

void MarkingMenu::Recorded(const modMarking::Step& step)
{
    m_context.markings().Record(step);
}

void MarkingMenu::Saved(const modMarking::Step& step)
{
    ShowBackupNotice(m_owner);
    emit marked(step.kind, step.character);
}
