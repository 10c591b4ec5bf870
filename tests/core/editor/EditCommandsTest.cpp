#include "EditorFixture.h"

#include "core/editor/Palettes.h"

namespace led {
namespace {

const Bytes Zhong = big5("中");
const Bytes WideZhong = Zhong + Zhong;

using Commands = EditorFixture;

TEST_F(Commands, CopyAndPasteCarryColoursAndWideCharacters)
{
    const Bytes attr = bytesOf({0x44, 0x24, 0x24, 0xA4, 0xA4, 0x4D});
    setRow(1, "a" + WideZhong + "b", attr);
    grid.focusText(1);
    row(1).setSelection(0, 6);
    commands.EditCopy();
    EXPECT_EQ(row(1).text(), "a" + WideZhong + "b");
    grid.focusText(2);
    EXPECT_TRUE(commands.EditPaste().changed);
    EXPECT_EQ(row(2).text(), "a" + WideZhong + "b");
    EXPECT_EQ(row(2).attributes(), attr);
    EXPECT_EQ(row(2).caret(), 1u);
}

TEST_F(Commands, CutAndDeleteRemoveTheSelection)
{
    setRow(1, "ab" + Zhong + "c", bytesOf({0x41, 0x41, 1, 1, 0x41}));
    grid.focusText(1);
    row(1).setSelection(1, 4);
    commands.EditCut();
    EXPECT_EQ(row(1).text(), "ac");
    EXPECT_EQ(commands.clipboard().text, "b" + Zhong);
    EXPECT_EQ(commands.clipboard().attr, bytesOf({0x41, 1, 1}));
    row(1).setSelection(0, 1);
    commands.EditDelete();
    EXPECT_EQ(row(1).text(), "c");
    EXPECT_EQ(commands.clipboard().text, "b" + Zhong);
    EXPECT_TRUE(rowConsistent(row(1)));
}

TEST_F(Commands, PasteLimits)
{
    const struct
    {
        std::size_t rowLength, selection, pasted;
        bool accepted;
    } cases[] = {
        {18, 0, 10, false}, {18, 8, 10, true}, {0, 0, 10, true},
        {0, 0, 21, false},  {10, 0, 10, true}, {11, 0, 10, false},
    };
    for (const auto& c : cases) {
        setRow(1, Bytes(c.rowLength, 'r'), Bytes(c.rowLength, 0x41));
        commands.setClipboard({Bytes(c.pasted, 'p'), Bytes(c.pasted, 0x41)});
        grid.focusText(1);
        row(1).setSelection(0, c.selection);
        state.buttonsEnabled = true;
        const EditResult result = commands.EditPaste();
        EXPECT_EQ(result.changed, c.accepted) << c.rowLength << "+" << c.pasted;
        EXPECT_EQ(result.status, c.accepted ? "" : texts::PasteTooLong);
        EXPECT_EQ(row(1).text().size(),
                  c.accepted ? c.rowLength - c.selection + c.pasted : c.rowLength);
        EXPECT_FALSE(state.buttonsEnabled);
        EXPECT_TRUE(rowConsistent(row(1)));
    }
}

TEST_F(Commands, AlignmentPadsTheSelectionWithinTheLimit)
{
    const struct
    {
        std::size_t selected;
        int mode;
        std::size_t spaces;
    } cases[] = {{7, 1, 6}, {9, 1, 6}, {7, 2, 13}, {7, 0, 0}, {8, 1, 6}, {20, 1, 0}};
    for (const auto& c : cases) {
        setRow(1, "<" + Bytes(c.selected, 's') + ">", Bytes(c.selected + 2, 0x41));
        grid.focusText(1);
        row(1).setSelection(1, 1 + c.selected);
        commands.lCutpate(c.mode);
        EXPECT_EQ(row(1).text(), Bytes(c.spaces, ' ') + Bytes(c.selected, 's'))
            << c.selected << " mode " << c.mode;
        EXPECT_EQ(row(1).attributes(), Bytes(c.spaces + c.selected, 0x41));
        EXPECT_EQ(commands.clipboard().text, row(1).text());
    }
    grid.focusText(2);
    commands.EditPaste();
    EXPECT_EQ(row(2).text(), Bytes(20, 's'));
}

TEST_F(Commands, AlignmentWithoutSelectionDoesNothing)
{
    setRow(1, "abc", "AAA");
    grid.focusText(1);
    EXPECT_FALSE(commands.lCutpate(1).changed);
    EXPECT_EQ(row(1).text(), "abc");
}

TEST_F(Commands, RecolouringKeepsEachElementsKind)
{
    setRow(1, "a" + WideZhong + Zhong, bytesOf({0x41, 0x21, 0x21, 0xA1, 0xA1, 0x01, 0x01}));
    grid.focusText(1);
    grid.mousePress(1, 0);
    grid.mouseRelease(1, 7);
    ASSERT_TRUE(state.recolourArmed);
    commands.foreClick(4);
    EXPECT_EQ(hexOf(row(1).attributes()), "44 24 24 A4 A4 04 04");
    EXPECT_EQ(row(1).caret(), 7u);
    EXPECT_FALSE(row(1).hasSelection());
    EXPECT_FALSE(state.recolourArmed);

    // A further click only changes the current attribute.
    commands.backClick(2);
    EXPECT_EQ(hexOf(row(1).attributes()), "44 24 24 A4 A4 04 04");
    EXPECT_EQ(state.attribute, 0x06);
}

TEST_F(Commands, RecolouringWithTheWideBoxClearsItsBitUntilTheNextKey)
{
    setRow(1, WideZhong + Zhong, bytesOf({0x21, 0x21, 0xA1, 0xA1, 0x01, 0x01}));
    commands.chbWIdeClick(true);
    grid.focusText(1);
    grid.mousePress(1, 0);
    grid.mouseRelease(1, 6);
    commands.foreClick(3);
    EXPECT_EQ(hexOf(row(1).attributes()), "25 25 A5 A5 05 05");
    EXPECT_EQ(state.attribute & AttrWide, 0);
    grid.keyDown(EditKey::End);
    EXPECT_EQ(state.attribute & AttrWide, AttrWide);
}

TEST_F(Commands, InsertLineAtTheEdges)
{
    doc.pairs()[0] = {"one", "AAA"};
    doc.records()[0].speed = 9;
    doc.pairs()[253] = {"last", "AAAA"};
    grid.reloadRows();
    grid.focusControl(1);
    EXPECT_TRUE(commands.EditInsertLine().changed);
    EXPECT_EQ(doc.pairs()[0].text, "");
    EXPECT_EQ(doc.records()[0], TScreenRec{});
    EXPECT_EQ(doc.pairs()[1].text, "one");
    EXPECT_EQ(doc.records()[1].speed, 9);
    EXPECT_EQ(doc.pairs()[254].text, "last"); // screen 254 pushed into the hidden slot
    EXPECT_EQ(row(1).text(), "");
    EXPECT_EQ(row(2).text(), "one");

    // Now the last slot holds text: refused, nothing moves.
    EXPECT_TRUE(commands.EditInsertLine().changed);
    const Document before = doc;
    const EditResult refused = commands.EditInsertLine();
    EXPECT_FALSE(refused.changed);
    EXPECT_EQ(refused.warning, texts::LastLineHasData);
    EXPECT_TRUE(doc == before);
}

TEST_F(Commands, DeleteLineAsksAndMovesTheScreensUp)
{
    doc.pairs()[0] = {"one", "AAA"};
    doc.pairs()[1] = {"two", "AAA"};
    doc.pairs()[255] = {"spare", "AAAAA"};
    doc.records()[255].rear = 3;
    grid.reloadRows();
    grid.focusText(1);
    std::string asked, caption;
    auto answer = [&](bool ok) {
        return [&, ok](const std::string& text, const std::string& cap) {
            asked = text;
            caption = cap;
            return ok;
        };
    };
    EXPECT_FALSE(commands.EditDeleteLine(answer(false)).changed);
    EXPECT_EQ(asked, texts::ConfirmDeleteLine);
    EXPECT_EQ(caption, "確認");
    EXPECT_EQ(doc.pairs()[0].text, "one");

    EXPECT_TRUE(commands.EditDeleteLine(answer(true)).changed);
    EXPECT_EQ(doc.pairs()[0].text, "two");
    EXPECT_EQ(doc.pairs()[254].text, "spare");
    EXPECT_EQ(doc.pairs()[255].text, "");
    EXPECT_EQ(doc.records()[255].rear, 255);
    EXPECT_EQ(row(1).text(), "two");
}

TEST_F(Commands, LineOperationsNeedAFocusedRow)
{
    doc.pairs()[0] = {"one", "AAA"};
    grid.reloadRows();
    EXPECT_FALSE(commands.EditInsertLine().changed);
    EXPECT_FALSE(commands.EditDeleteLine([](auto&, auto&) { return true; }).changed);
    EXPECT_EQ(doc.pairs()[0].text, "one");
}

TEST_F(Commands, SymbolGoesIntoTheTargetRow)
{
    const auto& symbols = paletteSymbols();
    ASSERT_EQ(symbols.size(), 109u);
    EXPECT_EQ(cp950ToUtf8(symbols[16]), "★");
    EXPECT_EQ(symbols[107], symbols[20]);

    EXPECT_TRUE(commands.StringGrid1DblClick(16).changed);
    EXPECT_EQ(hexOf(row(1).text()), "A1 B9");
    EXPECT_EQ(hexOf(row(1).attributes()), "01 01");
    EXPECT_FALSE(commands.pasteIntoTarget());
    EXPECT_EQ(grid.focusedTextRow(), 0);
    grid.focusText(1);
    grid.keyDown(EditKey::End);
    commands.EditPaste();
    EXPECT_EQ(hexOf(row(1).text()), "A1 B9 A1 B9");

    grid.click(3);
    commands.StringGrid1DblClick(0); // 。 A143: its trail is below 0xA1
    EXPECT_EQ(hexOf(row(3).attributes()), "01 41");
    EXPECT_FALSE(commands.StringGrid1DblClick(109).changed);
}

TEST_F(Commands, SymbolThatDoesNotFitIsRefused)
{
    setRow(1, Bytes(19, 'x'), Bytes(19, 0x41));
    EXPECT_EQ(commands.StringGrid1DblClick(16).status, texts::PasteTooLong);
    EXPECT_EQ(row(1).text(), Bytes(19, 'x'));
}

TEST_F(Commands, GlyphInsertionInInsertMode)
{
    const struct
    {
        std::size_t length;
        bool accepted;
    } cases[] = {{19, false}, {18, true}, {0, true}};
    for (const auto& c : cases) {
        setRow(2, Bytes(c.length, 'x'), Bytes(c.length, 0x41));
        grid.focusText(2);
        grid.keyDown(EditKey::End);
        const EditResult result = commands.dgUserFontDblClick(0, 0);
        EXPECT_EQ(result.status, c.accepted ? "" : texts::NoRoomForGlyph) << c.length;
        EXPECT_EQ(row(2).text(),
                  c.accepted ? Bytes(c.length, 'x') + "\xFA\x41" : Bytes(c.length, 'x'));
        if (c.accepted) {
            EXPECT_EQ(row(2).attributes().substr(c.length), bytesOf({1, 1}));
            EXPECT_EQ(grid.focusedTextRow(), 2);
            EXPECT_EQ(row(2).caret(), c.length + 2);
            EXPECT_FALSE(doc.saved());
        }
    }
    setRow(2, "", "");
    grid.focusText(2);
    commands.dgUserFontDblClick(9, 9);
    EXPECT_EQ(hexOf(row(2).text()), "FA D2");
    EXPECT_FALSE(commands.dgUserFontDblClick(10, 0).changed);
}

TEST_F(Commands, GlyphInsertionInOverwriteMode)
{
    const struct
    {
        Bytes text, attr;
        std::size_t caret;
        Bytes expected;
    } cases[] = {
        {"ab", "AA", 0, "\xFA\x41"},
        {"a" + WideZhong + "b", bytesOf({0x41, 0x21, 0x21, 0xA1, 0xA1, 0x41}), 1,
         "a\xFA\x41"
         "b"},
        {"ab" + Zhong, bytesOf({0x41, 0x41, 1, 1}), 1, "a\xFA\x41"},
        {Bytes(20, 'x'), Bytes(20, 0x41), 19, Bytes(20, 'x')},
        {Bytes(20, 'x'), Bytes(20, 0x41), 18, Bytes(18, 'x') + "\xFA\x41"},
    };
    state.insertMode = false;
    for (const auto& c : cases) {
        setRow(1, c.text, c.attr);
        grid.focusText(1);
        row(1).setCaret(c.caret);
        commands.dgUserFontDblClick(0, 0);
        EXPECT_EQ(row(1).text(), c.expected) << hexOf(c.text) << " at " << c.caret;
        EXPECT_EQ(grid.focusedTextRow(), 1);
        EXPECT_TRUE(rowConsistent(row(1)));
    }
}

} // namespace
} // namespace led
