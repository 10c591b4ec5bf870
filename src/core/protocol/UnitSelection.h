#pragma once

#include "core/document/Settings.h"

#include <array>
#include <string>

namespace led {

inline constexpr int UnitGroupCount = 16;

// The unit selection dialog's check boxes: 256 units and 16 groups of 16.
class UnitSelection
{
public:
    UnitSelection() { m_groups[0] = true; } // "1組" checked at start

    bool unit(int n) const { return m_units.at(n); }
    void setUnit(int n, bool checked) { m_units.at(n) = checked; }
    bool group(int g) const { return m_groups.at(g); } // g 0..15 for "1組".."16組"
    void setGroup(int g, bool checked) { m_groups.at(g) = checked; }

    void loadChecks(const TSystemparameter& s);
    // Boxes into MACHINE flags and the selected-unit string; none checked gives unit 0.
    void collectUnits(TSystemparameter& s) const;

    void pbAllClick(TSystemparameter& s);   // "勾組全選"
    void pbResetClick(TSystemparameter& s); // "勾組清除"
    // "確定": the flags from the boxes; returns the text for status panel 6.
    std::string pbOkClick(TSystemparameter& s) const;
    // "離開": the boxes as they are become the selection; the panel keeps its text.
    void pbCancelClick(TSystemparameter& s) const { collectUnits(s); }

    // "傳送台號: " and every selected unit number followed by a blank (UTF-8).
    static std::string panelText(const TSystemparameter& s);

private:
    void setGroups(bool checked);

    std::array<bool, UnitCount> m_units{};
    std::array<bool, UnitGroupCount> m_groups{};
};

} // namespace led
