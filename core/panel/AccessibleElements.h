#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Element.h"
#include "app/PanelModel.h"

namespace talvane {

// What a screen reader is told about the panel: the elements a user can
// read or act on, each with its role and its name. Both faces build their
// accessibility objects from this list; the default action of a link or a
// button is the element's own click (frmMain::elementClick).
enum class AccessibleRole : std::uint8_t { Link, Button, StaticText };

struct AccessibleElement {
    ElementId id;
    AccessibleRole role = AccessibleRole::StaticText;
    std::u16string name;
    bool operator==(const AccessibleElement&) const = default;
};

// Names of the parts that are pictures, not text; the banner's name is the
// slogan the banner shows.
inline constexpr char16_t kBannerName[] = u"精彩研讨会，随时在线参与";
inline constexpr char16_t kMinimiseName[] = u"最小化";
inline constexpr char16_t kCloseName[] = u"关闭";
inline constexpr char16_t kNewBadgeName[] = u"NEW";

// The visible ones, in reading order: banner, minimise, close, then row by
// row its title, status line, time line, badge and open balloon, then the
// footer. A label without text (a row with no event) is left out: there is
// nothing to read and its click does nothing. The footer's shadow repeats
// the footer and is left out too.
std::vector<AccessibleElement> AccessibleElements(const PanelModel& model);

// Rows whose title can take the keyboard focus, top to bottom.
std::vector<int> FocusableRows(const PanelModel& model);

}  // namespace talvane
