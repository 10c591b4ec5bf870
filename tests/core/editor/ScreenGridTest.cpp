#include "EditorFixture.h"

#include "core/document/CodeTables.h"
#include "core/document/Project.h"

namespace led {
namespace {

using Grid = EditorFixture;

TEST_F(Grid, RowsShowTheirScreensThroughTheConversions)
{
    doc.records()[9] = {0, 1, 0, 7, 3, 19, 19, 4};
    doc.pairs()[9] = {"hi", "AA"};
    grid.setPosition(5);
    const RowControls& c = grid.controls(5);
    EXPECT_EQ(c.number, "10");
    EXPECT_TRUE(c.display);
    EXPECT_EQ(c.speed, "7");
    EXPECT_EQ(c.stay, "3");
    EXPECT_EQ(c.front, big5("射入"));
    EXPECT_EQ(c.rear, big5("射出"));
    EXPECT_EQ(c.split, "4");
    EXPECT_EQ(row(5).text(), "hi");
}

TEST_F(Grid, ScrollingWritesEveryRowBackBeforeLoading)
{
    grid.focusText(1);
    grid.typeText("abc");
    grid.setCombo(2, RowCombo::Front, big5("雪花"));
    grid.setCombo(2, RowCombo::Split, big5("解除"));
    grid.setDisplay(3, true);
    grid.setPosition(8);
    EXPECT_EQ(doc.pairs()[0].text, "abc");
    EXPECT_EQ(doc.pairs()[0].attr, "AAA");
    EXPECT_EQ(doc.records()[1].front, 22);
    EXPECT_EQ(doc.records()[1].split, 255);
    EXPECT_EQ(doc.records()[2].display, 1);
    grid.setPosition(0);
    EXPECT_EQ(row(1).text(), "abc");
}

TEST_F(Grid, UnnamedCodesAreReplacedWhenARowIsWrittenBack)
{
    doc.records()[0].front = 1;
    doc.records()[0].rear = 11;
    grid.reloadRows();
    grid.commitRows();
    EXPECT_EQ(doc.records()[0].front, 0);
    EXPECT_EQ(doc.records()[0].rear, 255);
}

TEST_F(Grid, ReloadDoesNotWriteBack)
{
    grid.focusText(1);
    grid.typeText("x");
    grid.reloadRows();
    EXPECT_EQ(row(1).text(), "");
    EXPECT_EQ(doc.pairs()[0].text, "");
    EXPECT_EQ(grid.storedTop(), 0);
}

TEST_F(Grid, HiddenRowsPastScreen254AreNeitherShownNorWrittenBack)
{
    doc.records()[254].rear = 11;
    doc.records()[255].front = 24;
    grid.setPosition(248);
    EXPECT_TRUE(grid.controls(6).visible);
    EXPECT_FALSE(grid.controls(7).visible);
    EXPECT_FALSE(grid.controls(8).visible);
    grid.setPosition(240);
    EXPECT_EQ(doc.records()[254].rear, 11);
    EXPECT_EQ(doc.records()[255].front, 24);
}

TEST_F(Grid, NavigationKeys)
{
    const struct
    {
        int top, row;
        EditKey key;
        bool ctrl;
        int topAfter, rowAfter;
    } cases[] = {
        {248, 6, EditKey::Down, false, 248, 6}, {100, 6, EditKey::End, true, 248, 6},
        {3, 1, EditKey::PageUp, false, 0, 1},   {245, 1, EditKey::PageDown, false, 248, 1},
        {0, 1, EditKey::PageUp, false, 0, 1},   {0, 1, EditKey::Up, false, 0, 1},
        {5, 1, EditKey::Up, false, 4, 1},       {5, 4, EditKey::Up, false, 5, 3},
        {5, 8, EditKey::Down, false, 6, 8},     {5, 4, EditKey::Down, false, 5, 5},
        {5, 8, EditKey::Home, true, 0, 8},      {247, 6, EditKey::Down, false, 247, 7},
        {240, 8, EditKey::End, true, 248, 6},   {248, 6, EditKey::Up, false, 248, 5},
    };
    for (const auto& c : cases) {
        grid.setPosition(c.top);
        grid.focusText(c.row);
        grid.keyDown(c.key, {false, c.ctrl});
        EXPECT_EQ(grid.viewTop(), c.topAfter) << c.top << " row " << c.row;
        EXPECT_EQ(grid.focusedTextRow(), c.rowAfter) << c.top << " row " << c.row;
    }
}

TEST_F(Grid, NavigationCommitsTheRowsFirst)
{
    grid.setPosition(10);
    grid.focusText(1);
    grid.typeText("q");
    grid.keyDown(EditKey::PageDown);
    EXPECT_EQ(doc.pairs()[10].text, "q");
}

TEST_F(Grid, ActivationPassesTheFocusThroughTheShownRows)
{
    grid.setPosition(248);
    grid.focusText(3);
    row(3).setSelection(0, 0);
    EXPECT_FALSE(grid.FormActivate());
    EXPECT_EQ(grid.focusedTextRow(), 1);
    EXPECT_EQ(grid.lastEditedRow(), 6);

    settings.port = PortTcpIp;
    grid.setPosition(0);
    EXPECT_FALSE(grid.FormActivate()); // only the first activation opens the set-up
    EXPECT_EQ(grid.lastEditedRow(), 8);
}

TEST_F(Grid, FullRowMovesOnInOverwriteMode)
{
    const struct
    {
        int top, row;
        bool insert;
        bool moves;
    } cases[] = {
        {0, 1, false, true},
        {0, 1, true, false},
        {248, 6, false, false},
        {0, 8, false, false},
    };
    for (const auto& c : cases) {
        grid.setPosition(c.top);
        state.insertMode = c.insert;
        setRow(c.row, Bytes(19, 'x'), Bytes(19, 0x41));
        grid.focusText(c.row);
        grid.keyDown(EditKey::End);
        grid.typeText("y");
        EXPECT_EQ(row(c.row).text().size(), 20u);
        EXPECT_EQ(grid.focusedTextRow(), c.moves ? c.row + 1 : c.row) << c.top << " " << c.row;
        grid.keyDown(EditKey::Left);
        setRow(c.row, "", "");
    }
}

TEST_F(Grid, SplitListFollowsTheSignWidth)
{
    const auto items = ScreenGrid::splitList(10);
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[0], big5("繼續"));
    EXPECT_EQ(items[1], big5("解除"));
    EXPECT_EQ(items[2], "1");
    EXPECT_EQ(items.back(), "8");
    settings.signWidth = 21;
    grid.FormShow();
    EXPECT_EQ(grid.splitItems().back(), "19");
    EXPECT_EQ(row(1).maxLength(), 42u);
}

TEST_F(Grid, ShowRebuildsTheCurrentAttributeFromTheCaptions)
{
    setCurrentColours(settings, ForeYellow, BackGreen);
    state.wideBox = true;
    grid.FormShow();
    EXPECT_EQ(state.attribute, 0x05 | 0x08 | AttrWide);
    settings.colourCaptions = {};
    state.wideBox = false;
    grid.FormShow();
    EXPECT_EQ(state.attribute, 0x01);
}

TEST_F(Grid, InsertKeyTogglesTheMode)
{
    EXPECT_STREQ(state.modeText(), "新增");
    grid.keyDown(EditKey::Insert);
    EXPECT_STREQ(state.modeText(), "覆蓋");
}

TEST(GridProject, ServesAsTheProjectsCommitAndReload)
{
    Project project("/nonexistent-ledcaption-home");
    EditorState state;
    ScreenGrid grid(project.document(), project.settings(), state);
    grid.attachTo(project);
    grid.FormShow();
    grid.focusText(2);
    grid.typeText("ok");
    project.commitRows();
    EXPECT_EQ(project.document().pairs()[1].text, "ok");
    project.document().pairs()[1].text = "new";
    project.document().pairs()[1].attr = "AAA";
    project.reloadRows();
    EXPECT_EQ(grid.row(2).text(), "new");
}

} // namespace
} // namespace led
