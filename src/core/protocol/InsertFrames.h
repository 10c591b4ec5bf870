#pragma once

#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <cstdint>
#include <string_view>

namespace led {

class UnitSelection;

namespace texts {
inline constexpr const char* InsertSent = "插播訊息傳送完畢!";
} // namespace texts

// Insert frames carry no end frame; their texts (Big5) go out unchanged, whatever length.

// FF 07 F8, the manual line 1–10, the count, 20 20, the text, ten blanks, 00 00 00.
Bytes manualInsertFrame(std::uint8_t line, std::uint8_t count, std::string_view text);
// FF 07 F8, the automatic slot 0–9, the count, 20, the text, fourteen blanks, 00 00 00.
Bytes automaticInsertFrame(std::uint8_t slot, std::uint8_t count, std::string_view text);

// The address header of the current selection followed by the insert frame.
Bytes manualInsert(TSystemparameter& s, std::uint8_t line, std::uint8_t count,
                   std::string_view text, UnitSelection* dialog = nullptr);
Bytes automaticInsert(TSystemparameter& s, std::uint8_t slot, std::uint8_t count,
                      std::string_view text, UnitSelection* dialog = nullptr);

} // namespace led
