#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What a popup makes of DisplayAlert's arguments, in plain standard C++ so
// that the Qt card and the Windows card read a message the same way.
namespace talvane::displaymsg {

// What the popup makes of the message "e0||||||e1||||||e2||||||e3||||||e4":
//   element 0  heading  the kind of reminder ("研讨会即将开始"); "会议提醒" when empty
//   element 1  time     when the event starts, shown after "时间："
//   element 2  title    the event's title (the program has already shortened it)
//   element 3  link     the event's identifier: a click on the card opens the
//                       event page of the service for it and the client
//                       number; a full http or https address is opened as it
//                       is when it lies on the service's own origin (scheme,
//                       host and port); anything else gives no link
//   element 4  note     free text, wrapped to three lines at most
// Missing elements are empty; a sixth and later element are ignored. Line
// breaks, tabs and other control characters become spaces, white space runs
// become one space, and nothing is read as markup: the text comes from the
// network.
struct AlertText {
    std::u16string heading;
    std::u16string time;
    std::u16string title;
    std::u16string note;
    std::u16string link;  // empty when there is nothing to open

    bool operator==(const AlertText&) const = default;
};

// serviceBaseUrl is the scheme-and-host prefix of the service's pages.
AlertText parseAlertText(std::u16string_view message, std::u16string_view clientNumber,
                         std::u16string_view serviceBaseUrl);

// The two numbers DisplayAlert receives (103 and 50 from the program):
//   arg2  how long the popup stays, in tenths of a second (103 -> 10.3 s);
//         0 or less means 10 s, and it is kept within 1 s to 120 s
//   arg3  the gap in pixels between the popup and the bottom of the screen's
//         available area, which keeps it clear of a tray panel that the
//         desktop does not report; kept within 0 to 300, negative means 50
struct PopupTiming {
    int lifetimeMs = 10000;
    int bottomGap = 50;
    bool operator==(const PopupTiming&) const = default;
};

PopupTiming popupTimingFrom(std::int16_t arg2, std::int16_t arg3);

}  // namespace talvane::displaymsg
