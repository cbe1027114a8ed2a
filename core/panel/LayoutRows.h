#pragma once

#include "app/PanelModel.h"

namespace talvane {

// Puts the five rows in place and hides every highlight and balloon; the
// balloon of row 4 opens above its row, which is the last on the panel.
// Called once at start-up, before the rows are filled.
void LayoutRows(PanelModel& model);

}  // namespace talvane
