#include <gtest/gtest.h>

#include <vector>

#include "app/AccessibleElements.h"
#include "app/RowDisplay.h"
#include "service/RowTable.h"
#include "tests/core/panel/PanelTestSupport.h"

namespace talvane {
namespace {

using N = ElementName;

TEST(AccessibleElements, NamesAShortenedTitleByItsWholeText_AndLeavesEmptyRowsOut) {
    PanelModel m = testing::LaidOutPanel();
    RowTable table;
    const std::u16string whole =
        u"企业网络安全防护体系建设：从边界防御到纵深防御的全面升级与运维实践";
    table.RowFullTitle[0] = whole;
    table.RowTitle[0] = u"企业网络安全防护体系建设：从边界防御到纵深防御的全面升级与运...";
    table.RowTitle[2] = u"短标题";  // never shortened: no full text kept beside it
    ShowRows(m, table);

    std::vector<std::u16string> titles;
    for (const AccessibleElement& e : AccessibleElements(m)) {
        if (e.id.name == N::lblList) titles.push_back(e.name);
    }
    EXPECT_EQ(titles, (std::vector<std::u16string>{whole, u"短标题"}));
    EXPECT_EQ(FocusableRows(m), (std::vector<int>{0, 2}));
}

TEST(NextFocusRow, TabAndShiftTabGoRoundTheFocusableRows) {
    struct Case {
        std::vector<int> rows;
        int from;
        bool forward;
        int to;
    };
    const Case cases[] = {
        {{0, 1, 2, 3, 4}, -1, true, 0},   // first Tab: the top title
        {{0, 1, 2, 3, 4}, -1, false, 4},  // first Shift+Tab: the bottom one
        {{0, 1, 2, 3, 4}, 1, true, 2},
        {{0, 1, 2, 3, 4}, 4, true, 0},   // round from the last to the first
        {{0, 1, 2, 3, 4}, 0, false, 4},  // and back
        {{0, 2}, 0, true, 2},            // rows without a title are skipped
        {{0, 2}, 1, true, 0},            // a row that lost its title: start again
        {{3}, 3, true, 3},
        {{}, -1, true, -1},
        {{}, 2, false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextFocusRow(c.rows, c.from, c.forward), c.to)
            << "from " << c.from << (c.forward ? " forward" : " back");
    }
}

}  // namespace
}  // namespace talvane
