#include "common/Numbers.h"

#include <charconv>
#include <limits>

namespace {
bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
} // namespace

bool parseCIntPrefix(std::string_view text, std::int32_t& value, std::size_t& consumed) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    const std::int64_t cap =
        static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= cap)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart) {
        value = 0;
        consumed = 0;
        return false;
    }
    std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        signedValue = std::numeric_limits<std::int32_t>::max();
    if (signedValue < std::numeric_limits<std::int32_t>::min())
        signedValue = std::numeric_limits<std::int32_t>::min();
    value = static_cast<std::int32_t>(signedValue);
    consumed = i;
    return true;
}

std::int32_t parseCInt(std::string_view text) {
    std::int32_t value = 0;
    std::size_t consumed = 0;
    parseCIntPrefix(text, value, consumed);
    return value;
}

bool parseCDoublePrefix(std::string_view text, double& value, std::size_t& consumed) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
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
