#include "components/displaymsg-win/CardWindow.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "components/displaymsg-win/CardAccessibility.h"
#include "components/displaymsg-win/CardAnnounce.h"
#include "components/displaymsg-win/TextLines.h"
#include "components/displaymsg/CardLook.h"
#include "components/displaymsg/CardStack.h"

namespace talvane::displaymsg {

namespace {

using namespace look;

// The close mark's target: at least 24 x 24 so that it is easy to hit.
constexpr int kCloseTarget = 28;

constexpr COLORREF rgb(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

constexpr COLORREF kWhite = RGB(0xff, 0xff, 0xff);

constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT_PTR kProgressTimer = 2;
constexpr UINT kProgressIntervalMs = 100;

HINSTANCE cardModule = nullptr;
ATOM cardClass = 0;
std::vector<HWND> cards;  // newest first
int bottomGap = PopupTiming{}.bottomGap;

COLORREF mixed(COLORREF from, COLORREF to, int toPart, int whole) {
    const auto channel = [&](int a, int b) { return (a * (whole - toPart) + b * toPart) / whole; };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

struct Fonts {
    HFONT heading, title, text, small;

    explicit Fonts(int dpi) {
        // The desktop's message font: Microsoft YaHei UI on a Chinese system.
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        const auto make = [&](int pixels, bool bold) {
            LOGFONTW font = metrics.lfMessageFont;
            font.lfHeight = -MulDiv(pixels, dpi, 96);
            font.lfWidth = 0;
            font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
            font.lfQuality = CLEARTYPE_QUALITY;
            return CreateFontIndirectW(&font);
        };
        heading = make(13, true);
        title = make(16, true);
        text = make(13, false);
        small = make(12, false);
    }
    ~Fonts() {
        for (HFONT font : {heading, title, text, small}) DeleteObject(font);
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
};

int lineHeight(HDC dc, HFONT font) {
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

struct Card {
    AlertText text;
    std::u16string message;
    int dpi = 96;
    int lifetimeMs = 10000;
    int remainingMs = 10000;
    ULONGLONG runningSince = 0;
    bool running = false;
    bool tracking = false;
    std::vector<std::wstring> titleLines;
    std::vector<std::wstring> noteLines;
    int width = 0;
    int height = 0;

    int px(int value) const { return MulDiv(value, dpi, 96); }
    std::wstring wide(const std::u16string& s) const { return {s.begin(), s.end()}; }

    RECT closeTarget() const {
        const int centreX = width - px(kPadding) - px(4);
        const int centreY = px(kHeaderHeight) / 2;
        const int half = px(kCloseTarget) / 2;
        return {centreX - half, centreY - half, centreX + half, centreY + half};
    }

    double remainingFraction() const {
        ULONGLONG left = remainingMs;
        if (running) {
            const ULONGLONG spent = GetTickCount64() - runningSince;
            left = spent >= ULONGLONG(remainingMs) ? 0 : remainingMs - spent;
        }
        return lifetimeMs <= 0 ? 0.0 : std::clamp(double(left) / lifetimeMs, 0.0, 1.0);
    }
};

Card* cardOf(HWND window) {
    return reinterpret_cast<Card*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The rest close up when one goes.
void placeCards() {
    if (cards.empty()) return;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<CardBox> sizes;
    for (HWND window : cards) {
        const Card* card = cardOf(window);
        sizes.push_back({0, 0, card->width, card->height});
    }
    const std::vector<CardBox> places =
        stackCards({work.left, work.top, work.right - work.left, work.bottom - work.top}, sizes,
                   bottomGap, cardOf(cards.front())->dpi);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        SetWindowPos(cards[i], nullptr, places[i].left, places[i].top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void layOut(Card& card) {
    const Fonts fonts(card.dpi);
    HDC dc = GetDC(nullptr);
    const int contentWidth = card.px(kWidth) - 2 * card.px(kPadding);
    HGDIOBJ old = SelectObject(dc, fonts.title);
    card.titleLines = wrapLines(dc, card.wide(card.text.title), contentWidth, 2);
    SelectObject(dc, fonts.text);
    card.noteLines = wrapLines(dc, card.wide(card.text.note), contentWidth, 3);
    SelectObject(dc, old);

    int height = card.px(kHeaderHeight) + card.px(14);
    height += int(card.titleLines.size()) * lineHeight(dc, fonts.title);
    if (!card.text.time.empty()) height += card.px(6) + lineHeight(dc, fonts.text);
    if (!card.noteLines.empty()) {
        height += card.px(6) +
                  int(card.noteLines.size()) * (lineHeight(dc, fonts.text) + card.px(kBodyLeading));
    }
    if (!card.text.link.empty()) height += card.px(10 + 1 + 8) + lineHeight(dc, fonts.small);
    height += card.px(14);
    ReleaseDC(nullptr, dc);
    card.width = card.px(kWidth);
    card.height = height;
}

void startCountdown(HWND window, Card& card) {
    card.runningSince = GetTickCount64();
    card.running = true;
    SetTimer(window, kCountdownTimer, UINT(card.remainingMs), nullptr);
    SetTimer(window, kProgressTimer, kProgressIntervalMs, nullptr);
}

void pauseCountdown(HWND window, Card& card) {
    if (!card.running) return;
    const ULONGLONG spent = GetTickCount64() - card.runningSince;
    card.remainingMs = spent >= ULONGLONG(card.remainingMs) ? 0 : int(card.remainingMs - spent);
    card.running = false;
    KillTimer(window, kCountdownTimer);
    KillTimer(window, kProgressTimer);
    InvalidateRect(window, nullptr, FALSE);
}

void restartCountdown(HWND window, Card& card) {
    KillTimer(window, kCountdownTimer);
    KillTimer(window, kProgressTimer);
    card.remainingMs = card.lifetimeMs;
    card.running = false;
    if (!card.tracking) startCountdown(window, card);
    InvalidateRect(window, nullptr, FALSE);
}

void drawBell(HDC dc, const Card& card, int centreX, int centreY) {
    const double scale = card.dpi / 96.0;
    const auto at = [&](double x, double y) {
        return POINT{centreX + LONG(x * scale + 0.5), centreY + LONG(y * scale + 0.5)};
    };
    BeginPath(dc);
    const POINT start = at(-7, 4.5);
    MoveToEx(dc, start.x, start.y, nullptr);
    const POINT edge[] = {at(7, 4.5), at(5.2, 2.2), at(5.2, -1.5)};
    PolylineTo(dc, edge, 3);
    const POINT dome[] = {at(5.2, -5.2),  at(2.9, -7.2),  at(0, -7.2),
                          at(-2.9, -7.2), at(-5.2, -5.2), at(-5.2, -1.5)};
    PolyBezierTo(dc, dome, 6);
    const POINT side = at(-5.2, 2.2);
    LineTo(dc, side.x, side.y);
    CloseFigure(dc);
    EndPath(dc);
    FillPath(dc);
    const POINT clapper = at(0, 6.6);
    Ellipse(dc, clapper.x - card.px(2), clapper.y - card.px(2), clapper.x + card.px(2) + 1,
            clapper.y + card.px(2));
    const POINT knob = at(0, -8.2);
    Ellipse(dc, knob.x - card.px(1), knob.y - card.px(1), knob.x + card.px(1) + 1,
            knob.y + card.px(1) + 1);
}

void drawText(HDC dc, const std::wstring& text, int x, int y, int right, UINT extra = 0) {
    RECT box = {x, y, right, y + 1000};
    DrawTextW(dc, text.c_str(), int(text.size()), &box,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | extra);
}

void paint(HDC target, const Card& card) {
    const int w = card.width;
    const int h = card.height;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const Fonts fonts(card.dpi);
    SetBkMode(dc, TRANSPARENT);

    const RECT all = {0, 0, w, h};
    HBRUSH white = CreateSolidBrush(kWhite);
    FillRect(dc, &all, white);

    const int header = card.px(kHeaderHeight);
    for (int x = 0; x < w; ++x) {
        HBRUSH column =
            CreateSolidBrush(mixed(rgb(kAccent), rgb(kAccentLight), x, std::max(1, w - 1)));
        const RECT strip = {x, 0, x + 1, header};
        FillRect(dc, &strip, column);
        DeleteObject(column);
    }

    HGDIOBJ oldBrush = SelectObject(dc, white);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    drawBell(dc, card, card.px(kPadding + 7), header / 2);

    const RECT close = card.closeTarget();
    const int closeX = (close.left + close.right) / 2;
    const int closeY = (close.top + close.bottom) / 2;
    HGDIOBJ oldFont = SelectObject(dc, fonts.heading);
    SetTextColor(dc, kWhite);
    {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        drawText(dc, card.wide(card.text.heading), card.px(kPadding + 22),
                 (header - metrics.tmHeight) / 2, closeX - card.px(12), DT_END_ELLIPSIS);
    }
    HPEN cross =
        CreatePen(PS_SOLID, std::max(1, card.dpi / 72), mixed(rgb(kAccentLight), kWhite, 220, 255));
    SelectObject(dc, cross);
    const int arm = card.px(4);
    MoveToEx(dc, closeX - arm, closeY - arm, nullptr);
    LineTo(dc, closeX + arm + 1, closeY + arm + 1);
    MoveToEx(dc, closeX - arm, closeY + arm, nullptr);
    LineTo(dc, closeX + arm + 1, closeY - arm - 1);
    SelectObject(dc, GetStockObject(NULL_PEN));
    DeleteObject(cross);

    const int left = card.px(kPadding);
    const int right = w - card.px(kPadding);
    int y = header + card.px(14);
    SelectObject(dc, fonts.title);
    SetTextColor(dc, rgb(kTitleColour));
    for (const std::wstring& line : card.titleLines) {
        drawText(dc, line, left, y, right);
        y += lineHeight(dc, fonts.title);
    }

    SelectObject(dc, fonts.text);
    if (!card.text.time.empty()) {
        y += card.px(6);
        const std::wstring label = L"时间：";
        SetTextColor(dc, rgb(kMutedColour));
        drawText(dc, label, left, y, right);
        SIZE size = {};
        GetTextExtentPoint32W(dc, label.c_str(), int(label.size()), &size);
        SetTextColor(dc, rgb(kAccent));
        drawText(dc, card.wide(card.text.time), left + size.cx, y, right, DT_END_ELLIPSIS);
        y += lineHeight(dc, fonts.text);
    }

    if (!card.noteLines.empty()) {
        y += card.px(6);
        SetTextColor(dc, rgb(kTextColour));
        for (const std::wstring& line : card.noteLines) {
            drawText(dc, line, left, y, right);
            y += lineHeight(dc, fonts.text) + card.px(kBodyLeading);
        }
    }

    if (!card.text.link.empty()) {
        y += card.px(10);
        HBRUSH rule = CreateSolidBrush(rgb(kRuleColour));
        const RECT line = {left, y, right, y + 1};
        FillRect(dc, &line, rule);
        DeleteObject(rule);
        y += 1 + card.px(8);
        SelectObject(dc, fonts.small);
        SetTextColor(dc, rgb(kAccent));
        drawText(dc, L"点击查看详情 \u203a", left, y, right);
    }

    const int bar = int(w * card.remainingFraction() + 0.5);
    HBRUSH progress = CreateSolidBrush(mixed(kWhite, rgb(kAccent), 150, 255));
    const RECT barRect = {0, h - card.px(kProgressHeight), bar, h};
    FillRect(dc, &barRect, progress);
    DeleteObject(progress);

    // The border follows the window's own rounded outline, darker along
    // the header.
    HRGN outline =
        CreateRoundRectRgn(0, 0, w + 1, h + 1, 2 * card.px(kRadius), 2 * card.px(kRadius));
    HBRUSH border = CreateSolidBrush(rgb(kBorderColour));
    FrameRgn(dc, outline, border, 1, 1);
    HRGN headerClip = CreateRectRgn(0, 0, w, header);
    SelectClipRgn(dc, headerClip);
    HBRUSH headerBorder = CreateSolidBrush(rgb(kHeaderBorderColour));
    FrameRgn(dc, outline, headerBorder, 1, 1);
    SelectClipRgn(dc, nullptr);
    for (HGDIOBJ object :
         {HGDIOBJ(outline), HGDIOBJ(border), HGDIOBJ(headerClip), HGDIOBJ(headerBorder)}) {
        DeleteObject(object);
    }

    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(white);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

bool overClose(const Card& card, LPARAM position) {
    const RECT close = card.closeTarget();
    const POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return PtInRect(&close, point) != FALSE;
}

void clicked(HWND window, Card& card, LPARAM position, bool primary) {
    if (primary && !overClose(card, position) && !card.text.link.empty()) {
        const std::wstring link = card.wide(card.text.link);
        ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    DestroyWindow(window);
}

LRESULT CALLBACK cardProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The window owns its card from here on: WM_NCDESTROY deletes it,
        // even when the creation fails later.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* owner = static_cast<std::unique_ptr<Card>*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(owner->release()));
    }
    Card* card = cardOf(window);
    if (card == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            paint(dc, *card);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT point;
                GetCursorPos(&point);
                ScreenToClient(window, &point);
                const bool hand =
                    !card->text.link.empty() || overClose(*card, MAKELPARAM(point.x, point.y));
                SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            if (!card->tracking) {
                TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
                card->tracking = TrackMouseEvent(&track) != FALSE;
                pauseCountdown(window, *card);
            }
            return 0;
        case WM_MOUSELEAVE:
            card->tracking = false;
            card->remainingMs = std::max(card->remainingMs, kGraceAfterHoverMs);
            startCountdown(window, *card);
            return 0;
        case WM_LBUTTONUP:
            clicked(window, *card, lParam, true);
            return 0;
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            clicked(window, *card, lParam, false);
            return 0;
        case WM_TIMER:
            if (wParam == kCountdownTimer) {
                DestroyWindow(window);
            } else {
                InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        case WM_GETOBJECT:
            if (LRESULT object = 0;
                answerCardObject(window, card->text, card->closeTarget(), wParam, lParam, object)) {
                return object;
            }
            break;
        case WM_NCDESTROY:
            forgetCardObject(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete card;
            if (std::erase(cards, window) > 0) placeCards();
            return DefWindowProcW(window, message, wParam, lParam);
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
    windowClass.lpfnWndProc = cardProcedure;
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
    for (HWND window : cards) {
        Card* current = cardOf(window);
        if (current != nullptr && current->message == message) {
            restartCountdown(window, *current);
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return true;
        }
    }
    if (!ensureClass(reason)) return false;

    auto owner = std::make_unique<Card>();
    Card* card = owner.get();
    card->text = text;
    card->message = message;
    card->dpi = screenDpi();
    card->lifetimeMs = card->remainingMs = timing.lifetimeMs;
    layOut(*card);

    const std::wstring title = card->wide(text.title.empty() ? text.heading : text.title);
    HWND window = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                  kCardClassName, title.c_str(), WS_POPUP, 0, 0, card->width,
                                  card->height, nullptr, nullptr, cardModule, &owner);
    if (window == nullptr) {
        reason = L"cannot create the card's window";
        return false;
    }
    SetWindowRgn(window,
                 CreateRoundRectRgn(0, 0, card->width + 1, card->height + 1, 2 * card->px(kRadius),
                                    2 * card->px(kRadius)),
                 FALSE);
    cards.insert(cards.begin(), window);
    while (cards.size() > std::size_t(kMostCards)) DestroyWindow(cards.back());
    placeCards();
    startCountdown(window, *card);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    announceCard(window, text);
    return true;
}

int openCards() { return int(cards.size()); }

void releaseCardClass() {
    if (cardClass == 0) return;
    UnregisterClassW(kCardClassName, cardModule);
    cardClass = 0;
}

}  // namespace talvane::displaymsg
