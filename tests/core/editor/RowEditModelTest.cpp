#include "EditorFixture.h"

namespace led {
namespace {

const Bytes Zhong = big5("中"); // A4 A4
const Bytes Wen = big5("文");
const Bytes WideZhong = Zhong + Zhong;
const Bytes WideRed = bytesOf({0x21, 0x21, 0xA1, 0xA1});

using RowEdit = EditorFixture;

TEST_F(RowEdit, TypingWideIntoAnEmptyRowAndBackspacingIt)
{
    commands.chbWIdeClick(true);
    grid.focusText(1);
    EXPECT_EQ(grid.typeText("中"), 1u);
    EXPECT_EQ(row(1).text(), WideZhong);
    EXPECT_EQ(hexOf(row(1).attributes()), "21 21 A1 A1");
    EXPECT_EQ(row(1).caret(), 4u);
    EXPECT_FALSE(doc.saved());

    grid.keyDown(EditKey::Backspace);
    EXPECT_EQ(row(1).text(), "");
    EXPECT_EQ(row(1).attributes(), "");
}

TEST_F(RowEdit, TypedSingleByteTakesTheColourPair)
{
    const struct
    {
        int fore, back;
        int attr;
    } cases[] = {{2, 1, 0x41}, {3, 4, 0x4D}, {4, 2, 0x46}, {1, 3, 0x4A}, {3, 3, 0x4F}};
    for (const auto& c : cases) {
        setRow(1, "", "");
        commands.foreClick(c.fore);
        commands.backClick(c.back);
        grid.focusText(1);
        grid.typeText("A");
        EXPECT_EQ(row(1).attributes(), bytesOf({c.attr})) << c.fore << "/" << c.back;
        grid.typeText("中");
        EXPECT_EQ(row(1).attributes().substr(1), bytesOf({c.attr & 0x1F, c.attr & 0x1F}));
    }
}

TEST_F(RowEdit, SingleColourSignHasNoYellowOrGreen)
{
    settings.colorSet = 1;
    commands.foreClick(3);
    commands.backClick(4);
    EXPECT_EQ(state.attribute, 0x01);
    EXPECT_FALSE(commands.panelShown(4));
}

TEST_F(RowEdit, RefusalsAtTheByteLimit)
{
    const struct
    {
        std::size_t length;
        bool wide;
        const char* typed;
        bool accepted;
    } cases[] = {
        {19, false, "中", false}, {18, false, "中", true}, {19, false, "a", true},
        {20, false, "a", false},  {17, true, "中", false}, {16, true, "中", true},
        {0, true, "中", true},
    };
    for (const auto& c : cases) {
        const Bytes before(c.length, 'x');
        setRow(1, before, Bytes(c.length, 0x41));
        commands.chbWIdeClick(c.wide);
        grid.focusText(1);
        grid.keyDown(EditKey::End);
        grid.typeText(c.typed);
        EXPECT_EQ(row(1).text() != before, c.accepted) << c.length << " " << c.typed;
        EXPECT_TRUE(rowConsistent(row(1)));
        EXPECT_FALSE(state.swallow);
    }
}

TEST_F(RowEdit, RefusedPairLeavesNoTrailByteAndTheNextCharacterGoesIn)
{
    setRow(1, Bytes(19, 'x'), Bytes(19, 0x41));
    grid.focusText(1);
    grid.keyDown(EditKey::End);
    EXPECT_EQ(grid.typeText("中b"), 1u);
    EXPECT_EQ(row(1).text(), Bytes(19, 'x') + "b");
}

TEST_F(RowEdit, CharacterOutsideTheCodePageIsRefused)
{
    grid.focusText(1);
    EXPECT_EQ(grid.typeText("a😀b"), 2u);
    EXPECT_EQ(row(1).text(), "ab");
}

TEST_F(RowEdit, OverwriteReplacesWholeElements)
{
    const Bytes singles = bytesOf({0x41, 0x41});
    const struct
    {
        Bytes text, attr;
        const char* typed;
        bool wide;
        Bytes expected;
    } cases[] = {
        {"ab", singles, "中", false, Zhong},
        {WideZhong, WideRed, "文", false, Wen},
        {WideZhong, WideRed, "x", false, "x"},
        {"abc", singles + "A", "中", true, Zhong + Zhong},
        {Zhong + "c", bytesOf({1, 1, 0x41}), "x", false, "xc"},
        {"abcd", singles + singles, "x", false, "xbcd"},
    };
    for (const auto& c : cases) {
        state.insertMode = false;
        setRow(1, c.text, c.attr);
        commands.chbWIdeClick(c.wide);
        grid.focusText(1);
        grid.typeText(c.typed);
        EXPECT_EQ(row(1).text(), c.expected) << c.typed << " over " << hexOf(c.text);
        EXPECT_TRUE(rowConsistent(row(1)));
    }
}

TEST_F(RowEdit, OverwriteRefusesAPairTooCloseToTheLimit)
{
    state.insertMode = false;
    setRow(1, Bytes(20, 'x'), Bytes(20, 0x41));
    grid.focusText(1);
    row(1).setCaret(19);
    grid.typeText("中");
    EXPECT_EQ(row(1).text(), Bytes(20, 'x'));
    row(1).setCaret(18);
    grid.typeText("中");
    EXPECT_EQ(row(1).text(), Bytes(18, 'x') + Zhong);
}

TEST_F(RowEdit, ClickBetweenTheCopiesLandsAfterTheWideCharacter)
{
    setRow(1, "a" + WideZhong + "b", "A" + WideRed + "A");
    const struct
    {
        std::size_t clicked, caret;
    } cases[] = {{0, 0}, {1, 1}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 6}};
    for (const auto& c : cases) {
        grid.mousePress(1, c.clicked);
        grid.mouseRelease(1, c.clicked);
        EXPECT_EQ(row(1).caret(), c.caret) << c.clicked;
        EXPECT_FALSE(state.buttonsEnabled);
    }
}

TEST_F(RowEdit, MouseSelectionTakesWideCharactersWhole)
{
    setRow(1, "a" + WideZhong + "b", "A" + WideRed + "A");
    grid.mousePress(1, 0);
    grid.mouseRelease(1, 3);
    EXPECT_EQ(row(1).selStart(), 0u);
    EXPECT_EQ(row(1).selEnd(), 5u);
    EXPECT_TRUE(state.buttonsEnabled);
    EXPECT_TRUE(state.recolourArmed);
}

TEST_F(RowEdit, BackspaceAndDeleteRemoveWideCharactersWhole)
{
    const Bytes text = "a" + WideZhong + "b";
    const Bytes attr = "A" + WideRed + "A";
    const struct
    {
        EditKey key;
        std::size_t caret;
        Bytes expected;
        std::size_t caretAfter;
    } cases[] = {
        {EditKey::Backspace, 5, "ab", 1},
        {EditKey::Delete, 1, "ab", 1},
        {EditKey::Backspace, 6, "a" + WideZhong, 5},
        {EditKey::Delete, 0, WideZhong + "b", 0},
        {EditKey::Backspace, 0, text, 0},
        {EditKey::Delete, 6, text, 6},
    };
    for (const auto& c : cases) {
        setRow(1, text, attr);
        grid.focusText(1);
        row(1).setCaret(c.caret);
        grid.keyDown(c.key);
        EXPECT_EQ(row(1).text(), c.expected) << c.caret;
        EXPECT_EQ(row(1).caret(), c.caretAfter) << c.caret;
        EXPECT_TRUE(rowConsistent(row(1)));
    }
}

TEST_F(RowEdit, DeleteKeyMarksTheDocumentChanged)
{
    setRow(1, "ab", "AA");
    grid.focusText(1);
    doc.setSaved(true);
    grid.keyDown(EditKey::Delete);
    EXPECT_EQ(row(1).text(), "b");
    EXPECT_FALSE(doc.saved());
}

TEST_F(RowEdit, ArrowsStepOverWideCharactersAndPairs)
{
    setRow(1, "a" + WideZhong + Wen + "b", "A" + WideRed + bytesOf({1, 1}) + "A");
    grid.focusText(1);
    const struct
    {
        EditKey key;
        bool shift;
        std::size_t start, end;
    } steps[] = {
        {EditKey::Right, false, 1, 1}, {EditKey::Right, false, 5, 5}, {EditKey::Right, false, 7, 7},
        {EditKey::Left, false, 5, 5},  {EditKey::Left, false, 1, 1},  {EditKey::Right, true, 1, 5},
        {EditKey::Right, true, 1, 7},  {EditKey::Left, true, 1, 5},   {EditKey::End, false, 8, 8},
        {EditKey::Home, true, 0, 8},
    };
    for (const auto& s : steps) {
        grid.keyDown(s.key, {s.shift, false});
        EXPECT_EQ(row(1).selStart(), s.start);
        EXPECT_EQ(row(1).selEnd(), s.end);
    }
}

TEST_F(RowEdit, TypingReplacesTheSelection)
{
    setRow(1, "abcd", "AAAA");
    grid.focusText(1);
    row(1).setSelection(1, 3);
    grid.typeText("中");
    EXPECT_EQ(row(1).text(), "a" + Zhong + "d");
    EXPECT_TRUE(rowConsistent(row(1)));
}

TEST_F(RowEdit, FullRowRefusesAWideCharacterOverASingleByteSelection)
{
    setRow(1, Bytes(20, 'x'), Bytes(20, 0x41));
    commands.chbWIdeClick(true);
    grid.focusText(1);
    row(1).setSelection(0, 1);
    grid.typeText("中");
    EXPECT_EQ(row(1).text(), Bytes(20, 'x'));
    EXPECT_TRUE(rowConsistent(row(1)));
}

TEST_F(RowEdit, InsertingBeforeEqualTextKeepsEachCharactersColour)
{
    // Green "a" typed in front of a red "a": the colours stay with their characters.
    setRow(1, "a", bytesOf({0x41}));
    commands.foreClick(4);
    grid.focusText(1);
    grid.typeText("a");
    EXPECT_EQ(hexOf(row(1).attributes()), "44 41");
}

TEST_F(RowEdit, StoredAttributeStringOfTheWrongLengthIsFitted)
{
    setRow(1, "ab" + Zhong, "A");
    EXPECT_EQ(hexOf(row(1).attributes()), "41 41 01 01");
}

} // namespace
} // namespace led
