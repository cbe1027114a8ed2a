#include "app/PlainLook.h"

#include "app/AccessibleElements.h"

namespace talvane {

PlainPart PlainStandIn(const Element& image) {
    using K = PlainPart::Kind;
    switch (image.id.name) {
        case ElementName::Image1:
            return {K::Frame, SystemColour::Link, kBannerName};
        case ElementName::imgMini:
            return {K::Text, SystemColour::Link, u" —"};
        case ElementName::imgClose:
            return {K::Text, SystemColour::Link, u" ×"};
        default:
            break;
    }
    switch (image.picture) {
        case Picture::RowHighlight:
            return {K::Frame, SystemColour::Highlight, {}};
        case Picture::BalloonTipTop:
        case Picture::BalloonTipBottom:
            return {K::Box, SystemColour::WindowText, {}};
        case Picture::NewBadge:
            return {K::Badge, SystemColour::WindowText, kNewBadgeName};
        case Picture::ArrowRed:
            return {K::Text, SystemColour::WindowText, u"›"};
        case Picture::ArrowBlue:
            return {K::Text, SystemColour::Highlight, u"›"};
        case Picture::None:
            break;
    }
    return {};
}

std::optional<SystemColour> PlainTextColour(const Element& label) {
    if (label.textColour == ColourRole::Black) return std::nullopt;
    return label.pointer == PointerShape::Hand ? SystemColour::Link : SystemColour::WindowText;
}

}  // namespace talvane
