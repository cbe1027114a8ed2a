#include "app/LayoutRows.h"

#include <cstdint>

namespace talvane {

namespace {

using N = ElementName;

// Row tops are 16-bit values in twips; rows 0 to 4 stay far below the limit.
float rowTop(int i, int offset) {
    return static_cast<float>(static_cast<std::int16_t>(1500 * i + offset));
}

}  // namespace

void LayoutRows(PanelModel& m) {
    for (int i = 0; i < kPanelRows; ++i) {
        m.setPosition(N::imgArrow, i, 130, rowTop(i, 2100));
        m.setPosition(N::lblList, i, 480, rowTop(i, 2100));
        m.setPosition(N::lblReg, i, 480, rowTop(i, 2680));
        m.setPosition(N::lblTime, i, 480, rowTop(i, 3000));
        m.setPosition(N::imgNew, i, 3000, rowTop(i, 2400));
        m.setPosition(N::ImgNULL, i, 0, rowTop(i, 1920));
        m.setVisible(N::ImgBack, i, false);
        m.setPosition(N::ImgBack, i, 0, rowTop(i, 1800));
        m.setVisible(N::ImgContent, i, false);
        m.setPosition(N::ImgContent, i, 100, rowTop(i, 2600));
        m.setVisible(N::txtMainTop, i, false);
        m.setPosition(N::txtMainTop, i, 300, rowTop(i, 3260 - 400));
        m.setVisible(N::txtMainBottom, i, false);
        m.setPosition(N::txtMainBottom, i, 300, rowTop(i, 3620 - 400));
    }

    // The row formula would put the last balloon below the panel's bottom
    // edge (8600 to 11000 against 9900), so it opens above its row instead.
    const int last = kPanelRows - 1;
    m.setVisible(N::ImgContent, last, false);
    m.setPosition(N::ImgContent, last, 50, 5520);
    m.setVisible(N::txtMainTop, last, false);
    m.setPosition(N::txtMainTop, last, 250, 5780);
    m.setVisible(N::txtMainBottom, last, false);
    m.setPosition(N::txtMainBottom, last, 250, 6140);
}

}  // namespace talvane
