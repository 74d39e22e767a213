// A program started on a copy of the demo world (tests/ProgramCopy.h), its
// messages and end recorded instead of shown, for the panel's window tests.
#pragma once

#include "../ProgramCopy.h"
#include "app/WayloomProgram.h"
#include "mapview/MapGeometry.h"
#include "mapview/frmMap.h"
#include "panel/frmCollectorsTab.h"
#include "panel/frmEliteTab.h"
#include "panel/frmGreensTab.h"
#include "panel/frmMenu.h"
#include "panel/frmNotesTab.h"
#include "panel/frmSearch.h"
#include "panel/frmTreasuresPetsTab.h"

#include <memory>

// A started program whose messages and end are recorded instead of shown.
struct Started {
    explicit Started(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [this](const QString& text, bool offerCancel) {
            errors << text;
            cancelOffered << offerCancel;
        };
        program->endProgram = [this] { ended = true; };
        program->openWithShell = [this](const QString& target) {
            opened << target;
            return true;
        };
        program->startDetached = [this](const QString& target) {
            started << target;
            return false;
        };
        result = program->Main();
    }
    frmMenu& menu() { return *program->menu(); }
    frmMap& map() { return *program->map(); }
    World& world() { return program->world(); }
    QPoint offsets() { return {map().MapOffsetX(), map().MapOffsetY()}; }
    // The offsets that centre the map shown on map point p.
    QPoint centredOn(QPoint p)
    {
        return mapview::CenterMapOnOffsets(p.x(), p.y(), map().Canvas().ViewSize(), map().Canvas().MapSize());
    }

    std::unique_ptr<WayloomProgram> program;
    WayloomProgram::StartResult result{};
    QStringList errors, opened, started;
    QList<bool> cancelOffered;
    bool ended = false;
};
