// The settings of the options file as the live panel holds them: put into the
// panel state at start, collected from it (with the window placement) at quit.
#pragma once

#include "core/modOptions.h"
#include "world/PanelState.h"

namespace PanelOptions {

// Index `saved` when it names an entry of a list of `count` entries; -1 (keep
// the list as filled) for -1 and for indexes beyond the list.
int ApplicableIndex(int saved, int count);

// The settings that are not combo selections: capture option, legend state,
// show boxes 0..3, tooltip mode, collector level option, always-on-top.
// (The combo selections run the panel's change handling and are applied by
// the panel itself, in the order campaign, region, zone, profession,
// secondary profession, then the character.)
void ApplyToState(const modOptions::Settings& settings, PanelState& panel);

// The settings to save: the selections and switches from the panel state, the
// placement values (PosX .. LegendY, Legend) from `placement`, as captured by
// the quit procedure.
modOptions::Settings CollectSettings(const PanelState& panel, const modOptions::Settings& placement);

} // namespace PanelOptions
