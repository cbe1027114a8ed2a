#include "components/displaymsg-win/CardWindow.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "card/CardCountdown.h"
#include "card/CardLayout.h"
#include "card/CardPress.h"
#include "card/CardRoster.h"
#include "card/CardStack.h"
#include "components/displaymsg-win/CardPicture.h"
#include "components/displaymsg-win/GdiCardFonts.h"
#include "support/win32/GdiOwners.h"
#include "support/win32/ObjectWindowProc.h"

namespace talvane::displaymsg {

namespace {

constexpr UINT_PTR kExpiryTimer = 1;
constexpr UINT_PTR kProgressTimer = 2;
constexpr UINT kProgressIntervalMs = 100;

HINSTANCE cardModule = nullptr;
ATOM cardClass = 0;
card::CardRoster<HWND> cards;
int bottomGap = PopupTiming{}.bottomGap;
// Shared by the cards on screen; made again when the DPI differs.
std::weak_ptr<GdiCardFonts> sharedFonts;

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::shared_ptr<GdiCardFonts> fontsAt(int dpi) {
    std::shared_ptr<GdiCardFonts> fonts = sharedFonts.lock();
    if (!fonts || fonts->dpi() != dpi) {
        fonts = std::make_shared<GdiCardFonts>(dpi);
        sharedFonts = fonts;
    }
    return fonts;
}

std::wstring wide(std::u16string_view text) { return {text.begin(), text.end()}; }

struct Card {
    Card(const AlertText& alert, const std::u16string& shownMessage, int lifetimeMs, int dpi)
        : text(alert),
          message(shownMessage),
          fonts(fontsAt(dpi)),
          layout(card::layOutCard(
              {text.heading, text.time, text.title, text.note, !text.link.empty()}, *fonts, dpi)),
          countdown(lifetimeMs, steadyMs) {}

    AlertText text;
    std::u16string message;
    std::shared_ptr<GdiCardFonts> fonts;
    card::CardLayout layout;
    card::CardCountdown countdown;
    card::CardPress press;
    std::optional<CardPicture> picture;  // drawn once the window exists
    int barDrawn = 0;
    bool tracking = false;
    // Set when the window takes the card over: from WM_NCCREATE on, its
    // WM_NCDESTROY deletes the card, even when the creation fails later.
    bool* adopted = nullptr;

    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

Card* cardOf(HWND window) {
    return reinterpret_cast<Card*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The rest close up when one goes.
void placeCards() {
    const std::vector<HWND> newestFirst = cards.newestFirst();
    if (newestFirst.empty()) return;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<card::CardBox> sizes;
    for (HWND window : newestFirst) {
        const Card* card = cardOf(window);
        sizes.push_back({0, 0, card->layout.width, card->layout.height});
    }
    const std::vector<card::CardBox> places =
        card::stackCards({work.left, work.top, work.right - work.left, work.bottom - work.top},
                         sizes, bottomGap, cardOf(newestFirst.front())->fonts->dpi());
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        SetWindowPos(newestFirst[i], nullptr, places[i].left, places[i].top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Arms the timers for the countdown's state.
void followCountdown(HWND window, const Card& card) {
    if (card.countdown.running()) {
        SetTimer(window, kExpiryTimer, UINT(std::max(1, card.countdown.msUntilExpiry())), nullptr);
        SetTimer(window, kProgressTimer, kProgressIntervalMs, nullptr);
    } else {
        KillTimer(window, kExpiryTimer);
        KillTimer(window, kProgressTimer);
    }
}

// Invalidates only the part of the bar that changed since it was drawn.
void updateBar(HWND window, const Card& card) {
    const int width = card.countdown.barWidth(card.layout.progress.width);
    if (width == card.barDrawn) return;
    const card::CardBox& bar = card.layout.progress;
    const RECT changed = {bar.left + std::min(width, card.barDrawn), bar.top,
                          bar.left + std::max(width, card.barDrawn), bar.top + bar.height};
    InvalidateRect(window, &changed, FALSE);
}

card::Point pointOf(LPARAM position) { return {GET_X_LPARAM(position), GET_Y_LPARAM(position)}; }

bool overClose(const Card& card, card::Point at) { return card.layout.closeTarget.contains(at); }

void pressed(HWND window, Card& card, card::CardButton button, LPARAM position) {
    card.press.press(button, pointOf(position), card.layout);
    // The release comes here even off the card, so that it ends the press.
    SetCapture(window);
}

void released(HWND window, Card& card, card::CardButton button, LPARAM position) {
    const card::CardClick click =
        card.press.release(button, pointOf(position), card.layout, !card.text.link.empty());
    // After the press is read: giving the capture back reports it lost.
    if (GetCapture() == window) ReleaseCapture();
    switch (click) {
        case card::CardClick::Nothing:
            return;
        case card::CardClick::OpenAndClose: {
            const std::wstring link = wide(card.text.link);
            ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
        }
        case card::CardClick::Close:
            break;
    }
    DestroyWindow(window);
}

LRESULT Card::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            if (adopted != nullptr) *adopted = true;
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const win::PaintDc dc(window);
            barDrawn = countdown.barWidth(layout.progress.width);
            if (dc && picture) picture->paint(dc.get(), dc.dirty(), barDrawn);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT point;
                GetCursorPos(&point);
                ScreenToClient(window, &point);
                const bool hand = !text.link.empty() || overClose(*this, {point.x, point.y});
                SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            if (!tracking) {
                TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
                tracking = TrackMouseEvent(&track) != FALSE;
                countdown.pointerEntered();
                followCountdown(window, *this);
                updateBar(window, *this);
            }
            return 0;
        case WM_MOUSELEAVE:
            tracking = false;
            countdown.pointerLeft();
            followCountdown(window, *this);
            return 0;
        case WM_LBUTTONDOWN:
            pressed(window, *this, card::CardButton::Primary, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            pressed(window, *this, card::CardButton::Other, lParam);
            return 0;
        case WM_LBUTTONUP:
            released(window, *this, card::CardButton::Primary, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the pointer: the press will not end here.
            if (reinterpret_cast<HWND>(lParam) != window) press.lose();
            return 0;
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            released(window, *this, card::CardButton::Other, lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kExpiryTimer) {
                if (countdown.expired()) {
                    DestroyWindow(window);
                } else {
                    followCountdown(window, *this);  // a timer that came early
                }
            } else {
                updateBar(window, *this);
            }
            return 0;
        case WM_NCDESTROY: {
            delete this;
            if (cards.remove(window)) placeCards();
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool ensureClass(std::wstring& reason) {
    if (cardClass != 0) return true;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DROPSHADOW;
    windowClass.lpfnWndProc = &ObjectWindowProc<Card>;
    windowClass.hInstance = cardModule;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kCardClassName;
    cardClass = RegisterClassExW(&windowClass);
    if (cardClass == 0) reason = L"cannot register the card's window class";
    return cardClass != 0;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void setCardModule(HINSTANCE module) { cardModule = module; }

bool showCard(const AlertText& text, const PopupTiming& timing, const std::u16string& message,
              std::wstring& reason) {
    bottomGap = timing.bottomGap;
    if (const HWND* shown = cards.showing(message)) {
        Card* current = cardOf(*shown);
        current->countdown.restart();
        followCountdown(*shown, *current);
        updateBar(*shown, *current);
        SetWindowPos(*shown, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return true;
    }
    if (!ensureClass(reason)) return false;

    auto* card = new Card(text, message, timing.lifetimeMs, screenDpi());
    bool adopted = false;
    card->adopted = &adopted;
    const card::CardLayout& layout = card->layout;
    const std::wstring title =
        wide(card::shownText(text.title.empty() ? text.heading : text.title));
    HWND window = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                  kCardClassName, title.c_str(), WS_POPUP, 0, 0, layout.width,
                                  layout.height, nullptr, nullptr, cardModule, card);
    if (window == nullptr) {
        if (!adopted) delete card;
        reason = L"cannot create the card's window";
        return false;
    }
    card->adopted = nullptr;
    card->picture.emplace(layout, *card->fonts);
    SetWindowRgn(window,
                 CreateRoundRectRgn(0, 0, layout.width + 1, layout.height + 1, 2 * layout.radius,
                                    2 * layout.radius),
                 FALSE);
    for (HWND surplus : cards.add(window, message)) DestroyWindow(surplus);
    placeCards();
    followCountdown(window, *card);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return true;
}

int openCards() { return int(cards.size()); }

void releaseCardClass() {
    if (cardClass == 0) return;
    UnregisterClassW(kCardClassName, cardModule);
    cardClass = 0;
}

}  // namespace talvane::displaymsg
