// Placeholder until live content and the animation are written.
#include "core/sim/Effects.h"

namespace led::sim {

StepList EffectAnimation(const EffectContext&)
{
    return {};
}
StepList ShowClock(const EffectContext&)
{
    return {};
}
StepList ShowDate(const EffectContext&)
{
    return {};
}
StepList ShowTemperature(const EffectContext&)
{
    return {};
}
std::string FormatRocDate(const LocalTime&)
{
    return {};
}

} // namespace led::sim
