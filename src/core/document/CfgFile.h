#pragma once

#include "core/document/IniFile.h"
#include "core/document/Settings.h"

namespace led {

// Reads every .CFG key into s (missing keys give their defaults), brings values that are
// out of range back to their defaults and applies the unit selection rule.
void readCfg(const IniFile& ini, TSystemparameter& s);

// Writes every .CFG key of s into ini in the file's order; other keys of ini stay.
void writeCfg(const TSystemparameter& s, IniFile& ini);

// Port 1..16, baud index 1..14, sign width 1..255 and colour set 0..2; anything else
// becomes the default (1, 6, 10, 0). Returns true when something was changed.
bool normaliseSettings(TSystemparameter& s);

} // namespace led
