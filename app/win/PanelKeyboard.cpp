#include "app/win/PanelKeyboard.h"

#include <cmath>

#include "app/AccessibleElements.h"
#include "app/frmMain.h"
#include "app/win/PanelAccessible.h"

namespace talvane {
namespace {

// The frame reaches a pixel beyond the title on every side, so it never
// covers the first letter.
RECT focusFrame(const frmMain& form, int row, UINT dpi) {
    const TwipRect& title = form.model().at(ElementName::lblList, row).rect;
    const float perTwip = static_cast<float>(dpi) / 1440.0f;
    const auto px = [perTwip](float twips) {
        return static_cast<LONG>(std::lround(twips * perTwip));
    };
    return {px(title.left) - 2, px(title.top) - 1, px(title.right()) + 1, px(title.bottom()) + 1};
}

}  // namespace

bool PanelKeyboard::keyDown(HWND hwnd, frmMain& form, WPARAM key, UINT dpi) {
    switch (key) {
        case VK_TAB: {
            const bool forward = GetKeyState(VK_SHIFT) >= 0;
            const int to = NextFocusRow(FocusableRows(form.model()), row_, forward);
            if (to < 0) return true;  // nothing to go to, but Tab stays in the panel
            if (row_ >= 0) {
                const RECT old = focusFrame(form, row_, dpi);
                InvalidateRect(hwnd, &old, FALSE);
            }
            row_ = to;
            const RECT now = focusFrame(form, row_, dpi);
            InvalidateRect(hwnd, &now, FALSE);
            NotifyPanelFocus(hwnd, form.model(), row_);
            return true;
        }
        case VK_RETURN:
            if (row_ >= 0)
                form.elementClick({ElementName::lblList, static_cast<std::int16_t>(row_)});
            return true;
        case VK_ESCAPE:
            form.imgClose_Click();
            return true;
        default:
            return false;
    }
}

void PanelKeyboard::drawFocus(HDC dc, const frmMain& form, UINT dpi) const {
    if (row_ < 0) return;
    const RECT frame = focusFrame(form, row_, dpi);
    DrawFocusRect(dc, &frame);
}

}  // namespace talvane
