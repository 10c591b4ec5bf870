#pragma once

#include "core/sim/SimTypes.h"

#include <functional>

namespace led::sim {

inline constexpr int RandomEffectCode = 31;
inline constexpr int ContinueExitCode = 255; // "續幕"

// An effect routine; empty when a code has none.
using EffectRoutine = std::function<StepList(const EffectContext&)>;
// The routine of an effect code in a direction (1 entry, 2 exit).
using EffectTable = std::function<EffectRoutine(int code, int direction)>;

// The routines of the sign's effect codes; the live displays (29, 30, 33) come with their
// move-left follow-up.
EffectRoutine standardRoutine(int code, int direction);

// Code 31 stands for a code drawn uniformly from 0..32, drawn again while excluded.
int drawEntryCode(const RandomSource& random);
int drawExitCode(const RandomSource& random);

// What an entry or exit plays: the code actually run and its steps. The first step also
// copies the display into the previous-display surface (an entry blackens 960 × H of it
// first); an effect without steps draws nothing at all.
struct EffectRun
{
    int code = 0;
    StepList steps;
};

EffectRun RunEntryEffect(EffectContext c, int code, const EffectTable& table = standardRoutine);
EffectRun RunExitEffect(EffectContext c, int code, const EffectTable& table = standardRoutine);

} // namespace led::sim
