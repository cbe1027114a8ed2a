// The Win32 panel over a real window (on a virtual display) with the form's
// fakes: its first showing after start-up, and what the panel does when
// Windows moves it to a monitor of another scale.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/win/PanelWindow.h"
#include "app/win/art/ArtColours.h"
#include "platform/windows/Win32Window.h"
#include "startup/FormFixture.h"

namespace talvane::testing {
namespace {

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

COLORREF shownAt(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

class PanelWindowTest : public ::testing::Test, protected FormFakes {
  protected:
    PanelWindowTest() : window(panel.hwnd()), form(servicesWith(window)) {
        panel.attach(form, window);
    }

    PanelWindow panel;
    Win32Window window;
    frmMain form;
};

TEST_F(PanelWindowTest, TheHiddenPanelTakesItsFrameShapeAndPlaceAtItsFirstShowing) {
    answerStartUp();
    ASSERT_TRUE(form.Form_Load());
    const HWND hwnd = panel.hwnd();
    RECT box{};
    // Start-up, which shows only the icon, left the hidden window alone...
    EXPECT_EQ(GetWindowRgnBox(hwnd, &box), ERROR) << "shaped while hidden";
    EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION, 0) << "its frame changed while hidden";
    // ...and the form still sees what it asked for.
    EXPECT_FALSE(window.frame().hasCaptionOrBorder());
    const TwipPoint asked = window.position();
    EXPECT_GT(asked.x, 0);

    form.frmOpen_Click();
    pumpMessages();
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    ASSERT_NE(GetWindowRgnBox(hwnd, &box), ERROR);
    EXPECT_EQ(box.right + 1, MulDiv(251, int(GetDpiForWindow(hwnd)), 96));
    EXPECT_EQ(window.position(), asked);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, box.right + 1) << "the frame is gone from the client area";
}

TEST_F(PanelWindowTest, AnotherMonitorsScaleKeepsTheStartUpShapeScaled_FilledByTheArtToItsEdges) {
    answerStartUp();
    ASSERT_TRUE(form.Form_Load());
    form.frmOpen_Click();
    pumpMessages();
    const HWND hwnd = panel.hwnd();
    RECT area{};
    ASSERT_NE(GetWindowRgnBox(hwnd, &area), ERROR);
    const UINT dpi = GetDpiForWindow(hwnd);
    // A round-rectangle region leaves out its right and bottom edge.
    ASSERT_EQ(area.right + 1, MulDiv(251, int(dpi), 96));

    // As Windows sends it when the panel lands on a monitor at 1.5 times the
    // scale; Wine has one DPI for all monitors and never does.
    const UINT moved = dpi * 3 / 2;
    RECT suggested{40, 30, 40 + 400, 30 + 1000};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(moved, moved),
                 reinterpret_cast<LPARAM>(&suggested));
    UpdateWindow(hwnd);
    pumpMessages();

    RECT scaled{}, client{};
    ASSERT_NE(GetWindowRgnBox(hwnd, &scaled), ERROR);
    GetClientRect(hwnd, &client);
    // The start-up shape, scaled (it stayed 251 x 661 before: the scaling
    // divided by the new DPI), not a new region from the new twips per
    // pixel (which would be 379 x 1006).
    EXPECT_EQ(scaled.right + 1, MulDiv(251, int(moved), 96));
    EXPECT_EQ(scaled.bottom + 1, MulDiv(661, int(moved), 96));
    EXPECT_EQ(client.right, scaled.right + 1) << "the window is no larger than its shape";
    EXPECT_EQ(client.bottom, scaled.bottom + 1);
    RECT place{};
    GetWindowRect(hwnd, &place);
    EXPECT_EQ(place.left, suggested.left);
    EXPECT_EQ(place.top, suggested.top);
    // The art is drawn at the new scale to the shape's edges: at the old one
    // it would end 330 pixels above the bottom and 125 left of the right.
    const COLORREF backdrop = artcolour::kPanelBackdrop;
    EXPECT_NE(shownAt(hwnd, scaled.right / 2, scaled.bottom - 12), backdrop) << "under the footer";
    EXPECT_NE(shownAt(hwnd, scaled.right - 3, scaled.bottom / 2), backdrop) << "at the right edge";
}

}  // namespace
}  // namespace talvane::testing
