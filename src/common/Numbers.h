#pragma once
// Number conversions for file formats, independent of the process locale. They behave
// like the C library's conversions in the "C" locale: leading blanks are skipped, the
// longest valid prefix is taken, text without a number gives 0. Integers saturate
// instead of overflowing.
#include <cstdint>
#include <string_view>

// Like atoi/strtol on decimal text; out-of-range values saturate to the 32-bit limits.
std::int32_t parseCInt(std::string_view text);
// Like strtol, but also says whether a number was found and where it ended.
bool parseCIntPrefix(std::string_view text, std::int32_t& value, std::size_t& consumed);
// Like strtod on decimal text (with exponent, "inf", "nan").
double parseCDouble(std::string_view text);
bool parseCDoublePrefix(std::string_view text, double& value, std::size_t& consumed);
