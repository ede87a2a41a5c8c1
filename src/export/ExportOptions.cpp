#include "export/ExportOptions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool wholeNumber(const std::string& text, long long& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last && first != last;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

float finiteNumber(const std::string& text, const std::string& what) {
    double value = 0.0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || first == last || !std::isfinite(value) ||
        std::fabs(value) > std::numeric_limits<float>::max())
        throw UsageError(what + " \"" + text + "\" is not a finite number");
    return static_cast<float>(value);
}

} // namespace

ImageSize parseImageSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    const std::string message = "--size \"" + text + "\": ";
    if (x == std::string::npos)
        throw UsageError(message + "expected WIDTHxHEIGHT in pixels, for example 1024x768");
    long long w = 0;
    long long h = 0;
    if (!wholeNumber(text.substr(0, x), w) || !wholeNumber(text.substr(x + 1), h))
        throw UsageError(message + "width and height must be whole numbers");
    if (w <= 0 || h <= 0)
        throw UsageError(message + "width and height must be at least 1 pixel");
    constexpr long long largest = std::numeric_limits<int>::max();
    if (w > largest || h > largest)
        throw UsageError(message + "larger than any image the renderer can make");
    return {static_cast<int>(w), static_cast<int>(h)};
}

CameraSetting parseCamera(const std::string& text) {
    const std::vector<std::string> parts = split(text, ',');
    if (parts.size() != 5)
        throw UsageError("--camera \"" + text + "\": expected ZOOM,PANX,PANY,ROT0,ROT1");
    CameraSetting c;
    c.zoom = finiteNumber(parts[0], "--camera zoom");
    if (!(c.zoom > 0.0f))
        throw UsageError("--camera zoom \"" + parts[0] + "\" must be greater than 0");
    c.pan = {finiteNumber(parts[1], "--camera pan"), finiteNumber(parts[2], "--camera pan")};
    c.rotation = {finiteNumber(parts[3], "--camera rotation"),
                  finiteNumber(parts[4], "--camera rotation")};
    return c;
}

PixelPoint parsePixelPoint(const std::string& text) {
    const std::vector<std::string> parts = split(text, ',');
    long long x = 0;
    long long y = 0;
    if (parts.size() != 2 || !wholeNumber(parts[0], x) || !wholeNumber(parts[1], y) ||
        std::llabs(x) > std::numeric_limits<int>::max() / 2 ||
        std::llabs(y) > std::numeric_limits<int>::max() / 2)
        throw UsageError("--pick \"" + text + "\": expected X,Y in whole pixels");
    return {static_cast<int>(x), static_cast<int>(y)};
}

std::pair<std::string, std::string> parseGlyphChoice(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size())
        throw UsageError("--glyph \"" + text + "\": expected METRIC=GLYPH");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

int parseRows(const std::string& text) {
    long long rows = 0;
    if (!wholeNumber(text, rows) || (rows < 1 && rows != -1) ||
        rows > std::numeric_limits<int>::max())
        throw UsageError("--rows \"" + text + "\": expected a positive number of rows, or -1");
    return static_cast<int>(rows);
}

std::vector<std::string> splitList(const std::string& text, const std::string& option) {
    std::vector<std::string> items = split(text, ',');
    for (const std::string& item : items)
        if (item.empty())
            throw UsageError(option + " \"" + text + "\": empty item in the list");
    return items;
}

int parseTileSide(const std::string& text) {
    long long side = 0;
    if (!wholeNumber(text, side) || side < 1 || side > std::numeric_limits<int>::max())
        throw UsageError("--tile \"" + text + "\": expected a positive number of pixels");
    return static_cast<int>(side);
}
