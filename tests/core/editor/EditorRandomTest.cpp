#include "EditorFixture.h"

#include <random>

namespace led {
namespace {

using RandomEditing = EditorFixture;

// Long random runs of everything an operator does to rows keep every row sound.
TEST_F(RandomEditing, RowsStayConsistent)
{
    const char* singles[] = {"a", "Z", "0", " ", "~", "ab"};
    const char* pairs[] = {"中", "文", "字", "幕", "機", "一", "★", "中文"};
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    bool sawFull = false, sawWide = false, sawSelection = false;

    for (int step = 0; step < 40000; ++step) {
        const int r = 1 + pick(3);
        const int action = pick(22);
        if (grid.focusedTextRow() == 0 || pick(10) == 0)
            grid.focusText(r);
        RowEditModel& field = row(grid.focusedTextRow());
        const std::size_t len = field.text().size();
        switch (action) {
        case 0:
        case 1:
        case 2:
            grid.typeText(singles[pick(6)]);
            break;
        case 3:
        case 4:
        case 5:
            grid.typeText(pairs[pick(8)]);
            break;
        case 6:
            commands.chbWIdeClick(pick(2) == 0);
            break;
        case 7:
            grid.keyDown(EditKey::Backspace);
            break;
        case 8:
            grid.keyDown(EditKey::Delete);
            break;
        case 9: {
            const EditKey keys[] = {EditKey::Left, EditKey::Right, EditKey::Home, EditKey::End};
            grid.keyDown(keys[pick(4)], {pick(2) == 0, false});
            break;
        }
        case 10: {
            const int from = grid.focusedTextRow();
            grid.mousePress(from, static_cast<std::size_t>(pick(static_cast<int>(len) + 2)));
            grid.mouseRelease(from, static_cast<std::size_t>(pick(static_cast<int>(len) + 2)));
            grid.click(from);
            break;
        }
        case 11:
            commands.EditCopy();
            break;
        case 12:
            commands.EditPaste();
            break;
        case 13:
            commands.EditCut();
            break;
        case 14:
            commands.EditDelete();
            break;
        case 15:
            commands.lCutpate(pick(3));
            break;
        case 16:
            commands.foreClick(1 + pick(4));
            break;
        case 17:
            commands.backClick(1 + pick(4));
            break;
        case 18:
            grid.keyDown(EditKey::Insert);
            break;
        case 19:
            commands.dgUserFontDblClick(pick(10), pick(10));
            break;
        case 20:
            commands.StringGrid1DblClick(pick(109));
            break;
        case 21:
            if (pick(20) == 0)
                setRow(r, "", "");
            break;
        }
        for (int k = 1; k <= 3; ++k) {
            ASSERT_TRUE(rowConsistent(row(k))) << "step " << step << " action " << action;
            sawFull = sawFull || row(k).text().size() == row(k).maxLength();
            sawWide = sawWide || row(k).attributes().find('\xA1') != Bytes::npos;
            sawSelection = sawSelection || row(k).hasSelection();
        }
    }
    // The run reached the states worth checking.
    EXPECT_TRUE(sawFull && sawWide && sawSelection);
    grid.commitRows();
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(doc.pairs()[k].text.size(), doc.pairs()[k].attr.size());
}

} // namespace
} // namespace led
