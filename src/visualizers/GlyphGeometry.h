#pragma once
// How a metric value becomes glyph geometry: sweeps, heights, radii, mark outlines and the
// coloured square's colour. Pure functions, so the glyphs only draw what these compute.
#include <cstdint>
#include <vector>

#include "config/Color.h"
#include "graphics/Geometry.h"

// The check mark and the cross of boolean glyphs inside the rectangle (x1, y1)-(x2, y2).
std::vector<Point> checkMarkOutline(float x1, float y1, float x2, float y2);
std::vector<Point> crossOutline(float x1, float y1, float x2, float y2);

// Sweep angle of a pie: minAngle for 0, a full turn otherwise, spread over the range when it
// is not empty.
float pieSweep(std::int32_t value, std::int32_t min, std::int32_t max, float minAngle);

// Height of a height bar as a fraction of its rectangle, on the scale shared by all active
// integer metrics of the view.
float heightBarFraction(std::int32_t value, std::int32_t activeMin, std::int32_t activeMax,
                        float minHeight);

// Height of a 3D bar or cylinder out of the diagram plane.
float barHeight(std::int32_t value, std::int32_t min, std::int32_t max, float minHeight,
                float maxHeight);

// Radii of round glyphs in a w x h rectangle: equal (the smaller half side) when round.
Point glyphRadii(float w, float h, bool round);

// Radii of an integer radius circle, from the rectangle's radii.
Point circleRadii(std::int32_t value, std::int32_t min, std::int32_t max, Point radii,
                  float minRadius);

// Position in the colour map of a coloured square: 0 or 1 for booleans, the place in the
// range for integers.
float colorSquarePosition(std::int32_t value, std::int32_t min, std::int32_t max);
// The square's colour: the fill colour pulled towards the map's colour by that colour's alpha;
// the fill's alpha is kept.
Color colorSquareColor(const Color& fill, const Color& mapped);
