#pragma once

#include "core/document/Document.h"

namespace led::sim {

inline constexpr int SplitContinue = 0;  // "繼續"
inline constexpr int SplitRelease = 255; // "解除"
inline constexpr int RowsPerPage = 8;

// The first screen of the editor page that shows screen n, and n's grid row (1..8).
constexpr int pageFirstScreen(int n)
{
    return RowsPerPage * ((n - 1) / RowsPerPage) + 1;
}
constexpr int gridRow(int n)
{
    return (n - 1) % RowsPerPage + 1;
}

// The split in force when screen n of a range starting at `first` enters: the latest
// split code before n that is not "繼續" ("解除" gives 0); 0 for the first screen.
int entrySplit(const Document& doc, int first, int n);
// The same from screen n itself downward: the split its exit works right of.
int exitSplit(const Document& doc, int first, int n);

} // namespace led::sim
