#include "app/RowDisplay.h"

#include <stdexcept>
#include <string>

namespace talvane {

namespace {

using N = ElementName;

void checkRow(int k) {
    if (k < 0 || k >= kPanelRows) {
        throw std::out_of_range("row index " + std::to_string(k));
    }
}

void hideBalloons(PanelModel& m) {
    for (int i = 0; i < kPanelRows; ++i) {
        m.setVisible(N::ImgContent, i, false);
        m.setVisible(N::txtMainTop, i, false);
        m.setVisible(N::txtMainBottom, i, false);
    }
}

}  // namespace

void ShowRows(PanelModel& m, const RowTable& rows) {
    for (int i = 0; i < kPanelRows; ++i) {
        m.setCaption(N::lblList, i, rows.RowTitle[i]);
        m.setCaption(N::lblReg, i, rows.RowStatusText[i]);
        m.setCaption(N::lblTime, i, rows.RowTimeText[i]);
        m.setVisible(N::imgNew, i, rows.RowShowNew[i] != 0);
        m.setCaption(N::txtMainBottom, i, rows.RowDetailText[i]);
    }
}

void ImgNULL_MouseMove(PanelModel& m, int k) {
    checkRow(k);
    const Picture normal = m.at(N::imgRed).picture;
    const Picture highlighted = m.at(N::imgBlue).picture;
    m.setVisible(N::ImgBack, k, true);
    m.setPicture(N::imgArrow, k, highlighted);
    for (int i = 0; i < kPanelRows; ++i) {
        if (i != k) {
            m.setVisible(N::ImgBack, i, false);
            m.setPicture(N::imgArrow, i, normal);
        }
    }
    hideBalloons(m);
}

void lblList_MouseMove(PanelModel& m, int k) {
    checkRow(k);
    m.setVisible(N::ImgContent, k, true);
    m.setVisible(N::txtMainTop, k, true);
    m.setVisible(N::txtMainBottom, k, true);
}

void Form_MouseMove(PanelModel& m) {
    const Picture normal = m.at(N::imgRed).picture;
    for (int i = 0; i < kPanelRows; ++i) {
        m.setVisible(N::ImgBack, i, false);
        m.setPicture(N::imgArrow, i, normal);
    }
    hideBalloons(m);
}

const Element* RouteMouseMove(PanelModel& m, float xTwips, float yTwips) {
    const Element* target = m.hitTest(xTwips, yTwips);
    if (target == nullptr) {
        Form_MouseMove(m);
    } else if (target->id.name == N::ImgNULL) {
        ImgNULL_MouseMove(m, target->id.index);
    } else if (target->id.name == N::lblList) {
        lblList_MouseMove(m, target->id.index);
    }
    return target;
}

}  // namespace talvane
