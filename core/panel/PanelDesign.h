#pragma once

#include "app/PanelModel.h"

namespace talvane {

// The window's caption; the panel itself shows no title bar.
inline constexpr char16_t kFormCaption[] = u"Talvane2.0（IT版）";

// The part of the client area that carries content (the background picture,
// 250 x 660 pixels); the rest of the design size is cut away by the region.
inline constexpr float kPanelWidthTwips = 3750;
inline constexpr float kPanelHeightTwips = 9900;
inline constexpr float kClientDesignWidthTwips = 11565;

// Shown in both footer labels until an event list replaces it.
inline constexpr char16_t kFooterDesignCaption[] = u"更多研讨会资料(999场),随时点播...";
// The balloon heading of every row.
inline constexpr char16_t kBalloonHeading[] = u"会议详细信息：";

// Sample captions of the row labels; ShowRows replaces them before the
// window is first shown.
inline constexpr char16_t kTitleDesignCaption[] = u"Web云时代安全检查请仔细核对详细信息";
inline constexpr char16_t kStatusDesignCaption[] = u"已报名：1234人";
inline constexpr char16_t kTimeDesignCaption[] = u"时\u3000间：2008-12-12(14:30-16:30)";

// Every element of the window in its design state: all visible, single
// elements at their places, row elements parked outside the panel until
// LayoutRows puts them in place. The picture holders imgRed and imgBlue lie
// at the bottom of the stack, outside the visible region.
PanelModel CreatePanelDesign();

}  // namespace talvane
