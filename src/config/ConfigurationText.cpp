#include <boost/regex.hpp>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "common/Numbers.h"
#include "common/TextLines.h"
#include "config/Configuration.h"
#include "config/ConfigurationText.h"

namespace {

// Patterns use [0-9] rather than \d so that the classification never depends on the
// locale the regex traits picked up.
// "@kind (count)", the header of one kind's section.
boost::regex sectionHeader(const char* kind) {
    return boost::regex(std::string(R"(^\@)") + kind + R"( \(([0-9]+)\)$)");
}
const boost::regex& boolEntry() {
    static const boost::regex re("^<(.+)><(true|false)>");
    return re;
}
const boost::regex& floatEntry() {
    static const boost::regex re(R"(^<(.+)><([-+]?([0-9]*\.)?[0-9]+([eE][-+]?[0-9]+)?)>)");
    return re;
}
const boost::regex& anyEntry() {
    static const boost::regex re("^<(.+)><(.*)>");
    return re;
}
const boost::regex& colorPattern() {
    static const boost::regex re(R"(^\[(.*) (.*) (.*) (.*)\]$)");
    return re;
}

// Whole-line match. The regex engine gives up on pathological input by throwing; such a
// line simply does not match.
template <class Text, class Match>
bool matchWhole(const Text& text, Match& match, const boost::regex& re) {
    try {
        return boost::regex_match(text.begin(), text.end(), match, re);
    } catch (const std::runtime_error&) {
        return false;
    }
}

// Digits of a section header. Counts beyond 64 bits saturate: reading stops at the end of
// the stream long before such a count runs out.
std::uint64_t parseCount(const std::string& digits) {
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
// applying those that fit the entry pattern. A header that does not match is consumed and
// the section has no entries. Returns false once the stream has run out.
template <class Apply>
bool readSection(std::istream& in, const boost::regex& header, const boost::regex& entry,
                 Apply apply) {
    std::string line;
    boost::smatch match;
    if (!readTextLine(in, line))
        return false;
    if (!matchWhole(line, match, header))
        return true;
    const std::uint64_t count = parseCount(match.str(1));
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!readTextLine(in, line))
            return false;
        if (matchWhole(line, match, entry))
            apply(match);
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
    boost::match_results<std::string_view::const_iterator> match;
    if (!matchWhole(text, match, colorPattern()))
        return Color();
    auto component = [&](int i) {
        return parseFloatValue(text.substr(static_cast<std::size_t>(match.position(i)),
                                           static_cast<std::size_t>(match.length(i))));
    };
    return Color(component(1), component(2), component(3), component(4));
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
    static const boost::regex boolHeader = sectionHeader("bool");
    static const boost::regex floatHeader = sectionHeader("float");
    static const boost::regex colorHeader = sectionHeader("color");
    static const boost::regex colormapHeader = sectionHeader("colormap");
    if (!readSection(in, boolHeader, boolEntry(),
                     [this](const boost::smatch& m) { setBool(m.str(1), m[2] == "true"); }))
        return;
    if (!readSection(in, floatHeader, floatEntry(), [this](const boost::smatch& m) {
            setFloat(m.str(1), parseFloatValue(m.str(2)));
        }))
        return;
    if (!readSection(in, colorHeader, anyEntry(),
                     [this](const boost::smatch& m) { setColor(m.str(1), parseColor(m.str(2))); }))
        return;
    readSection(in, colormapHeader, anyEntry(),
                [this](const boost::smatch& m) { setColormap(m.str(1), parseColormap(m.str(2))); });
}
