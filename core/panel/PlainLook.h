#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/Element.h"

namespace talvane {

// How the panel looks when the system asks for High Contrast: the system's
// colours only, no pictures. Each face maps these roles to its system's
// colours and draws what this says in place of the artwork.
enum class SystemColour : std::uint8_t { Window, WindowText, Link, Highlight };

// What stands for an image element: nothing, its text, a frame round its
// rectangle, a filled box with a frame (the balloon's body), or a badge: a
// frame with its text centred in a font made to fit the picture's small box,
// which the face's label font would overflow.
struct PlainPart {
    enum class Kind : std::uint8_t { None, Text, Frame, Box, Badge };
    Kind kind = Kind::None;
    SystemColour colour = SystemColour::WindowText;
    std::u16string text;  // Kind::Text and Kind::Badge; Kind::Frame may carry one too (the banner)
};

// The banner, minimise and close glyphs are part of the background picture:
// their hot areas carry them as text. A highlighted row is framed, not
// filled, so that its text keeps its colours.
PlainPart PlainStandIn(const Element& image);

// A label's text colour; nullopt for the footer's shadow, which the
// artwork needs and High Contrast does not. Links take the link colour.
std::optional<SystemColour> PlainTextColour(const Element& label);

}  // namespace talvane
