// Placeholder until the character, pixel and exit-only effects are written.
#include "core/sim/Effects.h"

namespace led::sim {

StepList EffectInstant(const EffectContext&)
{
    return {};
}
StepList EffectStripes(const EffectContext&)
{
    return {};
}
StepList EffectShoot(const EffectContext&)
{
    return {};
}
StepList EffectJump(const EffectContext&)
{
    return {};
}
StepList EffectRain(const EffectContext&)
{
    return {};
}
StepList EffectSnow(const EffectContext&)
{
    return {};
}
StepList EffectStop(const EffectContext&)
{
    return {};
}
StepList EffectBlink(const EffectContext&)
{
    return {};
}
StepList EffectInverseBlink(const EffectContext&)
{
    return {};
}
StepList EffectPause(const EffectContext&)
{
    return {};
}

} // namespace led::sim
