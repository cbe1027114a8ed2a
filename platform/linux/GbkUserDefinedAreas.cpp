#include "platform/linux/GbkUserDefinedAreas.h"

#include <array>

namespace talvane {
namespace {

struct TrailRange {
    unsigned char first;
    unsigned char last;
};

struct Area {
    unsigned char firstLead;
    unsigned char lastLead;
    // A row's trail bytes, in order; at most two runs.
    std::array<TrailRange, 2> trails;
    char16_t firstCharacter;
};

constexpr TrailRange kNone{1, 0};

constexpr std::array<Area, 3> kAreas = {{
    {0xAA, 0xAF, {{{0xA1, 0xFE}, kNone}}, 0xE000},
    {0xF8, 0xFE, {{{0xA1, 0xFE}, kNone}}, 0xE234},
    // The third area leaves out 0x7F, which is no trail byte anywhere.
    {0xA1, 0xA7, {{{0x40, 0x7E}, {0x80, 0xA0}}}, 0xE4C6},
}};

int rowLength(const Area& area) {
    int length = 0;
    for (const TrailRange& run : area.trails) {
        if (run.first <= run.last) length += run.last - run.first + 1;
    }
    return length;
}

int areaLength(const Area& area) { return (area.lastLead - area.firstLead + 1) * rowLength(area); }

}  // namespace

std::optional<char16_t> GbkUserDefinedToUnicode(unsigned char lead, unsigned char trail) {
    for (const Area& area : kAreas) {
        if (lead < area.firstLead || lead > area.lastLead) continue;
        int column = 0;
        for (const TrailRange& run : area.trails) {
            if (run.first <= trail && trail <= run.last) {
                const int offset =
                    (lead - area.firstLead) * rowLength(area) + column + (trail - run.first);
                return static_cast<char16_t>(area.firstCharacter + offset);
            }
            if (run.first <= run.last) column += run.last - run.first + 1;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GbkUserDefinedFromUnicode(char16_t c) {
    for (const Area& area : kAreas) {
        if (c < area.firstCharacter || c >= area.firstCharacter + areaLength(area)) continue;
        const int offset = c - area.firstCharacter;
        const int lead = area.firstLead + offset / rowLength(area);
        int column = offset % rowLength(area);
        for (const TrailRange& run : area.trails) {
            const int length = run.last - run.first + 1;
            if (column < length) {
                return std::string{static_cast<char>(lead), static_cast<char>(run.first + column)};
            }
            column -= length;
        }
    }
    return std::nullopt;
}

}  // namespace talvane
