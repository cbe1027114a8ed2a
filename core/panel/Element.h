#pragma once

#include <cstdint>
#include <string>

#include "platform/Geometry.h"

namespace talvane {

// The panel's windowless elements. The first ten names are row arrays with
// indices 0 to 4 (element i belongs to row i); the rest are single elements.
enum class ElementName : std::uint8_t {
    txtMainBottom,
    txtMainTop,
    ImgContent,
    imgNew,
    imgArrow,
    lblTime,
    lblReg,
    lblList,
    ImgNULL,
    ImgBack,
    Image1,
    lblBottom2,
    lblBottom1,
    imgClose,
    imgMini,
    imgRed,
    imgBlue,
};

inline constexpr int kElementNameCount = static_cast<int>(ElementName::imgBlue) + 1;
inline constexpr int kPanelRows = 5;

constexpr bool IsRowArray(ElementName name) { return name <= ElementName::ImgBack; }

// Index of a single element.
inline constexpr std::int16_t kSingle = -1;

struct ElementId {
    ElementName name = ElementName::Image1;
    std::int16_t index = kSingle;  // 0..4 for row arrays, -1 for single elements
    bool operator==(const ElementId&) const = default;
};

constexpr bool IsValidElementId(ElementName name, int index) {
    return IsRowArray(name) ? (index >= 0 && index < kPanelRows) : index == kSingle;
}

enum class ElementKind : std::uint8_t { Image, Label };

// Pictures are roles; each face draws its own artwork for them.
enum class Picture : std::uint8_t {
    None,
    ArrowRed,
    ArrowBlue,
    NewBadge,
    BalloonTipTop,
    BalloonTipBottom,
    RowHighlight
};

enum class PointerShape : std::uint8_t { Arrow, Hand };
enum class FontRole : std::uint8_t { Default, Arial9, Arial9Bold };
enum class ColourRole : std::uint8_t { ButtonText, WindowText, WindowBackground, White, Black };

// An image shows its picture unscaled from the top-left corner of rect; a
// label draws caption left-aligned, wrapped at rect's width and cut at its
// bottom. Either kind takes pointer events over its whole rect while visible.
struct Element {
    ElementId id;
    ElementKind kind = ElementKind::Image;
    TwipRect rect;
    bool visible = true;
    Picture picture = Picture::None;
    std::u16string caption;
    FontRole font = FontRole::Default;
    ColourRole textColour = ColourRole::ButtonText;
    bool opaque = false;  // labels only: fill rect with backColour before the text
    ColourRole backColour = ColourRole::WindowBackground;
    PointerShape pointer = PointerShape::Arrow;
};

// "lblList" etc., for tests and debug output.
constexpr const char* ElementNameText(ElementName name) {
    switch (name) {
        case ElementName::txtMainBottom:
            return "txtMainBottom";
        case ElementName::txtMainTop:
            return "txtMainTop";
        case ElementName::ImgContent:
            return "ImgContent";
        case ElementName::imgNew:
            return "imgNew";
        case ElementName::imgArrow:
            return "imgArrow";
        case ElementName::lblTime:
            return "lblTime";
        case ElementName::lblReg:
            return "lblReg";
        case ElementName::lblList:
            return "lblList";
        case ElementName::ImgNULL:
            return "ImgNULL";
        case ElementName::ImgBack:
            return "ImgBack";
        case ElementName::Image1:
            return "Image1";
        case ElementName::lblBottom2:
            return "lblBottom2";
        case ElementName::lblBottom1:
            return "lblBottom1";
        case ElementName::imgClose:
            return "imgClose";
        case ElementName::imgMini:
            return "imgMini";
        case ElementName::imgRed:
            return "imgRed";
        case ElementName::imgBlue:
            return "imgBlue";
    }
    return "?";
}

}  // namespace talvane
