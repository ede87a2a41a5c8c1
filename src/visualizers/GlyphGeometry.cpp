#include "visualizers/GlyphGeometry.h"

#include <algorithm>

namespace {

constexpr float twoPi = 6.28318531f;

std::vector<Point> scaled(std::initializer_list<Point> fractions, float x1, float y1, float x2,
                          float y2) {
    std::vector<Point> points;
    for (const Point& f : fractions)
        points.emplace_back(x1 + f.x * (x2 - x1), y1 + f.y * (y2 - y1));
    return points;
}

// Where the value lies in [min, max]; only called for a non-empty range.
float place(std::int32_t value, std::int32_t min, std::int32_t max) {
    return static_cast<float>(static_cast<double>(value) - min) /
           static_cast<float>(static_cast<double>(max) - min);
}

} // namespace

std::vector<Point> checkMarkOutline(float x1, float y1, float x2, float y2) {
    return scaled(
        {{0.1f, 0.4f}, {0.1f, 0.5f}, {0.4f, 0.3f}, {0.8f, 0.9f}, {0.9f, 0.9f}, {0.4f, 0.1f}}, x1,
        y1, x2, y2);
}

std::vector<Point> crossOutline(float x1, float y1, float x2, float y2) {
    return scaled({{0.1f, 0.9f},
                   {0.2f, 0.9f},
                   {0.5f, 0.6f},
                   {0.8f, 0.9f},
                   {0.9f, 0.9f},
                   {0.6f, 0.5f},
                   {0.9f, 0.1f},
                   {0.8f, 0.1f},
                   {0.5f, 0.4f},
                   {0.2f, 0.1f},
                   {0.1f, 0.1f},
                   {0.4f, 0.5f}},
                  x1, y1, x2, y2);
}

float pieSweep(std::int32_t value, std::int32_t min, std::int32_t max, float minAngle) {
    if (max != min)
        return minAngle + (twoPi - minAngle) * place(value, min, max);
    return value == 0 ? minAngle : twoPi;
}

float heightBarFraction(std::int32_t value, std::int32_t activeMin, std::int32_t activeMax,
                        float minHeight) {
    float f = value == 0 ? minHeight : 1.0f;
    if (activeMax != activeMin)
        f *= place(value, activeMin, activeMax);
    return f;
}

float barHeight(std::int32_t value, std::int32_t min, std::int32_t max, float minHeight,
                float maxHeight) {
    if (max != min)
        return minHeight + (maxHeight - minHeight) * place(value, min, max);
    return value == 0 ? minHeight : maxHeight;
}

Point glyphRadii(float w, float h, bool round) {
    if (round) {
        const float r = std::min(w / 2.0f, h / 2.0f);
        return Point(r, r);
    }
    return Point(w / 2.0f, h / 2.0f);
}

Point circleRadii(std::int32_t value, std::int32_t min, std::int32_t max, Point radii,
                  float minRadius) {
    if (value == 0)
        radii = Point(minRadius, minRadius);
    if (max != min) {
        const float k = minRadius + (1.0f - minRadius) * place(value, min, max);
        radii = Point(radii.x * k, radii.y * k);
    }
    return radii;
}

float colorSquarePosition(std::int32_t value, std::int32_t min, std::int32_t max) {
    if (max != min)
        return place(value, min, max);
    return value == 0 ? 0.0f : 1.0f;
}

Color colorSquareColor(const Color& fill, const Color& mapped) {
    return Color(fill.r + (mapped.r - fill.r) * mapped.a, fill.g + (mapped.g - fill.g) * mapped.a,
                 fill.b + (mapped.b - fill.b) * mapped.a, fill.a);
}
