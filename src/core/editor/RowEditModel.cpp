#include "core/editor/RowEditModel.h"

#include "core/editor/AttributeRules.h"
#include "core/editor/CompStr.h"

#include <algorithm>

namespace led {

namespace {

std::uint8_t byteAt(std::string_view s, std::size_t pos)
{
    return pos < s.size() ? static_cast<std::uint8_t>(s[pos]) : 0;
}

} // namespace

bool RowEditModel::isWide(std::size_t pos) const
{
    return pos < m_buffer.attr.size() && (byteAt(m_buffer.attr, pos) & AttrWide);
}

bool RowEditModel::isSecondCopy(std::size_t pos) const
{
    return pos < m_buffer.attr.size() && (byteAt(m_buffer.attr, pos) & AttrWideSecond);
}

std::size_t RowEditModel::spanAt(std::size_t pos) const
{
    if (pos >= m_field.size())
        return 0;
    if (isWide(pos) && !isSecondCopy(pos))
        return std::min<std::size_t>(4, m_field.size() - pos);
    return elementLength(m_field, pos);
}

std::size_t RowEditModel::previousBoundary(std::size_t pos) const
{
    std::size_t last = 0;
    for (const TextElement& e : textElements(m_field)) {
        if (e.pos >= pos)
            break;
        last = e.pos;
    }
    return last;
}

std::size_t RowEditModel::nextBoundary(std::size_t pos) const
{
    if (pos >= m_field.size())
        return m_field.size();
    for (const TextElement& e : textElements(m_field))
        if (e.pos + e.length > pos)
            return e.pos + e.length;
    return m_field.size();
}

std::size_t RowEditModel::settle(std::size_t pos, bool forward) const
{
    pos = std::min(pos, m_field.size());
    const auto onBoundary = [this](std::size_t p) {
        if (p == 0 || p >= m_field.size())
            return true;
        for (const TextElement& e : textElements(m_field))
            if (e.pos >= p)
                return e.pos == p;
        return false; // inside the last element
    };
    if (!onBoundary(pos))
        pos = forward ? nextBoundary(pos) : previousBoundary(pos);
    // Between the two copies of a wide character: the second copy starts here.
    if (pos > 0 && isSecondCopy(pos) && isWide(pos - 1) && !isSecondCopy(pos - 1))
        pos = forward ? std::min(pos + 2, m_field.size()) : pos - 2;
    return pos;
}

void RowEditModel::moveActive(std::size_t pos, bool extend)
{
    m_active = pos;
    if (!extend)
        m_anchor = pos;
}

void RowEditModel::load(const TContect& pair)
{
    m_buffer.text = pair.text;
    m_buffer.attr = fitAttributes(pair.text, pair.attr);
    m_field = pair.text;
    m_anchor = m_active = 0;
    Edit1Change();
}

void RowEditModel::setContent(const Bytes& text, const Bytes& attr, std::size_t caret)
{
    m_buffer.text = text;
    m_buffer.attr = fitAttributes(text, attr);
    m_field = text;
    m_anchor = m_active = 0;
    Edit1Change();
    setCaret(caret);
}

void RowEditModel::setCaret(std::size_t pos)
{
    m_anchor = m_active = settle(pos, true);
}

void RowEditModel::setSelection(std::size_t anchor, std::size_t active)
{
    const bool forward = active >= anchor;
    m_anchor = settle(anchor, !forward);
    m_active = settle(active, forward);
}

void RowEditModel::enter()
{
    m_focused = true;
    m_anchor = m_active = 0;
}

void RowEditModel::exit()
{
    m_focused = false;
    m_anchor = m_active = selStart();
    redraw();
}

void RowEditModel::eraseField(std::size_t pos, std::size_t count)
{
    if (pos < m_field.size())
        m_field.erase(pos, count);
    m_anchor = m_active = std::min(pos, m_field.size());
}

void RowEditModel::removeFromRow(std::size_t pos, std::size_t count)
{
    if (pos < m_buffer.text.size())
        m_buffer.text.erase(pos, count);
    if (pos < m_buffer.attr.size())
        m_buffer.attr.erase(pos, count);
    eraseField(pos, count);
}

void RowEditModel::keyDown(EditKey key, bool shift)
{
    m_state.syncWide();
    m_state.setButtonStatus(false);
    const std::size_t start = selStart();
    const std::size_t end = selEnd();
    bool forward = true;
    switch (key) {
    case EditKey::Left:
        forward = false;
        if (!shift) {
            if (start >= 2 && isWide(start - 1))
                m_anchor = m_active = start - 2;
            moveActive(previousBoundary(m_active), false);
            break;
        }
        if (start == m_recordedCaret) {
            if (end >= 2 && isWide(end - 1)) {
                m_anchor = start;
                m_active = end - 2;
            }
        } else if (start >= 2 && isWide(start - 1)) {
            m_anchor = m_active = start - 2;
        }
        moveActive(previousBoundary(m_active), true);
        break;
    case EditKey::Right:
        if (!shift) {
            if (isWide(start))
                m_anchor = m_active = std::min(start + 2, m_field.size());
            moveActive(nextBoundary(m_active), false);
            break;
        }
        if (start == m_recordedCaret) {
            if (isWide(end)) {
                m_anchor = start;
                m_active = std::min(end + 2, m_field.size());
            }
        } else if (start >= 1 && isWide(start - 1)) {
            m_anchor = m_active = std::min(start + 2, m_field.size());
        }
        moveActive(nextBoundary(m_active), true);
        break;
    case EditKey::Home:
        forward = false;
        moveActive(0, shift);
        break;
    case EditKey::End:
        moveActive(m_field.size(), shift);
        break;
    case EditKey::Backspace:
        // A typed Backspace counts as a typed key for the saved flag.
        m_state.markUnsaved();
        forward = false;
        if (hasSelection()) {
            eraseField(start, end - start);
        } else if (start > 0) {
            std::size_t c = start;
            if (c >= 2 && isWide(c - 1)) {
                m_field.erase(c - 2, 2); // the second copy; the field takes the first
                c -= 2;
            }
            const std::size_t from = previousBoundary(c);
            eraseField(from, c - from);
        }
        Edit1Change();
        break;
    case EditKey::Delete:
        if (hasSelection()) {
            eraseField(start, end - start);
        } else if (start < m_field.size()) {
            if (isWide(start))
                m_field.erase(start, 2);
            eraseField(start, elementLength(m_field, start));
        } else {
            break;
        }
        // Removing text is a change to keep, typed or not.
        m_state.markUnsaved();
        Edit1Change();
        break;
    case EditKey::Enter:
        m_state.markUnsaved();
        break;
    default:
        break;
    }
    m_active = settle(m_active, forward);
    m_anchor = settle(m_anchor, !forward);
    m_recordedCaret = selStart();
    redraw();
}

bool RowEditModel::overwriteSpan(bool doubleByte, std::size_t& count) const
{
    const std::size_t c = caret();
    const std::size_t max = m_maxLength;
    count = 0;
    if (doubleByte && m_state.wideBox) {
        if (c + 4 > max)
            return false;
        for (std::size_t p = c; count < 4 && p < m_field.size(); p = c + count)
            count += spanAt(p);
        return true;
    }
    if (doubleByte) {
        if (isWide(c) && c + 4 <= max) {
            count = spanAt(c);
            return true;
        }
        if (c + 2 > max)
            return false;
        if (c < m_field.size()) {
            count = elementLength(m_field, c);
            if (count == 1)
                count += spanAt(c + 1);
        }
        return true;
    }
    count = spanAt(c);
    return true;
}

TypeResult RowEditModel::refuse(bool doubleByte)
{
    // The flag exists to drop the trail byte of a refused pair. Here the trail arrives
    // together with its lead and goes with it, which spends the flag at once.
    if (doubleByte) {
        m_state.swallow = true;
        m_state.swallow = false;
    }
    return TypeResult::Refused;
}

TypeResult RowEditModel::keyPress(std::string_view character)
{
    if (character.empty() || character.size() > 2)
        return TypeResult::Ignored;
    if (m_state.swallow) {
        m_state.swallow = false;
        return TypeResult::Refused;
    }
    const auto first = static_cast<std::uint8_t>(character[0]);
    if (character.size() == 1 && (first < 0x20 || first == 0x7F))
        return TypeResult::Ignored;
    m_state.markUnsaved();

    const bool doubleByte = character.size() == 2;
    const bool wide = doubleByte && (m_state.wideBox || (m_state.attribute & AttrWide));
    const std::size_t need = wide ? 4 : character.size();
    std::size_t at = caret();
    std::size_t count = 0;
    if (hasSelection()) {
        count = selLength();
    } else if (!m_state.insertMode && !m_field.empty()) {
        if (!overwriteSpan(doubleByte, count))
            return refuse(doubleByte);
    }
    if (m_field.size() - count + need > m_maxLength)
        return refuse(doubleByte);

    removeFromRow(at, count);
    m_field.insert(at, character);
    m_anchor = m_active = at + character.size();
    Edit1Change();
    m_recordedCaret = selStart();
    return TypeResult::Inserted;
}

void RowEditModel::mousePress(std::size_t pos)
{
    m_state.setButtonStatus(false);
    m_pressPos = pos;
    m_anchor = m_active = settle(pos, true);
}

void RowEditModel::mouseRelease(std::size_t pos)
{
    // Released where it was pressed: a click, however the press position was settled.
    m_active = pos == m_pressPos ? m_anchor : settle(pos, pos > m_pressPos);
    if (!m_field.empty()) {
        if (!hasSelection()) {
            m_anchor = m_active = settle(m_active, true);
            m_state.setButtonStatus(false);
        } else {
            m_state.setButtonStatus(true);
            std::size_t start = selStart();
            std::size_t end = selEnd();
            if (isSecondCopy(start) && start >= 2)
                start -= 2;
            if (isSecondCopy(end))
                end = std::min(end + 2, m_field.size());
            const bool forward = m_active >= m_anchor;
            m_anchor = forward ? start : end;
            m_active = forward ? end : start;
        }
    }
    redraw();
}

void RowEditModel::insertAttributes(std::size_t at, std::string_view chunk)
{
    Bytes& attr = m_buffer.attr;
    const std::uint8_t current = m_state.attribute;
    std::size_t shift = 0;
    for (const TextElement& e : textElements(chunk)) {
        const std::size_t pos = std::min(at + e.pos + shift, attr.size());
        if (e.length == 1) {
            attr.insert(pos, 1, static_cast<char>(singleByteAttribute(current)));
        } else if (!(current & AttrWide)) {
            attr.insert(pos, 2, static_cast<char>(doubleByteAttribute(current)));
        } else {
            m_field.insert(std::min(pos, m_field.size()), chunk.substr(e.pos, 2));
            attr.insert(pos, wideAttributes(current));
            shift += 2;
            m_active += 2;
        }
    }
    m_active = std::min(m_active, m_field.size());
    m_anchor = m_active;
}

void RowEditModel::removeAttributes(std::size_t removed)
{
    const Bytes& before = m_buffer.text;
    const std::size_t c = m_active;
    if (c <= m_field.size() && c + removed <= before.size() &&
        before.compare(0, c, m_field, 0, c) == 0 &&
        before.compare(c + removed, Bytes::npos, m_field, c) == 0) {
        m_buffer.attr.erase(std::min(c, m_buffer.attr.size()), removed);
        return;
    }
    const TCompStr diff = CompStr(m_field, before);
    std::size_t p = diff.pos;
    if (p > c)
        p = c + 1;
    m_buffer.attr.erase(std::min(p - 1, m_buffer.attr.size()), diff.chunk.size());
}

void RowEditModel::Edit1Change()
{
    const Bytes& before = m_buffer.text;
    if (before.size() < m_field.size()) {
        const std::size_t added = m_field.size() - before.size();
        const std::size_t c = m_active;
        // The field inserts at its caret; where the two versions say so, take it from there.
        if (c >= added && c <= m_field.size() &&
            m_field.compare(0, c - added, before, 0, c - added) == 0 &&
            m_field.compare(c, Bytes::npos, before, c - added) == 0) {
            insertAttributes(c - added, Bytes(m_field, c - added, added));
        } else {
            const TCompStr diff = CompStr(before, m_field);
            std::size_t p = diff.pos;
            const std::size_t len = diff.chunk.size();
            if ((c < p || !m_state.insertMode) && c + 1 >= len)
                p = c + 1 - len;
            insertAttributes(p > 0 ? p - 1 : 0, diff.chunk);
        }
    } else if (before.size() > m_field.size()) {
        removeAttributes(before.size() - m_field.size());
    }
    m_buffer.attr = fitAttributes(m_field, m_buffer.attr);
    redraw();
    m_buffer.text = m_field;
}

} // namespace led
