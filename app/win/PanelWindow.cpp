#include "app/win/PanelWindow.h"

#include <windowsx.h>

#include <cmath>

#include "app/FormShape.h"
#include "app/PanelDesign.h"
#include "app/frmMain.h"
#include "app/win/art/ArtColours.h"
#include "app/win/resource.h"
#include "platform/windows/Win32Window.h"

namespace talvane {
namespace {

constexpr wchar_t kClassName[] = L"TalvanePanel";
constexpr UINT_PTR kTimer1 = 1;

COLORREF colour(ColourRole role) {
    switch (role) {
        case ColourRole::ButtonText:
            return artcolour::kButtonText;
        case ColourRole::WindowText:
            return artcolour::kWindowText;
        case ColourRole::WindowBackground:
            return artcolour::kWindowBackground;
        case ColourRole::White:
            return artcolour::kFooterText;
        case ColourRole::Black:
            return artcolour::kFooterShadow;
    }
    return 0;
}

// Button and shift codes as the form's handlers expect them.
int buttonsOf(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
           ((keys & MK_MBUTTON) ? 4 : 0);
}

int shiftOf(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

PanelWindow::PanelWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // The second press of a double click comes as its own message, so that
    // it can be told apart and open nothing a second time.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ObjectWindowProc<PanelWindow>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_TALVANE), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TALVANE), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    // Created with a frame and hidden; start-up takes the frame off.
    hwnd_ = CreateWindowExW(0, kClassName, wide(kFormCaption), WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                            nullptr, nullptr, instance, this);
    dpi_ = GetDpiForWindow(hwnd_);
}

PanelWindow::~PanelWindow() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    if (hand_ != nullptr) DestroyCursor(hand_);
}

void PanelWindow::attach(frmMain& form, Win32Window& window) {
    form_ = &form;
    window_ = &window;
    fitToDpi(dpi_);
}

void PanelWindow::startTimer(UINT intervalMs) { SetTimer(hwnd_, kTimer1, intervalMs, nullptr); }

// Only the rounded visible area is ever seen, so the window is no larger.
void PanelWindow::fitToDpi(UINT dpi) {
    dpi_ = dpi;
    const float tpp = 1440.0f / static_cast<float>(dpi);
    const RoundRectRegion area = TransparencyRegion(tpp, tpp);
    SetWindowPos(hwnd_, nullptr, 0, 0, area.right, area.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// Pictures, fonts and the pointer at the DPI, made when the panel is first
// painted or pointed at rather than at start-up, which shows only the icon.
void PanelWindow::prepareForDpi() {
    if (preparedDpi_ == dpi_) return;
    preparedDpi_ = dpi_;
    pictures_.prepare(dpi_);
    const HDC dc = GetDC(hwnd_);
    text_.prepare(dc, dpi_);
    ReleaseDC(hwnd_, dc);
    if (hand_ != nullptr) DestroyCursor(hand_);
    const int size = MulDiv(32, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
    hand_ = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr),
                                            MAKEINTRESOURCEW(IDC_HAND_POINTER), IMAGE_CURSOR, size,
                                            size, 0));
}

POINT PanelWindow::toPixels(float xTwips, float yTwips) const {
    const float perTwip = static_cast<float>(dpi_) / 1440.0f;
    return {std::lround(xTwips * perTwip), std::lround(yTwips * perTwip)};
}

float PanelWindow::toTwips(int pixels) const {
    return static_cast<float>(pixels) * 1440.0f / static_cast<float>(dpi_);
}

void PanelWindow::paint() {
    prepareForDpi();
    PAINTSTRUCT ps;
    const HDC screen = BeginPaint(hwnd_, &ps);
    const RECT& dirty = ps.rcPaint;
    const int width = dirty.right - dirty.left;
    const int height = dirty.bottom - dirty.top;
    if (width > 0 && height > 0) {
        // Drawn off screen and copied in one go: no flicker while the hover
        // redraws a row.
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP buffer = CreateCompatibleBitmap(screen, width, height);
        const HGDIOBJ old = SelectObject(dc, buffer);
        SetViewportOrgEx(dc, -dirty.left, -dirty.top, nullptr);
        // The backdrop shows through the background picture's smoothed corners.
        const HBRUSH backdrop = CreateSolidBrush(artcolour::kPanelBackdrop);
        FillRect(dc, &dirty, backdrop);
        DeleteObject(backdrop);
        drawElements(dc, dirty);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        BitBlt(screen, dirty.left, dirty.top, width, height, dc, 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteObject(buffer);
        DeleteDC(dc);
    }
    EndPaint(hwnd_, &ps);
}

void PanelWindow::drawElements(HDC dc, const RECT& dirty) {
    const auto draw = [dc](const PanelBitmap& bitmap, POINT at) {
        DrawPicture(dc, bitmap, at.x, at.y, bitmap.width, bitmap.height);
    };
    draw(pictures_.background(), {0, 0});
    if (form_ == nullptr) return;

    const auto& elements = form_->model().elements();
    // Bottom of the stack first, so that what lies on top is drawn last.
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        const Element& e = *it;
        if (!e.visible) continue;
        const POINT topLeft = toPixels(e.rect.left, e.rect.top);
        const POINT bottomRight = toPixels(e.rect.right(), e.rect.bottom());
        const RECT box{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        RECT overlap;
        if (!IntersectRect(&overlap, &box, &dirty)) continue;
        if (e.kind == ElementKind::Image) {
            if (e.picture != Picture::None) draw(pictures_.picture(e.picture), topLeft);
            continue;
        }
        if (e.opaque) {
            const HBRUSH back = CreateSolidBrush(colour(e.backColour));
            FillRect(dc, &box, back);
            DeleteObject(back);
        }
        if (!e.caption.empty()) text_.draw(dc, e.caption, e.font, colour(e.textColour), box);
    }
}

bool PanelWindow::setPointer() {
    if (form_ == nullptr) return false;
    prepareForDpi();
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(hwnd_, &at);
    const bool hand = form_->pointerShapeAt(toTwips(at.x), toTwips(at.y)) == PointerShape::Hand;
    SetCursor(hand && hand_ != nullptr ? hand_ : LoadCursorW(nullptr, IDC_ARROW));
    return true;
}

void PanelWindow::pointerMove(LPARAM at, WPARAM keys) {
    form_->pointerMove(toTwips(GET_X_LPARAM(at)), toTwips(GET_Y_LPARAM(at)), buttonsOf(keys),
                       shiftOf(keys));
}

void PanelWindow::pointerDown(LPARAM at, WPARAM keys, int button, PressKind kind) {
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (button == 1) {
        leftPress_ = p;
        leftPressKind_ = kind;
    }
    // On the bare background this runs the system's move loop and returns
    // when the move has ended.
    form_->pointerDown(toTwips(p.x), toTwips(p.y), button, shiftOf(keys));
}

void PanelWindow::pointerUp(LPARAM at) {
    if (!leftPress_) return;
    const POINT press = *leftPress_;
    leftPress_.reset();
    form_->pointerClick(toTwips(press.x), toTwips(press.y), toTwips(GET_X_LPARAM(at)),
                        toTwips(GET_Y_LPARAM(at)), leftPressKind_);
}

LRESULT PanelWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool attached = form_ != nullptr;
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && setPointer()) return TRUE;
            break;
        case WM_MOUSEMOVE:
            if (attached) pointerMove(lParam, wParam);
            return 0;
        case WM_LBUTTONDOWN:
            if (attached) pointerDown(lParam, wParam, 1, PressKind::Single);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (attached) pointerDown(lParam, wParam, 1, PressKind::SecondOfDouble);
            return 0;
        case WM_RBUTTONDOWN:
            if (attached) pointerDown(lParam, wParam, 2, PressKind::Single);
            return 0;
        case WM_MBUTTONDOWN:
            if (attached) pointerDown(lParam, wParam, 4, PressKind::Single);
            return 0;
        case WM_LBUTTONUP:
            if (attached) pointerUp(lParam);
            return 0;
        case WM_TIMER:
            if (attached && wParam == kTimer1) form_->Timer1_Timer();
            return 0;
        case WM_DPICHANGED:
            if (attached) {
                const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                window_->dpiChanged(HIWORD(wParam));
                fitToDpi(HIWORD(wParam));
            }
            return 0;
        case WM_CLOSE:
            // A close request from the system ends the program like Exit.
            if (attached) {
                form_->frmClose_Click();
            } else {
                DestroyWindow(hwnd_);
            }
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kTimer1);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace talvane
