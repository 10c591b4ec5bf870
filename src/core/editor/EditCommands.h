#pragma once

#include "core/document/Document.h"
#include "core/editor/ScreenGrid.h"

#include <functional>
#include <string>

namespace led {

namespace texts {
inline constexpr const char* PasteTooLong = "欲貼上字串長度加上原字串長度超過限制";
inline constexpr const char* LastLineHasData = "最後一行編輯列有資料，無法新增！";
inline constexpr const char* ConfirmDeleteLine = "確定刪除一行？";
inline constexpr const char* ConfirmCaption = "確認";
inline constexpr const char* NoRoomForGlyph = "編輯區空間不足，無法再插入圖形！";
inline constexpr const char* ForeCaption = "前景";
inline constexpr const char* BackCaption = "背景";
} // namespace texts

// What an operation tells the operator (UTF-8): a status panel text or a warning box.
struct EditResult
{
    bool changed = false;
    std::string status;
    std::string warning;
};

// The operator's answer to a question (text, caption): true for OK.
using EditQuestion = std::function<bool(const std::string& text, const std::string& caption)>;

// Clipboard, selection and line operations, the colour panels and the two palettes, acting
// on the grid's rows and the document beneath them.
class EditCommands
{
public:
    explicit EditCommands(ScreenGrid& grid) : m_grid(grid) {}

    // The edit clipboard (row buffer slot 0).
    const TContect& clipboard() const { return m_clipboard; }
    void setClipboard(const TContect& content) { m_clipboard = content; }
    bool pasteIntoTarget() const { return m_pasteIntoTarget; }
    void setPasteIntoTarget(bool on) { m_pasteIntoTarget = on; }

    EditResult EditCopy();
    EditResult EditCut();
    EditResult EditPaste();
    EditResult EditDelete();
    // mode 0 left, 1 centre, 2 right.
    EditResult lCutpate(int mode);
    EditResult lCutpatecolor();
    EditResult EditInsertLine();
    EditResult EditDeleteLine(const EditQuestion& ask);

    // Colour panels carry Tag 1..4 (black, red, yellow, green); a single-colour sign has
    // no yellow or green.
    bool panelShown(int tag) const;
    void foreClick(int tag);
    void backClick(int tag);
    void chbWIdeClick(bool checked);
    void CheckBox1Click(bool checked);

    EditResult StringGrid1DblClick(int column);
    EditResult dgUserFontDblClick(int page, int column);

private:
    RowEditModel* focusedField();
    EditResult removeSelection(bool copy);
    void colourClick(int first, int tag, const char* caption);
    void returnToLastRow();

    ScreenGrid& m_grid;
    TContect m_clipboard;
    bool m_pasteIntoTarget = false;
};

} // namespace led
