#pragma once

#include "core/document/Document.h"
#include "core/document/Settings.h"
#include "core/editor/EditCommands.h"
#include "core/editor/EditorState.h"
#include "core/editor/ScreenGrid.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace led {

inline Bytes bytesOf(std::initializer_list<int> values)
{
    Bytes out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

inline std::string hexOf(std::string_view bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// A grid over a fresh document on a sign 10 characters wide: rows hold 20 bytes.
class EditorFixture : public ::testing::Test
{
protected:
    EditorFixture()
    {
        settings.colorSet = 2;
        grid.FormShow();
    }

    // Puts a screen into the document under row r and reloads the rows.
    void setRow(int r, const Bytes& text, const Bytes& attr)
    {
        doc.pairs()[grid.slotOf(r)] = {text, attr};
        grid.reloadRows();
    }
    RowEditModel& row(int r) { return grid.row(r); }

    Document doc;
    TSystemparameter settings;
    EditorState state;
    ScreenGrid grid{doc, settings, state};
    EditCommands commands{grid};
};

// Text and attribute string agree element by element, wide characters are whole, and the
// caret and selection stand between elements.
inline ::testing::AssertionResult rowConsistent(const RowEditModel& row)
{
    const Bytes& t = row.text();
    const Bytes& a = row.attributes();
    auto fail = [&](const std::string& why) {
        return ::testing::AssertionFailure()
               << why << "\n text " << hexOf(t) << "\n attr " << hexOf(a);
    };
    if (t != row.bufferText())
        return fail("field and row buffer differ");
    if (a.size() != t.size())
        return fail("attribute string length differs");
    if (t.size() > row.maxLength())
        return fail("text longer than the limit");
    std::vector<std::size_t> boundaries{0};
    for (std::size_t p = 0; p < t.size();) {
        const auto b = static_cast<std::uint8_t>(a[p]);
        const std::size_t len = elementLength(t, p);
        if (len == 1) {
            if ((b & (AttrSingleByte | AttrWide | AttrWideSecond)) != AttrSingleByte)
                return fail("single byte at " + std::to_string(p) + " has a pair attribute");
            p += 1;
        } else if (b & AttrSingleByte || b & AttrWideSecond) {
            return fail("pair at " + std::to_string(p) + " has a single or second-copy attribute");
        } else if (b & AttrWide) {
            if (p + 4 > t.size() || t.substr(p, 2) != t.substr(p + 2, 2) ||
                static_cast<std::uint8_t>(a[p + 1]) != b ||
                static_cast<std::uint8_t>(a[p + 2]) != (b | AttrWideSecond) ||
                static_cast<std::uint8_t>(a[p + 3]) != (b | AttrWideSecond))
                return fail("wide character at " + std::to_string(p) + " not whole");
            p += 4;
        } else {
            p += 2;
        }
        boundaries.push_back(p);
    }
    auto onBoundary = [&](std::size_t pos) {
        return std::find(boundaries.begin(), boundaries.end(), pos) != boundaries.end();
    };
    if (!onBoundary(row.selStart()) || !onBoundary(row.selEnd()))
        return fail("caret or selection inside a character: " + std::to_string(row.selStart()) +
                    ".." + std::to_string(row.selEnd()));
    return ::testing::AssertionSuccess();
}

} // namespace led
