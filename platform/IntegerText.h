#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Converts a number as TAPPER's fields and the settings file's integers are
// written: optional leading blanks, then an optional "+" or "-" and decimal
// digits, or "$" and hexadecimal digits, and nothing else. Values beyond 32 bits
// do not convert; hexadecimal takes up to eight digits and wraps to a signed
// 32-bit value.
std::optional<std::int32_t> convertFieldNumber(std::string_view text);
