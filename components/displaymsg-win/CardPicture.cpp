#include "components/displaymsg-win/CardPicture.h"

#include <algorithm>
#include <string>

#include "card/CardLook.h"

namespace talvane::displaymsg {

namespace {

using namespace card::look;
using card::CardFont;

constexpr COLORREF rgb(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

constexpr COLORREF kWhite = RGB(0xff, 0xff, 0xff);

COLORREF mixed(COLORREF from, COLORREF to, int toPart, int whole) {
    const auto channel = [&](int a, int b) { return (a * (whole - toPart) + b * toPart) / whole; };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

COLOR16 channel16(BYTE value) { return COLOR16(value << 8); }

void fill(HDC dc, const RECT& box, COLORREF colour) {
    const win::UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &box, brush.get());
}

// One call for the whole header, left to right from the accent to its light.
void fillHeader(HDC dc, const card::CardBox& header) {
    const COLORREF from = rgb(kAccent);
    const COLORREF to = rgb(kAccentLight);
    TRIVERTEX corners[2] = {
        {header.left, header.top, channel16(GetRValue(from)), channel16(GetGValue(from)),
         channel16(GetBValue(from)), 0},
        {header.left + header.width, header.top + header.height, channel16(GetRValue(to)),
         channel16(GetGValue(to)), channel16(GetBValue(to)), 0},
    };
    GRADIENT_RECT rect = {0, 1};
    GdiGradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_H);
}

void drawBell(HDC dc, card::Point centre, int dpi) {
    const double scale = dpi / 96.0;
    const auto px = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const auto at = [&](double x, double y) {
        return POINT{centre.x + LONG(x * scale + 0.5), centre.y + LONG(y * scale + 0.5)};
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
    Ellipse(dc, clapper.x - px(2), clapper.y - px(2), clapper.x + px(2) + 1, clapper.y + px(2));
    const POINT knob = at(0, -8.2);
    Ellipse(dc, knob.x - px(1), knob.y - px(1), knob.x + px(1) + 1, knob.y + px(1) + 1);
}

void drawText(HDC dc, const std::u16string& text, card::Point topLeft) {
    ExtTextOutW(dc, topLeft.x, topLeft.y, 0, nullptr, reinterpret_cast<const wchar_t*>(text.data()),
                UINT(text.size()), nullptr);
}

void drawBlock(HDC dc, const card::TextBlock& block) {
    card::Point at = block.topLeft;
    for (const std::u16string& line : block.lines) {
        drawText(dc, line, at);
        at.y += block.step;
    }
}

// The whole card onto dc, its bar barWidth wide.
void draw(HDC dc, const card::CardLayout& card, const GdiCardFonts& fonts, int barWidth) {
    const int w = card.width;
    const int h = card.height;
    const int dpi = fonts.dpi();
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    fill(dc, {0, 0, w, h}, kWhite);
    fillHeader(dc, card.header);
    {
        const win::SelectedObject brush(dc, GetStockObject(WHITE_BRUSH));
        const win::SelectedObject pen(dc, GetStockObject(NULL_PEN));
        drawBell(dc, card.bellCentre, dpi);
    }
    {
        const win::UniquePen cross(
            CreatePen(PS_SOLID, std::max(1, dpi / 72), mixed(rgb(kAccentLight), kWhite, 220, 255)));
        const win::SelectedObject pen(dc, cross.get());
        const card::Point c = card.closeCentre;
        const int arm = card.closeArm;
        MoveToEx(dc, c.x - arm, c.y - arm, nullptr);
        LineTo(dc, c.x + arm + 1, c.y + arm + 1);
        MoveToEx(dc, c.x - arm, c.y + arm, nullptr);
        LineTo(dc, c.x + arm + 1, c.y - arm - 1);
    }
    {
        const win::SelectedObject font(dc, fonts.font(CardFont::Heading));
        SetTextColor(dc, kWhite);
        drawText(dc, card.heading.text, card.heading.topLeft);
    }
    {
        const win::SelectedObject font(dc, fonts.font(CardFont::Title));
        SetTextColor(dc, rgb(kTitleColour));
        drawBlock(dc, card.title);
    }
    {
        const win::SelectedObject font(dc, fonts.font(CardFont::Text));
        if (!card.timeLabel.text.empty()) {
            SetTextColor(dc, rgb(kMutedColour));
            drawText(dc, card.timeLabel.text, card.timeLabel.topLeft);
            SetTextColor(dc, rgb(kAccent));
            drawText(dc, card.time.text, card.time.topLeft);
        }
        SetTextColor(dc, rgb(kTextColour));
        drawBlock(dc, card.body);
    }
    if (!card.footer.lines.empty()) {
        const card::CardBox& rule = card.rule;
        fill(dc, {rule.left, rule.top, rule.left + rule.width, rule.top + rule.height},
             rgb(kRuleColour));
        const win::SelectedObject font(dc, fonts.font(CardFont::Small));
        SetTextColor(dc, rgb(kAccent));
        drawBlock(dc, card.footer);
    }

    const card::CardBox& bar = card.progress;
    fill(dc, {bar.left, bar.top, bar.left + barWidth, bar.top + bar.height},
         mixed(kWhite, rgb(kAccent), 150, 255));

    // The border follows the window's own rounded outline, darker along
    // the header.
    const win::UniqueRegion outline(
        CreateRoundRectRgn(0, 0, w + 1, h + 1, 2 * card.radius, 2 * card.radius));
    const win::UniqueBrush border(CreateSolidBrush(rgb(kBorderColour)));
    FrameRgn(dc, outline.get(), border.get(), 1, 1);
    const win::UniqueRegion headerClip(CreateRectRgn(0, 0, w, card.header.height));
    SelectClipRgn(dc, headerClip.get());
    const win::UniqueBrush headerBorder(CreateSolidBrush(rgb(kHeaderBorderColour)));
    FrameRgn(dc, outline.get(), headerBorder.get(), 1, 1);
    SelectClipRgn(dc, nullptr);
}

}  // namespace

void CardPicture::Surface::make(HDC like, int width, int height) {
    dc.reset(CreateCompatibleDC(like));
    bitmap.reset(CreateCompatibleBitmap(like, width, height));
    if (dc && bitmap) selected.emplace(dc.get(), bitmap.get());
}

CardPicture::CardPicture(const card::CardLayout& layout, const GdiCardFonts& fonts)
    : layout_(layout) {
    {
        const win::WindowDc screen(nullptr);
        card_.make(screen.get(), layout.width, layout.height);
        bar_.make(screen.get(), layout.width, layout.progress.height);
    }
    if (!card_.ready() || !bar_.ready()) return;
    // The strip with the whole bar, border included, then the card without.
    draw(card_.dc.get(), layout, fonts, layout.progress.width);
    BitBlt(bar_.dc.get(), 0, 0, layout.width, layout.progress.height, card_.dc.get(), 0,
           layout.progress.top, SRCCOPY);
    draw(card_.dc.get(), layout, fonts, 0);
}

void CardPicture::paint(HDC target, const RECT& area, int barWidth) const {
    if (!card_.ready() || !bar_.ready()) return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
           card_.dc.get(), area.left, area.top, SRCCOPY);
    const card::CardBox& bar = layout_.progress;
    RECT full = {bar.left, bar.top, bar.left + barWidth, bar.top + bar.height};
    RECT shown = {};
    if (IntersectRect(&shown, &full, &area)) {
        BitBlt(target, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
               bar_.dc.get(), shown.left - bar.left, shown.top - bar.top, SRCCOPY);
    }
}

}  // namespace talvane::displaymsg
