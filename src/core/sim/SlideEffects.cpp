// Placeholder until the sliding, rolling and covering effects are written.
#include "core/sim/Effects.h"

namespace led::sim {

StepList EffectMoveLeft(const EffectContext&)
{
    return {};
}
StepList EffectSweepRight(const EffectContext&)
{
    return {};
}
StepList EffectRollIn(const EffectContext&)
{
    return {};
}
StepList EffectCoverLeft(const EffectContext&)
{
    return {};
}
StepList EffectCoverRight(const EffectContext&)
{
    return {};
}
StepList EffectCoverUp(const EffectContext&)
{
    return {};
}
StepList EffectCoverDown(const EffectContext&)
{
    return {};
}
StepList EffectCoverIn(const EffectContext&)
{
    return {};
}
StepList EffectCoverOut(const EffectContext&)
{
    return {};
}
StepList EffectCoverUpDown(const EffectContext&)
{
    return {};
}
StepList EffectCoverDownUp(const EffectContext&)
{
    return {};
}
StepList EffectRollUp(const EffectContext&)
{
    return {};
}
StepList EffectRollDown(const EffectContext&)
{
    return {};
}
StepList EffectRollOut(const EffectContext&)
{
    return {};
}

} // namespace led::sim
