#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/LinePatterns.h"
#include "common/Numbers.h"
#include "common/TextLines.h"
#include "config/Configuration.h"
#include "config/ConfigurationText.h"

namespace {

// Every line shape is matched by hand in one pass (common/LinePatterns): the greedy
// patterns that describe them make a backtracking engine slow on long lines.
using EntryMatcher = bool (*)(std::string_view, std::string_view&, std::string_view&);

// Digits of a section header. Counts beyond 64 bits saturate: reading stops at the end of
// the stream long before such a count runs out.
std::uint64_t parseCount(std::string_view digits) {
    std::uint64_t n = 0;
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    for (char c : digits) {
        const auto d = static_cast<std::uint64_t>(c - '0');
        if (n > (limit - d) / 10)
            return limit;
        n = n * 10 + d;
    }
    return n;
}

// Reads one counted section: the header line, then exactly as many lines as it announces,
// applying those that fit the entry shape. A header that does not match is consumed and
// the section has no entries. Returns false once the stream has run out.
template <class Apply>
bool readSection(std::istream& in, std::string_view kind, EntryMatcher entry, Apply apply) {
    std::string line;
    std::string_view digits;
    if (!readTextLine(in, line))
        return false;
    if (!matchSectionHeader(line, kind, digits))
        return true;
    const std::uint64_t count = parseCount(digits);
    std::string_view key;
    std::string_view value;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!readTextLine(in, line))
            return false;
        if (entry(line, key, value))
            apply(std::string(key), value);
    }
    return true;
}

void appendNumber(std::string& out, double value, std::chars_format format, int precision) {
    char buffer[512];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    out.append(buffer, result.ptr);
}

void appendColor(std::string& out, const Color& c) {
    out += '[';
    appendNumber(out, c.r, std::chars_format::fixed, 6);
    out += ' ';
    appendNumber(out, c.g, std::chars_format::fixed, 6);
    out += ' ';
    appendNumber(out, c.b, std::chars_format::fixed, 6);
    out += ' ';
    appendNumber(out, c.a, std::chars_format::fixed, 6);
    out += ']';
}

void appendCount(std::string& out, const char* kind, std::size_t count) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, count);
    out += '@';
    out += kind;
    out += " (";
    out.append(buffer, result.ptr);
    out += ")\n";
}

void appendEntry(std::string& out, const std::string& key, const std::string& value) {
    out += '<';
    out += key;
    out += "><";
    out += value;
    out += ">\n";
}

} // namespace

std::string formatColor(const Color& color) {
    std::string out;
    appendColor(out, color);
    return out;
}

std::string formatColormap(const Colormap& map) {
    std::string out;
    for (std::size_t i = 0; i < map.size(); ++i) {
        if (i > 0)
            out += '+';
        appendColor(out, map[i]);
    }
    return out;
}

std::string formatFloat(float value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "1e+39" : "-1e+39";
    std::string out;
    appendNumber(out, value, std::chars_format::general, 6);
    return out;
}

float parseFloatValue(std::string_view text) {
    const double value = parseCDouble(text);
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < std::numeric_limits<float>::lowest())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

Color parseColor(std::string_view text) {
    std::array<std::string_view, 4> parts;
    if (!matchColorText(text, parts))
        return Color();
    return Color(parseFloatValue(parts[0]), parseFloatValue(parts[1]), parseFloatValue(parts[2]),
                 parseFloatValue(parts[3]));
}

Colormap parseColormap(std::string_view text) {
    std::vector<Color> colors;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('+', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            colors.push_back(parseColor(text.substr(start, end - start)));
        start = end + 1;
    }
    return Colormap(std::move(colors));
}

void Configuration::writeText(std::ostream& out) const {
    // Built as one string so that no number passes through the stream's locale.
    std::string text = "@ConfigurationKind\n";
    appendCount(text, "bool", bools_.size());
    for (const auto& [key, value] : bools_)
        appendEntry(text, key, value ? "true" : "false");
    appendCount(text, "float", floats_.size());
    for (const auto& [key, value] : floats_)
        appendEntry(text, key, formatFloat(value));
    appendCount(text, "color", colors_.size());
    for (const auto& [key, value] : colors_)
        appendEntry(text, key, formatColor(value));
    appendCount(text, "colormap", colormaps_.size());
    for (const auto& [key, value] : colormaps_)
        appendEntry(text, key, formatColormap(value));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void Configuration::readText(std::istream& in) {
    std::string line;
    if (!readTextLine(in, line) || line != "@ConfigurationKind")
        return;
    if (!readSection(in, "bool", matchBoolEntry, [this](std::string key, std::string_view value) {
            setBool(key, value == "true");
        }))
        return;
    if (!readSection(in, "float", matchFloatEntry, [this](std::string key, std::string_view value) {
            setFloat(key, parseFloatValue(value));
        }))
        return;
    if (!readSection(in, "color", matchAnyEntry, [this](std::string key, std::string_view value) {
            setColor(key, parseColor(value));
        }))
        return;
    readSection(in, "colormap", matchAnyEntry, [this](std::string key, std::string_view value) {
        setColormap(key, parseColormap(value));
    });
}
