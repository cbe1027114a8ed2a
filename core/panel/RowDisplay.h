#pragma once

#include "app/PanelModel.h"
#include "service/RowTable.h"

namespace talvane {

// Copies rows 0 to 4 of the table into the row labels, the badges and the
// balloon bodies. A badge is shown iff RowShowNew is nonzero.
void ShowRows(PanelModel& model, const RowTable& rows);

// Hover handlers. Each re-applies the whole hover state; the model's change
// detection turns a move that changes nothing into no damage. k must be 0..4
// (std::out_of_range otherwise, before anything changes).
void ImgNULL_MouseMove(PanelModel& model, int k);  // highlight row k, close balloons
void lblList_MouseMove(PanelModel& model, int k);  // open balloon k
void Form_MouseMove(PanelModel& model);            // back to rest

// Delivers a pointer move at (x, y) twips to the topmost visible element
// there: hover areas and titles run their handlers, other elements swallow
// it, and the bare background runs Form_MouseMove. Returns the element that
// received the move (nullptr for the background), e.g. for its pointer.
const Element* RouteMouseMove(PanelModel& model, float xTwips, float yTwips);

}  // namespace talvane
