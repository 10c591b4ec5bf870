#pragma once

#include "core/document/Document.h"
#include "core/text/Attributes.h"

#include <cstdint>

namespace led {

// What the editor keeps window-wide: the current attribute and its boxes, the typing mode,
// the selection buttons and the saved flag of the document being edited.
struct EditorState
{
    std::uint8_t attribute = AttrForeRed; // red on black
    bool wideBox = false;                 // "寬字"
    bool shadowBox = false;               // "陰影", never shown
    bool insertMode = true;
    bool swallow = false;        // drops the trail byte of a refused double-byte character
    bool buttonsEnabled = false; // cut, copy, delete and the three alignment buttons
    bool recolourArmed = false;
    Document* document = nullptr;

    void setButtonStatus(bool on)
    {
        buttonsEnabled = on;
        if (on)
            recolourArmed = true;
    }
    // Every key in a row takes AttrWide from the box again.
    void syncWide() { attribute = wideBox ? (attribute | AttrWide) : (attribute & ~AttrWide); }
    void markUnsaved()
    {
        if (document)
            document->setSaved(false);
    }
    void toggleInsertMode() { insertMode = !insertMode; }
    // Status panel 2 (UTF-8).
    const char* modeText() const { return insertMode ? "新增" : "覆蓋"; }
};

} // namespace led
