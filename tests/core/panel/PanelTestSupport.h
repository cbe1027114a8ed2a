#pragma once

#include <string>

#include "app/LayoutRows.h"
#include "app/PanelDesign.h"
#include "app/PanelModel.h"

namespace talvane::testing {

// The panel as start-up leaves it before the rows are filled, with the
// damage of the layout already taken.
inline PanelModel LaidOutPanel() {
    PanelModel m = CreatePanelDesign();
    LayoutRows(m);
    m.takeDamage();
    return m;
}

inline std::string Describe(const Element* e) {
    if (e == nullptr) {
        return "background";
    }
    std::string text = ElementNameText(e->id.name);
    if (e->id.index >= 0) {
        text += "(" + std::to_string(e->id.index) + ")";
    }
    return text;
}

inline std::string HitAt(const PanelModel& m, float x, float y) {
    return Describe(m.hitTest(x, y));
}

}  // namespace talvane::testing
