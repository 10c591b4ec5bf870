#pragma once

#include "core/sim/SimTypes.h"

namespace led::sim {

// Sliding, rolling and covering effects.
StepList EffectMoveLeft(const EffectContext& c);
StepList EffectSweepRight(const EffectContext& c);
StepList EffectRollIn(const EffectContext& c);
StepList EffectCoverLeft(const EffectContext& c);
StepList EffectCoverRight(const EffectContext& c);
StepList EffectCoverUp(const EffectContext& c);
StepList EffectCoverDown(const EffectContext& c);
StepList EffectCoverIn(const EffectContext& c);
StepList EffectCoverOut(const EffectContext& c);
StepList EffectCoverUpDown(const EffectContext& c);
StepList EffectCoverDownUp(const EffectContext& c);
StepList EffectRollUp(const EffectContext& c);
StepList EffectRollDown(const EffectContext& c);
StepList EffectRollOut(const EffectContext& c);

// Character, pixel and exit-only effects.
StepList EffectInstant(const EffectContext& c);
StepList EffectStripes(const EffectContext& c);
StepList EffectShoot(const EffectContext& c);
StepList EffectJump(const EffectContext& c);
StepList EffectRain(const EffectContext& c);
StepList EffectSnow(const EffectContext& c);
StepList EffectStop(const EffectContext& c);
StepList EffectBlink(const EffectContext& c);
StepList EffectInverseBlink(const EffectContext& c);
StepList EffectPause(const EffectContext& c);

// Live content and animation.
StepList EffectAnimation(const EffectContext& c);
StepList ShowClock(const EffectContext& c);
StepList ShowDate(const EffectContext& c);
StepList ShowTemperature(const EffectContext& c);
// "115/12/ 9" style Republic of China date text as the date display shows it (UTF-8).
std::string FormatRocDate(const LocalTime& t);

} // namespace led::sim
