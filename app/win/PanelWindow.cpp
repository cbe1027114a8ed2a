#include "app/win/PanelWindow.h"

#include <windowsx.h>

#include "app/FormShape.h"
#include "app/PanelDesign.h"
#include "app/PlainLook.h"
#include "app/frmMain.h"
#include "app/win/art/ArtColours.h"
#include "app/win/resource.h"
#include "input/Twips.h"
#include "platform/windows/SessionEnd.h"
#include "platform/windows/Win32Window.h"

namespace talvane {
namespace {

constexpr wchar_t kClassName[] = L"TalvanePanel";
constexpr UINT_PTR kTimer1 = 1;

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
}

void PanelWindow::attach(frmMain& form, Win32Window& window) {
    form_ = &form;
    window_ = &window;
    accessibility_.attach(hwnd_, form, keyboard_);
    colours_.refresh();
    fitToDpi(dpi_);
}

void PanelWindow::startTimer(UINT intervalMs) { SetTimer(hwnd_, kTimer1, intervalMs, nullptr); }

// Only the rounded visible area is ever seen, so the window is no larger;
// pictures, fonts and the pointer follow the DPI. The shape is computed
// once, at start-up; after a DPI change the window takes the same shape
// scaled to the new DPI (Win32Window::dpiChanged), and the background is
// carried to its edges, so the panel stays whole.
void PanelWindow::fitToDpi(UINT dpi) {
    dpi_ = dpi;
    const float tpp = twipsPerPixel();
    const RoundRectRegion* shaped = window_ != nullptr ? window_->visibleArea() : nullptr;
    const RoundRectRegion area = shaped != nullptr ? *shaped : TransparencyRegion(tpp, tpp);
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
    text_.prepare(win::WindowDc(hwnd_).get(), dpi_);
    const int size = MulDiv(32, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
    hand_.reset(static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr),
                                                MAKEINTRESOURCEW(IDC_HAND_POINTER), IMAGE_CURSOR,
                                                size, size, 0)));
}

float PanelWindow::twipsPerPixel() const { return TwipsPerPixel(static_cast<int>(dpi_)); }

POINT PanelWindow::toPixels(float xTwips, float yTwips) const {
    return {ToWholePixels(xTwips, twipsPerPixel()), ToWholePixels(yTwips, twipsPerPixel())};
}

float PanelWindow::toTwips(int pixels) const {
    return ToTwips(static_cast<float>(pixels), twipsPerPixel());
}

void PanelWindow::paint() {
    prepareForDpi();
    const win::PaintDc screen(hwnd_);
    const RECT& dirty = screen.dirty();
    const int width = dirty.right - dirty.left;
    const int height = dirty.bottom - dirty.top;
    if (!screen || width <= 0 || height <= 0) return;
    // Drawn off screen and copied in one go: no flicker while the hover
    // redraws a row.
    const win::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    const win::UniqueBitmap buffer(CreateCompatibleBitmap(screen.get(), width, height));
    if (!dc || !buffer) return;
    const win::SelectedObject selected(dc.get(), buffer.get());
    SetViewportOrgEx(dc.get(), -dirty.left, -dirty.top, nullptr);
    // The backdrop shows through the background picture's smoothed corners.
    const win::UniqueBrush backdrop(CreateSolidBrush(artcolour::kPanelBackdrop));
    FillRect(dc.get(), &dirty, backdrop.get());
    drawElements(dc.get(), dirty);
    SetViewportOrgEx(dc.get(), 0, 0, nullptr);
    BitBlt(screen.get(), dirty.left, dirty.top, width, height, dc.get(), 0, 0, SRCCOPY);
}

void PanelWindow::drawElements(HDC dc, const RECT& dirty) {
    const auto draw = [dc](const PanelBitmap& bitmap, POINT at) {
        DrawPicture(dc, bitmap, at.x, at.y, bitmap.width, bitmap.height);
    };
    const PanelBitmap& background = pictures_.background();
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (colours_.highContrast()) {
        colours_.drawPlainBackground(dc, client);
    } else {
        DrawBackgroundToEdges(dc, background, {background.width, background.height},
                              {client.right, client.bottom});
    }
    if (form_ == nullptr) return;

    const float tpp = twipsPerPixel();
    const TwipRect area =
        TwipsOfPixels({dirty.left, dirty.top, dirty.right, dirty.bottom}, tpp, tpp);
    for (const Element* element : form_->model().paintOrder(area)) {
        const Element& e = *element;
        const POINT topLeft = toPixels(e.rect.left, e.rect.top);
        const POINT bottomRight = toPixels(e.rect.right(), e.rect.bottom());
        const RECT box{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        if (e.kind == ElementKind::Image) {
            if (colours_.highContrast()) {
                colours_.drawPlainImage(dc, e, box, text_);
            } else if (e.picture != Picture::None) {
                draw(pictures_.picture(e.picture), topLeft);
            }
            continue;
        }
        if (colours_.highContrast() && !PlainTextColour(e)) continue;
        if (e.opaque) {
            const win::UniqueBrush back(CreateSolidBrush(colours_.fill(e.backColour)));
            FillRect(dc, &box, back.get());
        }
        if (!e.caption.empty()) text_.draw(dc, e.caption, e.font, colours_.text(e), box);
    }
    keyboard_.drawFocus(dc, *form_, dpi_);
}

bool PanelWindow::setPointer() {
    if (form_ == nullptr) return false;
    prepareForDpi();
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(hwnd_, &at);
    const bool hand = form_->pointerShapeAt(toTwips(at.x), toTwips(at.y)) == PointerShape::Hand;
    SetCursor(hand && hand_ ? hand_.get() : LoadCursorW(nullptr, IDC_ARROW));
    return true;
}

void PanelWindow::pointerMove(LPARAM at, WPARAM keys) {
    form_->pointerMove(toTwips(GET_X_LPARAM(at)), toTwips(GET_Y_LPARAM(at)), buttonsOf(keys),
                       shiftOf(keys));
}

void PanelWindow::pointerDown(LPARAM at, WPARAM keys, int button, PressKind kind) {
    // Held until the release, so that moves and the release reach the form
    // wherever the pointer goes, as on the other face. On the bare
    // background the form runs the system's move loop, which takes the
    // capture over and returns when the move has ended.
    SetCapture(hwnd_);
    form_->pointerDown(toTwips(GET_X_LPARAM(at)), toTwips(GET_Y_LPARAM(at)), button, shiftOf(keys),
                       kind);
}

void PanelWindow::pointerUp(LPARAM at, int button) {
    form_->pointerUp(toTwips(GET_X_LPARAM(at)), toTwips(GET_Y_LPARAM(at)), button);
    // After the form has had the release: letting go reports a lost capture.
    if (GetCapture() == hwnd_) ReleaseCapture();
}

LRESULT PanelWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool attached = form_ != nullptr;
    if (LRESULT result = 0; attached && accessibility_.handle(message, wParam, lParam, result)) {
        return result;
    }
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
            if (attached) pointerUp(lParam, 1);
            return 0;
        case WM_RBUTTONUP:
            if (attached) pointerUp(lParam, 2);
            return 0;
        case WM_MBUTTONUP:
            if (attached) pointerUp(lParam, 4);
            return 0;
        case WM_CAPTURECHANGED:
            if (attached) form_->pointerCaptureLost();
            return 0;
        case WM_KEYDOWN:
            if (attached && keyboard_.keyDown(hwnd_, *form_, wParam, dpi_)) return 0;
            break;
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
        case WM_SETTINGCHANGE:
            if (onSettingChange) onSettingChange(reinterpret_cast<const wchar_t*>(lParam));
            [[fallthrough]];
        case WM_SYSCOLORCHANGE:
            // High Contrast and the system's colours are followed live.
            colours_.refresh();
            InvalidateRect(hwnd_, nullptr, FALSE);
            break;
        case WM_ENDSESSION:
            if (!EndsProgram(message, wParam)) return 0;
            [[fallthrough]];
        case WM_CLOSE:
            // A close request from the system, a log-off or an installer's
            // Restart Manager ends the program like Exit.
            if (attached) {
                form_->frmClose_Click();
            } else {
                DestroyWindow(hwnd_);
            }
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kTimer1);
            accessibility_.detach();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace talvane
