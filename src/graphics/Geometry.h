#pragma once
// Plane geometry behind the drawing primitives: ellipse sampling, dashes, rounded corners,
// segment clipping, text alignment and word wrapping. Pure functions, no OpenGL, so the
// drawing code only emits what these compute and the results can be checked directly.
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A point or vector in diagram units.
struct Point {
    float x = 0.0f;
    float y = 0.0f;

    Point() = default;
    Point(float px, float py) : x(px), y(py) {}
};

// A point out of the diagram plane, for the 3D glyphs.
struct Point3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Point3() = default;
    Point3(float px, float py, float pz) : x(px), y(py), z(pz) {}
};

// Upper bound for the number of segments of one ellipse and of dashes of one line. It keeps
// absurd sizes (or non-finite ones) from turning a single primitive into an endless loop.
constexpr int maxPrimitiveSegments = 1 << 16;

// Number of segments of an ellipse: a value >= 0 is taken as it is; a negative value -L asks
// for one segment per L units of circumference, ceil(2*pi*max(rx, ry) / L).
int ellipseSegmentCount(float rx, float ry, int segments);

// Rim points of an ellipse arc. Angle 0 is the top of the ellipse and angles grow clockwise:
// the point at angle a is (cx + rx*sin a, cy + ry*cos a). Point k lies at
// start + extent*k/n for k = 0 .. n-1, and also k = n when includeEnd is set (arcs and fans
// end exactly at start + extent). No segments give no points.
std::vector<Point> ellipsePoints(const Point& centre, float rx, float ry, float start, float extent,
                                 int segments, bool includeEnd);

// The dashes of a dashed line from p1 to p2: dashes start every dash + gap units and are
// dash units long; the last one is not cut at p2. A line of length 0 has no dashes.
std::vector<std::pair<Point, Point>> dashSegments(const Point& p1, const Point& p2, float dash,
                                                  float gap);

// The pieces of a rectangle with rounded corners: four quarter arcs (corner centre moved
// inwards by the radius, start angle, extent pi/2), the four straight edges between their
// ends, and the three rectangles that fill the space between the corner sectors.
struct RoundedRectangleParts {
    struct Corner {
        Point centre;
        float start = 0.0f;
    };
    Corner corners[4];
    std::pair<Point, Point> edges[4];
    std::pair<Point, Point> fills[3];
};
RoundedRectangleParts roundedRectangleParts(const Point& p1, const Point& p2, float radius);

// Intersection of the segments a1-a2 and b1-b2 (ends included); false for parallel segments
// and segments that do not meet.
bool segmentIntersection(const Point& a1, const Point& a2, const Point& b1, const Point& b2,
                         Point& out);

// First intersection of the segment a-b with the edges of the box spanning x in [left, right]
// and y in [top, bottom] (diagram boxes: top is the lower edge). The edges are tried in the
// order left, upper (y = bottom), right, lower (y = top).
bool clipSegmentToBox(const Point& a, const Point& b, float left, float top, float right,
                      float bottom, Point& out);

// Alignment flags of text drawing, combined with OR; 0 anchors the left end of the baseline.
namespace TextAlign {
enum : int {
    CenterHorizontal = 1,
    CenterVertical = 2,
    AlignTop = 4,
};
}

// The shift applied to text of the given extent for the given alignment flags.
Point textAlignmentShift(float width, float height, int flags);

// The prefix of text up to the end of the blanks (spaces and tabs) after its k-th word.
std::string firstWords(const std::string& text, int k);

// Breaks text into lines at word boundaries: each line takes as many words as fit into
// maxWidth as measured by widthOf; a first word wider than that stands alone. Lines keep the
// blanks that follow their last word. Empty text gives no lines.
std::vector<std::string> wrapTextLines(const std::string& text, float maxWidth,
                                       const std::function<float(const std::string&)>& widthOf);
