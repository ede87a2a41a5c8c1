#include "graphics/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float halfPi = 1.5707963f;
constexpr float pi = 3.1415927f;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

int ellipseSegmentCount(float rx, float ry, int segments) {
    if (segments >= 0)
        return std::min(segments, maxPrimitiveSegments);
    double perSegment = -static_cast<double>(segments);
    double count = std::ceil(6.283185307179586 * std::max(rx, ry) / perSegment);
    // Negative, zero and NaN radii give no segments; huge ones are capped.
    if (!(count > 0.0))
        return 0;
    return count >= maxPrimitiveSegments ? maxPrimitiveSegments : static_cast<int>(count);
}

std::vector<Point> ellipsePoints(const Point& centre, float rx, float ry, float start, float extent,
                                 int segments, bool includeEnd) {
    int n = ellipseSegmentCount(rx, ry, segments);
    std::vector<Point> points;
    if (n == 0)
        return points;
    int last = includeEnd ? n : n - 1;
    points.reserve(static_cast<std::size_t>(last) + 1);
    for (int k = 0; k <= last; ++k) {
        float a = start + extent * static_cast<float>(k) / static_cast<float>(n);
        points.emplace_back(centre.x + rx * std::sin(a), centre.y + ry * std::cos(a));
    }
    return points;
}

std::vector<std::pair<Point, Point>> dashSegments(const Point& p1, const Point& p2, float dash,
                                                  float gap) {
    std::vector<std::pair<Point, Point>> dashes;
    float dx = p2.x - p1.x;
    float dy = p2.y - p1.y;
    float length = std::sqrt(dx * dx + dy * dy);
    float step = dash + gap;
    // A zero step would never get past the end of the line.
    if (!(length > 0.0f) || !(step > 0.0f) || !std::isfinite(length))
        return dashes;
    dx /= length;
    dy /= length;
    double count = std::ceil(static_cast<double>(length) / step);
    if (count > maxPrimitiveSegments) {
        // So dense that it looks solid: one dash over the whole line.
        dashes.emplace_back(p1, p2);
        return dashes;
    }
    for (int i = 0;; ++i) {
        float s = static_cast<float>(i) * step;
        if (!(s < length))
            break;
        dashes.emplace_back(Point(p1.x + dx * s, p1.y + dy * s),
                            Point(p1.x + dx * (s + dash), p1.y + dy * (s + dash)));
    }
    return dashes;
}

RoundedRectangleParts roundedRectangleParts(const Point& p1, const Point& p2, float radius) {
    float x1 = std::min(p1.x, p2.x);
    float x2 = std::max(p1.x, p2.x);
    float y1 = std::min(p1.y, p2.y);
    float y2 = std::max(p1.y, p2.y);
    float r = radius;
    RoundedRectangleParts parts;
    // Arcs run clockwise from the top: upper right, lower right, lower left, upper left.
    parts.corners[0] = {Point(x2 - r, y2 - r), 0.0f};
    parts.corners[1] = {Point(x2 - r, y1 + r), halfPi};
    parts.corners[2] = {Point(x1 + r, y1 + r), pi};
    parts.corners[3] = {Point(x1 + r, y2 - r), 3.0f * halfPi};
    parts.edges[0] = {Point(x1 + r, y2), Point(x2 - r, y2)};
    parts.edges[1] = {Point(x2, y2 - r), Point(x2, y1 + r)};
    parts.edges[2] = {Point(x2 - r, y1), Point(x1 + r, y1)};
    parts.edges[3] = {Point(x1, y1 + r), Point(x1, y2 - r)};
    parts.fills[0] = {Point(x1 + r, y1), Point(x2 - r, y2)};
    parts.fills[1] = {Point(x1, y1 + r), Point(x1 + r, y2 - r)};
    parts.fills[2] = {Point(x2 - r, y1 + r), Point(x2, y2 - r)};
    return parts;
}

bool segmentIntersection(const Point& a1, const Point& a2, const Point& b1, const Point& b2,
                         Point& out) {
    double rx = a2.x - a1.x;
    double ry = a2.y - a1.y;
    double sx = b2.x - b1.x;
    double sy = b2.y - b1.y;
    double denominator = rx * sy - ry * sx;
    if (denominator == 0.0)
        return false;
    double qx = b1.x - a1.x;
    double qy = b1.y - a1.y;
    double t = (qx * sy - qy * sx) / denominator;
    double u = (qx * ry - qy * rx) / denominator;
    if (t < 0.0 || t > 1.0 || u < 0.0 || u > 1.0)
        return false;
    out = Point(static_cast<float>(a1.x + t * rx), static_cast<float>(a1.y + t * ry));
    return true;
}

bool clipSegmentToBox(const Point& a, const Point& b, float left, float top, float right,
                      float bottom, Point& out) {
    const std::pair<Point, Point> edges[4] = {
        {Point(left, top), Point(left, bottom)},
        {Point(left, bottom), Point(right, bottom)},
        {Point(right, bottom), Point(right, top)},
        {Point(right, top), Point(left, top)},
    };
    for (const auto& edge : edges) {
        if (segmentIntersection(a, b, edge.first, edge.second, out))
            return true;
    }
    return false;
}

Point textAlignmentShift(float width, float height, int flags) {
    Point shift;
    if (flags & TextAlign::CenterHorizontal)
        shift.x -= 0.5f * width;
    if (flags & TextAlign::CenterVertical)
        shift.y -= 0.5f * height;
    if (flags & TextAlign::AlignTop)
        shift.y -= height;
    return shift;
}

std::string firstWords(const std::string& text, int k) {
    std::size_t pos = 0;
    for (int i = 0; i < k; ++i) {
        while (pos < text.size() && !isBlank(text[pos]))
            ++pos;
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
    }
    return text.substr(0, pos);
}

std::vector<std::string> wrapTextLines(const std::string& text, float maxWidth,
                                       const std::function<float(const std::string&)>& widthOf) {
    std::vector<std::string> lines;
    std::string remaining = text;
    while (!remaining.empty()) {
        std::string line = firstWords(remaining, 1);
        for (int k = 2; line.size() < remaining.size(); ++k) {
            std::string candidate = firstWords(remaining, k);
            if (maxWidth < widthOf(candidate))
                break;
            line = std::move(candidate);
        }
        remaining.erase(0, line.size());
        lines.push_back(std::move(line));
    }
    return lines;
}
