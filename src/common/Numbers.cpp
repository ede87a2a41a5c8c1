#include "common/Numbers.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace {
bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips leading blanks and one sign; returns the index after them.
std::size_t skipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}
} // namespace

CIntScan scanCIntText(std::string_view text) {
    CIntScan scan;
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    const std::size_t digitsStart = i;
    // One past the largest magnitude: further digits cannot bring the value back in range.
    constexpr std::int64_t cap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > cap)
            magnitude = cap;
    }
    if (i == digitsStart)
        return scan;
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
        scan.saturated = true;
    } else if (value < std::numeric_limits<std::int32_t>::min()) {
        value = std::numeric_limits<std::int32_t>::min();
        scan.saturated = true;
    }
    scan.value = static_cast<std::int32_t>(value);
    scan.consumed = i;
    scan.found = true;
    return scan;
}

std::int32_t parseCInt(std::string_view text) {
    return scanCInt(text).value;
}

namespace {
// The "C" locale as an object of its own: conversions through it ignore whatever locale
// the process has switched to.
locale_t classicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Characters a number as strtod reads it can hold: digits, hexadecimal digits and
// exponent letters, signs, the point, "inf"/"nan" and the parentheses of "nan(...)".
bool mayBelongToNumber(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' ||
           c == '+' || c == '-' || c == '(' || c == ')' || c == '_';
}
} // namespace

bool parseCDoublePrefix(std::string_view text, double& value, std::size_t& consumed) {
    value = 0.0;
    consumed = 0;
    std::size_t begin = 0;
    while (begin < text.size() && isCSpace(text[begin]))
        ++begin;
    std::size_t end = begin;
    while (end < text.size() && mayBelongToNumber(text[end]))
        ++end;
    if (end == begin)
        return false;
    // strtod needs a terminated string: only the run that can form the number is copied.
    const std::string candidate(text.substr(begin, end - begin));
    char* stop = nullptr;
    const double parsed = strtod_l(candidate.c_str(), &stop, classicLocale());
    if (stop == candidate.c_str())
        return false;
    value = parsed;
    consumed = begin + static_cast<std::size_t>(stop - candidate.c_str());
    return true;
}

double parseCDouble(std::string_view text) {
    double value = 0.0;
    std::size_t consumed = 0;
    parseCDoublePrefix(text, value, consumed);
    return value;
}

bool isFiniteFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

float parseFiniteFloat(std::string_view text) {
    const double value = parseCDouble(text);
    return isFiniteFloat(value) ? static_cast<float>(value) : 0.0f;
}
