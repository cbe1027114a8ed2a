// Written by talvane-artwork-export from artwork/Artwork.h; do not edit.
#pragma once

namespace talvane::artcolour {

inline constexpr unsigned long kButtonText = 0x30261b;
inline constexpr unsigned long kWindowText = 0x000000;
inline constexpr unsigned long kWindowBackground = 0xffffff;
inline constexpr unsigned long kFooterText = 0xffffff;
inline constexpr unsigned long kFooterShadow = 0x000000;
inline constexpr unsigned long kPanelBackdrop = 0x372c07;

}  // namespace talvane::artcolour
