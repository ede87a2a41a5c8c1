#include "common/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

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

CIntScan scanCInt(std::string_view text) {
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

bool parseCDoublePrefix(std::string_view text, double& value, std::size_t& consumed) {
    bool negative = false;
    const std::size_t i = skipBlanksAndSign(text, negative);
    double parsed = 0.0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        value = 0.0;
        consumed = 0;
        return false;
    }
    auto result = std::from_chars(text.data() + i, text.data() + text.size(), parsed,
                                  std::chars_format::general);
    if (result.ec == std::errc::invalid_argument || result.ptr == text.data() + i) {
        value = 0.0;
        consumed = 0;
        return false;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow gives zero.
        std::string_view digits(text.data() + i,
                                static_cast<std::size_t>(result.ptr - (text.data() + i)));
        bool tiny = digits.find_first_of("eE") != std::string_view::npos &&
                    digits.find("e-") != std::string_view::npos;
        tiny = tiny || digits.find("E-") != std::string_view::npos;
        parsed = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    value = negative ? -parsed : parsed;
    consumed = static_cast<std::size_t>(result.ptr - text.data());
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
