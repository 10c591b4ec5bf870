#pragma once

#include "core/document/Document.h"
#include "core/editor/EditorState.h"
#include "core/text/Big5.h"

#include <cstddef>
#include <string_view>

namespace led {

enum class EditKey
{
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Backspace,
    Delete,
    Enter,
    Escape,
    Insert,
    Other
};

enum class TypeResult
{
    Inserted,
    Refused, // dropped by the typing rules or the length limit
    Ignored  // a control character the field does not take
};

// One grid row's text field together with its row buffer: the field's Big5 text, caret,
// selection and length limit as the platform's one-line edit field keeps them, and the
// buffer text and attribute string that the change handling keeps in step with it.
class RowEditModel
{
public:
    explicit RowEditModel(EditorState& state) : m_state(state) {}

    const Bytes& text() const { return m_field; }
    const Bytes& bufferText() const { return m_buffer.text; }
    const Bytes& attributes() const { return m_buffer.attr; }
    TContect content() const { return {m_field, m_buffer.attr}; }
    bool empty() const { return m_field.empty(); }

    // The caret is the selection start, as the field reports it; the active end is where
    // the field's own caret blinks.
    std::size_t caret() const { return selStart(); }
    std::size_t activeEnd() const { return m_active; }
    std::size_t selStart() const { return m_anchor < m_active ? m_anchor : m_active; }
    std::size_t selEnd() const { return m_anchor < m_active ? m_active : m_anchor; }
    std::size_t selLength() const { return selEnd() - selStart(); }
    bool hasSelection() const { return m_anchor != m_active; }
    std::size_t recordedCaret() const { return m_recordedCaret; }

    std::size_t maxLength() const { return m_maxLength; }
    void setMaxLength(std::size_t length) { m_maxLength = length; }
    bool focused() const { return m_focused; }
    int redrawCount() const { return m_redraws; }

    // Loading a screen: the row buffer first, then the field, then the change handling once.
    void load(const TContect& pair);
    // The program's own changes: buffer and attributes first, so nothing is left to find.
    void setContent(const Bytes& text, const Bytes& attr, std::size_t caret);
    void setCaret(std::size_t pos);
    void setSelection(std::size_t anchor, std::size_t active);

    void enter();
    void exit();
    void keyDown(EditKey key, bool shift);
    // One typed character as Big5 bytes (one or two).
    TypeResult keyPress(std::string_view character);
    void mousePress(std::size_t pos);
    void mouseRelease(std::size_t pos);
    void redraw() { ++m_redraws; }

    // Brings the attribute string in step with the field after the field changed.
    void Edit1Change();

    bool isWide(std::size_t pos) const;
    bool isSecondCopy(std::size_t pos) const;
    // Bytes of what stands at pos: a wide character 4, a pair 2, a single byte 1.
    std::size_t spanAt(std::size_t pos) const;

private:
    std::size_t previousBoundary(std::size_t pos) const;
    std::size_t nextBoundary(std::size_t pos) const;
    // Moves pos off the middle of a pair and from between the copies of a wide character.
    std::size_t settle(std::size_t pos, bool forward) const;
    void moveActive(std::size_t pos, bool extend);
    void eraseField(std::size_t pos, std::size_t count);
    void removeFromRow(std::size_t pos, std::size_t count);
    bool overwriteSpan(bool doubleByte, std::size_t& count) const;
    TypeResult refuse(bool doubleByte);
    void insertAttributes(std::size_t at, std::string_view chunk);
    void removeAttributes(std::size_t removed);

    EditorState& m_state;
    Bytes m_field;
    TContect m_buffer;
    std::size_t m_anchor = 0;
    std::size_t m_active = 0;
    std::size_t m_recordedCaret = 0;
    std::size_t m_pressPos = 0;
    std::size_t m_maxLength = 20;
    bool m_focused = false;
    int m_redraws = 0;
};

} // namespace led
