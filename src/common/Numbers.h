#pragma once
// Number conversions for file formats, independent of the process locale. They behave
// like the C library's conversions in the "C" locale: leading blanks are skipped, the
// longest valid prefix is taken, text without a number gives 0. Integers saturate
// instead of overflowing.
#include <cstddef>
#include <cstdint>
#include <string_view>

// What a strtol-like scan of decimal text found.
struct CIntScan {
    std::int32_t value = 0;   // 0 when no number was found
    std::size_t consumed = 0; // characters up to the end of the number; 0 when none
    bool found = false;       // whether any digit was read
    bool saturated = false;   // the number lay beyond the 32-bit range and was clamped to it
};
CIntScan scanCIntText(std::string_view text);
// Text of up to nine plain digits, the common case of the program's files, is read inline;
// it holds no blank, no sign and cannot overflow.
inline CIntScan scanCInt(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return scanCIntText(text);
    std::int32_t value = 0;
    for (const char c : text) {
        const auto digit = static_cast<unsigned char>(c - '0');
        if (digit > 9)
            return scanCIntText(text);
        value = value * 10 + digit;
    }
    CIntScan scan;
    scan.value = value;
    scan.consumed = text.size();
    scan.found = true;
    return scan;
}

// Like atoi/strtol on decimal text; out-of-range values saturate to the 32-bit limits.
std::int32_t parseCInt(std::string_view text);
// Exactly strtod in the "C" locale, whatever the process locale: decimal and hexadecimal
// forms, exponents, "inf", "infinity", "nan"; overflow gives infinity, underflow zero.
double parseCDouble(std::string_view text);
bool parseCDoublePrefix(std::string_view text, double& value, std::size_t& consumed);
// Like parseCDouble narrowed to a 32-bit float, except that a value which is not a finite
// float (infinity, NaN, or beyond the float range such as 1e39) gives 0, as text without
// a number does.
float parseFiniteFloat(std::string_view text);
// Whether the value is finite and within the float range.
bool isFiniteFloat(double value);
