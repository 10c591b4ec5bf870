#pragma once

#include "core/document/Document.h"
#include "core/document/Settings.h"
#include "core/editor/EditorState.h"
#include "core/editor/RowEditModel.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace led {

class Project;

// The controls of a grid row other than its text field; combo values are their Big5 texts.
struct RowControls
{
    std::string number; // "幕號" label
    bool display = false;
    Bytes speed, stay, front, split, rear;
    bool visible = true;
};

enum class RowCombo
{
    Speed,
    Stay,
    Front,
    Split,
    Rear
};

struct KeyModifiers
{
    bool shift = false;
    bool ctrl = false;
};

// Eight rows over the document: which screens they show, writing them back and loading
// them, the keys that move between rows and screens, and where the focus is.
class ScreenGrid
{
public:
    static constexpr int RowCount = 8;
    static constexpr int MaxViewTop = 248;

    ScreenGrid(Document& document, TSystemparameter& settings, EditorState& state);

    Document& document() { return m_document; }
    TSystemparameter& settings() { return m_settings; }
    EditorState& state() { return m_state; }

    // Rows are 1..8.
    RowEditModel& row(int r) { return *m_rows.at(r - 1); }
    const RowEditModel& row(int r) const { return *m_rows.at(r - 1); }
    const RowControls& controls(int r) const { return m_controls.at(r - 1); }
    void setDisplay(int r, bool on);
    void setCombo(int r, RowCombo combo, const Bytes& value);

    int viewTop() const { return m_viewTop; }
    int storedTop() const { return m_storedTop; }
    int slotOf(int r) const { return m_viewTop + r - 1; }
    bool rowShown(int r) const { return slotOf(r) < ScreenCount; }
    std::size_t maxLength() const;

    // The scroll bar: clamps, and a new position changes the view.
    void setPosition(int top);
    void scrollbarMsgChange();
    void commitRows() { scrollbarMsgChange(); }
    void reloadRows();
    void attachTo(Project& project);
    // A conversion message from the last write-back (UTF-8), empty when none.
    const std::string& message() const { return m_message; }

    void FormShow();
    // True on the first activation with the network link chosen: the set-up dialog opens.
    bool FormActivate();
    static std::vector<Bytes> splitList(int signWidth);
    const std::vector<Bytes>& splitItems() const { return m_splitItems; }

    // Row of the focused grid control, text field or not; 0 when none has the focus.
    int focusedRow() const { return m_focusRow; }
    int focusedTextRow() const { return m_textFocused ? m_focusRow : 0; }
    void focusText(int r);
    void focusControl(int r);
    void focusNone();
    int targetRow() const { return m_targetRow; }
    int lastEditedRow() const { return m_lastEditedRow; }
    std::size_t lastEditedCaret() const { return m_lastEditedCaret; }

    // Events of the focused text field.
    void keyDown(EditKey key, KeyModifiers mods = {});
    // Typed or committed text (UTF-8); returns how many characters went in.
    std::size_t typeText(std::string_view utf8);
    void mousePress(int r, std::size_t pos);
    void mouseRelease(int r, std::size_t pos);
    void click(int r);

private:
    void writeRow(int r, int slot);
    void loadRow(int r, int slot);
    void leaveText();
    void moveOnWhenFull(int r, EditKey key);
    void moveView(int top);

    Document& m_document;
    TSystemparameter& m_settings;
    EditorState& m_state;
    std::array<std::unique_ptr<RowEditModel>, RowCount> m_rows;
    std::array<RowControls, RowCount> m_controls;
    std::vector<Bytes> m_splitItems;
    int m_viewTop = 0;
    int m_storedTop = -1;
    int m_focusRow = 0;
    bool m_textFocused = false;
    int m_targetRow = 1;
    int m_lastEditedRow = 1;
    std::size_t m_lastEditedCaret = 0;
    bool m_activated = false;
    std::string m_message;
};

} // namespace led
