#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace talvane {

// Seven parallel columns, slots 0 to 5; rows 0 to 4 are shown, slot 5 is
// never written or read.
struct RowTable {
    static constexpr int kSlots = 6;
    static constexpr int kRows = 5;

    std::array<std::u16string, kSlots> RowTitle;
    std::array<std::u16string, kSlots> RowViewUrl;
    std::array<std::u16string, kSlots> RowTimeUrl;
    std::array<std::u16string, kSlots> RowStatusText;
    std::array<std::u16string, kSlots> RowTimeText;
    std::array<std::u16string, kSlots> RowDetailText;
    std::array<std::int16_t, kSlots> RowShowNew{};  // True = -1, False = 0
};

}  // namespace talvane
