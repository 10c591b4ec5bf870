#pragma once

#include "core/text/Big5.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace led::cli {

// Writes the transmissions raw to outFile, or prints each as hexDump text on a line.
int emitTransmissions(const std::vector<Bytes>& transmissions,
                      const std::optional<std::string>& outFile, std::ostream& out,
                      std::ostream& err);

// A date and time "YYYY-MM-DDTHH:MM:SS"; fields and the weekday (0 Sunday) filled in.
struct CivilTime
{
    int year, month, day, hour, minute, second, weekday;
};
std::optional<CivilTime> parseCivilTime(const std::string& text);
CivilTime localNow();

} // namespace led::cli
