#include "app/PanelDesign.h"

#include <utility>
#include <vector>

namespace talvane {

namespace {

using N = ElementName;

// Row elements wait beside the panel, where nothing of them can be seen,
// until LayoutRows gives them their places.
constexpr float kParkedLeft = kPanelWidthTwips + 150;
constexpr float kParkedTop = 0;

Element image(ElementId id, TwipRect rect, Picture picture = Picture::None,
              PointerShape pointer = PointerShape::Arrow) {
    Element e;
    e.id = id;
    e.kind = ElementKind::Image;
    e.rect = rect;
    e.picture = picture;
    e.pointer = pointer;
    return e;
}

Element label(ElementId id, TwipRect rect, std::u16string caption, FontRole font, ColourRole text,
              PointerShape pointer) {
    Element e;
    e.id = id;
    e.kind = ElementKind::Label;
    e.rect = rect;
    e.caption = std::move(caption);
    e.font = font;
    e.textColour = text;
    e.pointer = pointer;
    return e;
}

Element balloonLabel(ElementId id, TwipRect rect, std::u16string caption, FontRole font) {
    Element e =
        label(id, rect, std::move(caption), font, ColourRole::WindowText, PointerShape::Arrow);
    e.opaque = true;
    e.backColour = ColourRole::WindowBackground;
    return e;
}

TwipRect parked(float width, float height) { return {kParkedLeft, kParkedTop, width, height}; }

Element rowElement(ElementName name, int i) {
    const ElementId id{name, static_cast<std::int16_t>(i)};
    switch (name) {
        case N::ImgBack:
            return image(id, parked(3750, 1500), Picture::RowHighlight);
        case N::ImgNULL:
            return image(id, parked(3735, 1335));
        case N::imgArrow:
            return image(id, parked(240, 240), Picture::ArrowRed);
        case N::lblList:
            return label(id, parked(3015, 495), kTitleDesignCaption, FontRole::Arial9,
                         ColourRole::ButtonText, PointerShape::Hand);
        case N::lblReg:
            return label(id, parked(2865, 375), kStatusDesignCaption, FontRole::Default,
                         ColourRole::ButtonText, PointerShape::Hand);
        case N::lblTime:
            return label(id, parked(3015, 375), kTimeDesignCaption, FontRole::Default,
                         ColourRole::ButtonText, PointerShape::Hand);
        case N::imgNew:
            return image(id, parked(345, 165), Picture::NewBadge);
        case N::ImgContent:
            // The last row's balloon opens above its row, so its tip points down.
            return image(id, parked(3600, 2400),
                         i == kPanelRows - 1 ? Picture::BalloonTipBottom : Picture::BalloonTipTop);
        case N::txtMainTop:
            return balloonLabel(id, parked(1695, 255), kBalloonHeading, FontRole::Arial9Bold);
        case N::txtMainBottom:
            return balloonLabel(id, parked(3255, 1575), u"",
                                i == 0 ? FontRole::Arial9 : FontRole::Default);
        default:
            break;
    }
    return image(id, parked(0, 0));
}

Element singleElement(ElementName name) {
    const ElementId id{name, kSingle};
    switch (name) {
        case N::Image1:
            return image(id, {120, 840, 3495, 735}, Picture::None, PointerShape::Hand);
        case N::imgMini:
            return image(id, {2640, 0, 375, 255}, Picture::None, PointerShape::Hand);
        case N::imgClose:
            return image(id, {3000, 0, 615, 255}, Picture::None, PointerShape::Hand);
        case N::lblBottom2:
            return label(id, {200, 9490, 3495, 255}, kFooterDesignCaption, FontRole::Arial9Bold,
                         ColourRole::White, PointerShape::Hand);
        case N::lblBottom1:
            return label(id, {200, 9510, 3495, 255}, kFooterDesignCaption, FontRole::Arial9Bold,
                         ColourRole::Black, PointerShape::Arrow);
        case N::imgRed:
            return image(id, {6480, 1320, 240, 240}, Picture::ArrowRed);
        case N::imgBlue:
            return image(id, {5760, 1320, 240, 240}, Picture::ArrowBlue);
        default:
            break;
    }
    return image(id, {});
}

class StackBuilder {
  public:
    StackBuilder() { elements_.reserve(64); }
    void rows(ElementName name, int from, int downTo) {
        for (int i = from; i >= downTo; --i) {
            elements_.push_back(rowElement(name, i));
        }
    }
    void single(ElementName name) { elements_.push_back(singleElement(name)); }
    std::vector<Element> take() { return std::move(elements_); }

  private:
    std::vector<Element> elements_;
};

}  // namespace

PanelModel CreatePanelDesign() {
    // Topmost first. Row 0's badge and arrow lie beneath the hover areas
    // while those of rows 1 to 4 lie above the titles.
    StackBuilder s;
    s.rows(N::txtMainBottom, 4, 1);
    s.rows(N::txtMainTop, 4, 1);
    s.rows(N::txtMainBottom, 0, 0);
    s.rows(N::txtMainTop, 0, 0);
    s.rows(N::ImgContent, 4, 0);
    s.rows(N::imgNew, 4, 1);
    s.rows(N::imgArrow, 4, 1);
    s.rows(N::lblTime, 4, 0);
    s.rows(N::lblReg, 4, 0);
    s.rows(N::lblList, 4, 0);
    s.rows(N::ImgNULL, 4, 0);
    s.rows(N::imgNew, 0, 0);
    s.rows(N::imgArrow, 0, 0);
    s.rows(N::ImgBack, 4, 0);
    s.single(N::Image1);
    s.single(N::lblBottom2);
    s.single(N::lblBottom1);
    s.single(N::imgClose);
    s.single(N::imgMini);
    s.single(N::imgRed);
    s.single(N::imgBlue);
    return PanelModel(s.take());
}

}  // namespace talvane
