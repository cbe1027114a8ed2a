#pragma once

#include <QPixmap>

namespace talvane::preview {

struct SampleState {
    int hoveredRow = -1;  // row whose highlight and blue arrow are shown
    int balloonRow = -1;  // row whose detail balloon is open
    bool emptyList = false;
};

// The panel as the window shows it, with five example seminars, composed
// from the artwork at the places the window puts its elements.
QPixmap composeSamplePanel(const SampleState& state, qreal dpr);

}  // namespace talvane::preview
