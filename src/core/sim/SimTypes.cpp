#include "core/sim/SimTypes.h"

namespace led::sim {

Surfaces Surfaces::forSignWidth(int signWidth)
{
    Surfaces s;
    const int maxLength = 2 * signWidth;
    s.W = 8 * maxLength + 4;
    s.H = 18;
    s.E = 8 * maxLength + 8;
    // The panel takes the size of the row's text field: E × 22.
    s.display = Picture(s.E, PanelHeight);
    s.previous = Picture(s.E + 2, PanelHeight);
    s.blackSurface = Picture(s.E + 2, PanelHeight);
    s.blackImage = Picture(s.E, PanelHeight);
    return s;
}

} // namespace led::sim
