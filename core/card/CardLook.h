#pragma once

// The reminder card's measures and colours, shared by the Qt card and the
// Windows card so that both look alike. Measures are pixels at 96 dpi.
namespace talvane::card::look {

inline constexpr int kWidth = 320;
inline constexpr int kRadius = 10;
inline constexpr int kHeaderHeight = 36;
inline constexpr int kPadding = 16;
inline constexpr int kProgressHeight = 3;
inline constexpr int kBodyLeading = 3;
// The countdown never ends sooner than this after the mouse has left.
inline constexpr int kGraceAfterHoverMs = 2000;
// Heading, time, title and note are cut to this many UTF-16 units before
// they are laid out, as the panel cuts its texts: a message of megabytes
// must not cost a line break per repaint.
inline constexpr int kLongestShownText = 256;

struct Rgb {
    int red;
    int green;
    int blue;
};

inline constexpr Rgb kAccent{0x1d, 0x6b, 0xd6};
inline constexpr Rgb kAccentLight{0x3a, 0x8b, 0xf0};
inline constexpr Rgb kTitleColour{0x1f, 0x29, 0x37};
inline constexpr Rgb kTextColour{0x4b, 0x55, 0x63};
inline constexpr Rgb kMutedColour{0x8a, 0x94, 0xa3};
inline constexpr Rgb kRuleColour{0xe5, 0xe9, 0xf0};
inline constexpr Rgb kBorderColour{0xb8, 0xc4, 0xd6};
inline constexpr Rgb kHeaderBorderColour{0x17, 0x56, 0xb0};

}  // namespace talvane::card::look
