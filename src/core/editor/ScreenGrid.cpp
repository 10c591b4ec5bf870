#include "core/editor/ScreenGrid.h"

#include "core/document/CodeTables.h"
#include "core/document/Project.h"
#include "core/editor/AttributeRules.h"
#include "core/text/Cp950.h"

#include <algorithm>
#include <optional>

namespace led {

namespace {

// Length of the UTF-8 sequence at pos, 1 for a byte that starts none (it then fails to convert).
std::size_t utf8Length(std::string_view s, std::size_t pos)
{
    const auto b = static_cast<unsigned char>(s[pos]);
    const std::size_t len = b < 0x80           ? 1
                            : (b >> 5) == 0x6  ? 2
                            : (b >> 4) == 0xE  ? 3
                            : (b >> 3) == 0x1E ? 4
                                               : 1;
    if (pos + len > s.size())
        return 1;
    for (std::size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80)
            return 1;
    return len;
}

// One typed character in Big5, or nothing when the document cannot hold it: outside the
// code page, or a pair whose lead the document would read as two single bytes.
std::optional<Bytes> typedCharacter(std::string_view utf8)
{
    auto big5Char = utf8ToCp950(utf8);
    if (!big5Char || big5Char->empty() || big5Char->size() > 2)
        return std::nullopt;
    if (big5Char->size() == 2 && !isElementLead(static_cast<std::uint8_t>((*big5Char)[0])))
        return std::nullopt;
    if (big5Char->size() == 1 && isElementLead(static_cast<std::uint8_t>((*big5Char)[0])))
        return std::nullopt;
    return big5Char;
}

} // namespace

ScreenGrid::ScreenGrid(Document& document, TSystemparameter& settings, EditorState& state)
    : m_document(document), m_settings(settings), m_state(state)
{
    m_state.document = &m_document;
    for (auto& row : m_rows) {
        row = std::make_unique<RowEditModel>(m_state);
        row->setMaxLength(maxLength());
    }
    m_splitItems = splitList(m_settings.signWidth);
}

std::size_t ScreenGrid::maxLength() const
{
    return static_cast<std::size_t>(std::max(0, 2 * m_settings.signWidth));
}

void ScreenGrid::setDisplay(int r, bool on)
{
    m_controls.at(r - 1).display = on;
    m_state.markUnsaved();
}

void ScreenGrid::setCombo(int r, RowCombo combo, const Bytes& value)
{
    RowControls& c = m_controls.at(r - 1);
    switch (combo) {
    case RowCombo::Speed:
        c.speed = value;
        break;
    case RowCombo::Stay:
        c.stay = value;
        break;
    case RowCombo::Front:
        c.front = value;
        break;
    case RowCombo::Split:
        c.split = value;
        break;
    case RowCombo::Rear:
        c.rear = value;
        break;
    }
    m_state.markUnsaved();
}

void ScreenGrid::writeRow(int r, int slot)
{
    const RowEditModel& field = row(r);
    const RowControls& c = m_controls.at(r - 1);
    TContect& pair = m_document.pairs().at(slot);
    pair.text = field.text();
    pair.attr = field.attributes();
    TScreenRec& rec = m_document.records().at(slot);
    rec.front = FrontS2I(c.front);
    rec.rear = RearS2I(c.rear);
    rec.stay = DelayS2I(c.stay);
    rec.speed = DelayS2I(c.speed);
    rec.display = c.display ? 1 : 0;
    std::string error;
    rec.split = SplitS2I(c.split, &error);
    if (!error.empty())
        m_message = error;
}

void ScreenGrid::loadRow(int r, int slot)
{
    RowControls& c = m_controls.at(r - 1);
    const TScreenRec& rec = m_document.records().at(slot);
    c.number = std::to_string(slot + 1);
    row(r).load(m_document.pairs().at(slot));
    c.display = rec.display != 0;
    c.speed = DelayI2S(rec.speed);
    c.stay = DelayI2S(rec.stay);
    c.front = FrontI2S(rec.front);
    c.split = SplitI2S(rec.split);
    c.rear = RearI2S(rec.rear);
    c.visible = slot < ScreenCount;
}

void ScreenGrid::scrollbarMsgChange()
{
    m_message.clear();
    if (m_storedTop >= 0) {
        // Rows past screen 254 are never shown or edited: writing them back through the
        // conversions would only alter the spare records a .MSG brought.
        for (int r = 1; r <= RowCount; ++r)
            if (m_storedTop + r - 1 < ScreenCount)
                writeRow(r, m_storedTop + r - 1);
    }
    for (int r = 1; r <= RowCount; ++r)
        loadRow(r, slotOf(r));
    m_storedTop = m_viewTop;
    // A hidden field cannot keep the focus: it goes to the last row still shown.
    if (m_focusRow > 0 && !rowShown(m_focusRow)) {
        int r = m_focusRow;
        while (r > 1 && !rowShown(r))
            --r;
        if (m_textFocused)
            focusText(r);
        else
            focusControl(r);
    }
}

void ScreenGrid::reloadRows()
{
    m_storedTop = -1;
    scrollbarMsgChange();
}

void ScreenGrid::attachTo(Project& project)
{
    project.commitRows = [this] { commitRows(); };
    project.reloadRows = [this] { reloadRows(); };
}

void ScreenGrid::setPosition(int top)
{
    top = std::clamp(top, 0, MaxViewTop);
    if (top == m_viewTop)
        return;
    m_viewTop = top;
    scrollbarMsgChange();
}

void ScreenGrid::moveView(int top)
{
    commitRows();
    setPosition(top);
}

std::vector<Bytes> ScreenGrid::splitList(int signWidth)
{
    std::vector<Bytes> items{big5("繼續"), big5("解除")};
    for (int n = 1; n <= signWidth - 2; ++n)
        items.push_back(std::to_string(n));
    return items;
}

void ScreenGrid::FormShow()
{
    for (auto& row : m_rows)
        row->setMaxLength(maxLength());
    m_splitItems = splitList(m_settings.signWidth);
    reloadRows();
    m_state.attribute = attributeFromCaptions(m_settings);
    m_state.swallow = false;
    m_state.syncWide();
}

bool ScreenGrid::FormActivate()
{
    const bool first = !m_activated;
    m_activated = true;
    m_splitItems = splitList(m_settings.signWidth);
    m_state.recolourArmed = false;
    for (int r = 1; r <= RowCount && rowShown(r); ++r)
        focusText(r);
    focusText(1);
    return first && m_settings.port == PortTcpIp;
}

void ScreenGrid::leaveText()
{
    if (!m_textFocused || m_focusRow == 0)
        return;
    RowEditModel& field = row(m_focusRow);
    if (rowShown(m_focusRow)) {
        m_lastEditedRow = m_focusRow;
        m_lastEditedCaret = field.caret();
    }
    field.exit();
    m_textFocused = false;
}

void ScreenGrid::focusText(int r)
{
    if (r < 1 || r > RowCount || !rowShown(r))
        return;
    if (m_textFocused && m_focusRow == r)
        return;
    leaveText();
    m_focusRow = r;
    m_textFocused = true;
    row(r).enter();
}

void ScreenGrid::focusControl(int r)
{
    if (r < 1 || r > RowCount || !rowShown(r))
        return;
    leaveText();
    m_focusRow = r;
}

void ScreenGrid::focusNone()
{
    leaveText();
    m_focusRow = 0;
}

void ScreenGrid::keyDown(EditKey key, KeyModifiers mods)
{
    if (key == EditKey::Insert) {
        m_state.toggleInsertMode();
        return;
    }
    const int r = focusedTextRow();
    if (r == 0)
        return;
    switch (key) {
    case EditKey::Escape:
        return;
    case EditKey::PageUp:
        moveView(m_viewTop - 8);
        return;
    case EditKey::PageDown:
        moveView(m_viewTop + 8);
        return;
    case EditKey::Up:
        if (r == 1)
            moveView(m_viewTop - 1);
        else
            focusText(r - 1);
        return;
    case EditKey::Down:
        if (r == RowCount)
            moveView(m_viewTop + 1);
        else if (rowShown(r + 1))
            focusText(r + 1);
        return;
    case EditKey::Home:
    case EditKey::End:
        if (mods.ctrl) {
            moveView(key == EditKey::Home ? 0 : 255);
            return;
        }
        break;
    default:
        break;
    }
    row(r).keyDown(key, mods.shift);
    moveOnWhenFull(r, key);
}

std::size_t ScreenGrid::typeText(std::string_view utf8)
{
    const int r = focusedTextRow();
    if (r == 0)
        return 0;
    RowEditModel& field = row(r);
    m_state.syncWide();
    m_state.setButtonStatus(false);
    std::size_t inserted = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t len = utf8Length(utf8, pos);
        const auto character = typedCharacter(utf8.substr(pos, len));
        pos += len;
        if (!character)
            continue;
        if (field.keyPress(*character) == TypeResult::Inserted)
            ++inserted;
    }
    field.redraw();
    moveOnWhenFull(r, EditKey::Other);
    return inserted;
}

void ScreenGrid::moveOnWhenFull(int r, EditKey key)
{
    if (r >= RowCount || key == EditKey::Backspace || key == EditKey::Left ||
        key == EditKey::Home || m_state.insertMode || slotOf(r) + 1 == ScreenCount)
        return;
    const RowEditModel& field = row(r);
    if (field.caret() == field.text().size() && field.text().size() == field.maxLength() &&
        row(r + 1).empty())
        focusText(r + 1);
}

void ScreenGrid::mousePress(int r, std::size_t pos)
{
    focusText(r);
    if (focusedTextRow() == r)
        row(r).mousePress(pos);
}

void ScreenGrid::mouseRelease(int r, std::size_t pos)
{
    if (focusedTextRow() == r)
        row(r).mouseRelease(pos);
}

void ScreenGrid::click(int r)
{
    if (r < 1 || r > RowCount)
        return;
    m_targetRow = r;
    row(r).redraw();
}

} // namespace led
