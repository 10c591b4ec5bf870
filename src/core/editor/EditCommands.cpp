#include "core/editor/EditCommands.h"

#include "core/editor/AttributeRules.h"
#include "core/editor/Palettes.h"
#include "core/text/Cp950.h"

#include <algorithm>

namespace led {

namespace {

// Padding in front of n bytes within limit: centring rounds half to even.
std::size_t alignmentPadding(int mode, std::size_t limit, std::size_t n)
{
    if (n >= limit)
        return 0;
    const std::size_t room = limit - n;
    if (mode == 2)
        return room;
    if (mode != 1)
        return 0;
    const std::size_t half = room / 2;
    return (room % 2 == 1 && half % 2 == 1) ? half + 1 : half;
}

TContect blankText()
{
    return TContect{};
}

} // namespace

RowEditModel* EditCommands::focusedField()
{
    const int r = m_grid.focusedTextRow();
    return r == 0 ? nullptr : &m_grid.row(r);
}

EditResult EditCommands::EditCopy()
{
    RowEditModel* field = focusedField();
    if (!field)
        return {};
    const TContect row = field->content();
    m_clipboard = {row.text.substr(field->selStart(), field->selLength()),
                   row.attr.substr(field->selStart(), field->selLength())};
    return {};
}

EditResult EditCommands::removeSelection(bool copy)
{
    RowEditModel* field = focusedField();
    if (!field)
        return {};
    if (copy)
        EditCopy();
    if (!field->hasSelection())
        return {};
    TContect row = field->content();
    const std::size_t start = field->selStart();
    row.text.erase(start, field->selLength());
    row.attr.erase(start, field->selLength());
    field->setContent(row.text, row.attr, start);
    m_grid.state().markUnsaved();
    return {true, {}, {}};
}

EditResult EditCommands::EditCut()
{
    return removeSelection(true);
}

EditResult EditCommands::EditDelete()
{
    return removeSelection(false);
}

EditResult EditCommands::EditPaste()
{
    const int r = m_pasteIntoTarget ? m_grid.targetRow() : m_grid.focusedTextRow();
    m_pasteIntoTarget = false;
    if (r == 0 || !m_grid.rowShown(r))
        return {};
    RowEditModel& field = m_grid.row(r);
    TContect row = field.content();
    const std::size_t c = field.selStart();
    const std::size_t s = field.selLength();
    m_grid.state().setButtonStatus(false);
    if (row.text.size() - s + m_clipboard.text.size() > field.maxLength())
        return {false, texts::PasteTooLong, {}};
    row.text.erase(c, s);
    row.attr.erase(c, s);
    row.text.insert(c, m_clipboard.text);
    row.attr.insert(c, fitAttributes(m_clipboard.text, m_clipboard.attr));
    field.setContent(row.text, row.attr, c + 1);
    m_grid.state().markUnsaved();
    return {true, {}, {}};
}

EditResult EditCommands::lCutpate(int mode)
{
    RowEditModel* field = focusedField();
    if (!field || !field->hasSelection())
        return {};
    EditCopy();
    const std::size_t pad = alignmentPadding(mode, field->maxLength(), m_clipboard.text.size());
    m_clipboard.text.insert(0, pad, ' ');
    m_clipboard.attr.insert(0, pad, static_cast<char>(AttrPadding));
    field->setContent(m_clipboard.text, m_clipboard.attr, 0);
    m_grid.state().setButtonStatus(false);
    m_grid.state().markUnsaved();
    return {true, {}, {}};
}

EditResult EditCommands::lCutpatecolor()
{
    RowEditModel* field = focusedField();
    if (!field || !field->hasSelection())
        return {};
    EditorState& state = m_grid.state();
    TContect row = field->content();
    const std::size_t start = field->selStart();
    const std::size_t end = field->selEnd();

    bool holdsPair = false;
    for (std::size_t p = start; p < end; p += std::max<std::size_t>(1, elementLength(row.text, p)))
        holdsPair = holdsPair || elementLength(row.text, p) == 2;
    if (state.wideBox && holdsPair)
        state.attribute &= ~AttrWide;
    const std::uint8_t k = state.attribute;

    // Each element keeps its kind and its length; the text decides how long it is, so
    // attributes that disagree with their text cannot shift the string.
    for (std::size_t p = start; p < end;) {
        const auto b = static_cast<std::uint8_t>(row.attr[p]);
        const std::size_t len = std::min(elementLength(row.text, p), end - p);
        if (len == 2 && (b & AttrWide) && end - p >= 4 &&
            !(b & (AttrSingleByte | AttrWideSecond))) {
            row.attr.replace(p, 4, wideAttributes(k));
            p += 4;
        } else if (len == 2) {
            row.attr.replace(p, 2, 2, static_cast<char>(doubleByteAttribute(k)));
            p += 2;
        } else {
            row.attr[p] = static_cast<char>(singleByteAttribute(k));
            p += 1;
        }
    }
    field->setContent(row.text, row.attr, end);
    state.markUnsaved();
    return {true, {}, {}};
}

EditResult EditCommands::EditInsertLine()
{
    const int r = m_grid.focusedRow();
    if (r == 0)
        return {};
    Document& doc = m_grid.document();
    if (!doc.pairs()[RecordCount - 1].text.empty())
        return {false, {}, texts::LastLineHasData};
    m_grid.commitRows();
    const int n = m_grid.slotOf(r);
    for (int i = RecordCount - 1; i > n; --i) {
        doc.records()[i] = doc.records()[i - 1];
        doc.pairs()[i] = doc.pairs()[i - 1];
    }
    doc.records()[n] = TScreenRec{};
    doc.pairs()[n] = blankText();
    m_grid.reloadRows();
    m_grid.state().markUnsaved();
    return {true, {}, {}};
}

EditResult EditCommands::EditDeleteLine(const EditQuestion& ask)
{
    const int r = m_grid.focusedRow();
    if (r == 0)
        return {};
    if (!ask || !ask(texts::ConfirmDeleteLine, texts::ConfirmCaption))
        return {};
    m_grid.commitRows();
    Document& doc = m_grid.document();
    const int n = m_grid.slotOf(r);
    for (int i = n; i < RecordCount - 1; ++i) {
        doc.records()[i] = doc.records()[i + 1];
        doc.pairs()[i] = doc.pairs()[i + 1];
    }
    doc.records()[RecordCount - 1] = TScreenRec{};
    doc.pairs()[RecordCount - 1] = blankText();
    m_grid.reloadRows();
    m_grid.state().markUnsaved();
    return {true, {}, {}};
}

bool EditCommands::panelShown(int tag) const
{
    if (tag < 1 || tag > 4)
        return false;
    return m_grid.settings().colorSet != 1 || tag <= 2;
}

void EditCommands::colourClick(int first, int tag, const char* caption)
{
    if (!panelShown(tag))
        return;
    EditorState& state = m_grid.state();
    state.attribute = first == ForeBlack ? applyForeColour(state.attribute, tag)
                                         : applyBackColour(state.attribute, tag);
    auto& captions = m_grid.settings().colourCaptions;
    for (int k = first; k < first + 4; ++k)
        captions[k].clear();
    captions[first + tag - 1] = big5(caption);
    if (state.recolourArmed) {
        state.recolourArmed = false;
        lCutpatecolor();
    }
}

void EditCommands::foreClick(int tag)
{
    colourClick(ForeBlack, tag, texts::ForeCaption);
}

void EditCommands::backClick(int tag)
{
    colourClick(BackBlack, tag, texts::BackCaption);
}

void EditCommands::returnToLastRow()
{
    // The box took the focus; it goes back where the operator was typing.
    m_grid.focusNone();
    const int r = m_grid.lastEditedRow();
    const std::size_t caret = m_grid.lastEditedCaret();
    m_grid.focusText(r);
    if (m_grid.focusedTextRow() == r)
        m_grid.row(r).setCaret(caret);
}

void EditCommands::chbWIdeClick(bool checked)
{
    m_grid.state().wideBox = checked;
    m_grid.state().syncWide();
    returnToLastRow();
}

void EditCommands::CheckBox1Click(bool checked)
{
    if (m_grid.settings().colorSet == 1)
        return;
    EditorState& state = m_grid.state();
    state.shadowBox = checked;
    state.attribute = checked ? (state.attribute | AttrShadow) : (state.attribute & ~AttrShadow);
    returnToLastRow();
}

EditResult EditCommands::StringGrid1DblClick(int column)
{
    const auto& symbols = paletteSymbols();
    if (column < 0 || column >= static_cast<int>(symbols.size()))
        return {};
    m_grid.focusNone();
    const Bytes& symbol = symbols[static_cast<std::size_t>(column)];
    m_clipboard = {symbol, importedAttributes(symbol)};
    m_pasteIntoTarget = true;
    return EditPaste();
}

EditResult EditCommands::dgUserFontDblClick(int page, int column)
{
    const int n = paletteGlyph(page, column);
    if (n < 0)
        return {};
    m_grid.focusNone();
    const int r = m_grid.lastEditedRow();
    if (!m_grid.rowShown(r))
        return {};
    RowEditModel& field = m_grid.row(r);
    TContect row = field.content();
    const std::size_t max = field.maxLength();
    const std::size_t c = std::min(m_grid.lastEditedCaret(), row.text.size());
    const bool insert = m_grid.state().insertMode;
    if (insert && row.text.size() + 2 > max)
        return {false, texts::NoRoomForGlyph, {}};
    std::size_t remove = 0;
    if (!insert && !row.text.empty()) {
        if (c == max || c + 2 > max) {
            returnToLastRow();
            return {};
        }
        remove = field.spanAt(c);
        if (remove == 1)
            remove += field.spanAt(c + 1);
        // Text stored longer than the limit still leaves no room.
        if (row.text.size() - remove + 2 > max)
            return {false, texts::NoRoomForGlyph, {}};
    }
    row.text.erase(c, remove);
    row.attr.erase(c, remove);
    row.text.insert(c, glyphReference(n));
    row.attr.insert(c, Bytes(2, static_cast<char>(AttrForeRed)));
    field.setContent(row.text, row.attr, c + 2);
    m_grid.focusText(r);
    field.setCaret(c + 2);
    m_grid.state().markUnsaved();
    return {true, {}, {}};
}

} // namespace led
