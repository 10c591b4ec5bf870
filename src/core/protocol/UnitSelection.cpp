#include "core/protocol/UnitSelection.h"

namespace led {

void UnitSelection::loadChecks(const TSystemparameter& s)
{
    for (int n = 0; n < UnitCount; ++n)
        m_units[n] = s.machine[n] == 1;
}

void UnitSelection::collectUnits(TSystemparameter& s) const
{
    s.selectedUnits.clear();
    for (int n = 0; n < UnitCount; ++n) {
        s.machine[n] = m_units[n] ? 1 : 0;
        if (m_units[n])
            s.selectedUnits += static_cast<char>(n);
    }
    if (s.selectedUnits.empty()) {
        s.selectedUnits = Bytes(1, '\0');
        s.machine[0] = 1;
    }
    s.selectedCount = static_cast<int>(s.selectedUnits.size());
}

void UnitSelection::setGroups(bool checked)
{
    for (int g = 0; g < UnitGroupCount; ++g)
        if (m_groups[g])
            for (int n = 16 * g; n < 16 * g + 16; ++n)
                m_units[n] = checked;
}

void UnitSelection::pbAllClick(TSystemparameter& s)
{
    setGroups(true);
    collectUnits(s);
}

void UnitSelection::pbResetClick(TSystemparameter& s)
{
    setGroups(false);
    collectUnits(s);
}

std::string UnitSelection::pbOkClick(TSystemparameter& s) const
{
    for (int n = 0; n < UnitCount; ++n)
        s.machine[n] = m_units[n] ? 1 : 0;
    return panelText(s);
}

std::string UnitSelection::panelText(const TSystemparameter& s)
{
    std::string text = "傳送台號: ";
    for (int n = 0; n < UnitCount; ++n)
        if (s.machine[n] == 1)
            text += std::to_string(n) + " ";
    return text;
}

} // namespace led
