#pragma once
// The drawing facade: every diagram and glyph is drawn through these immediate-mode OpenGL
// operations. All state (fonts, text scale, global opacity) is process-wide. Every colour's
// alpha is multiplied by the global opacity when it is drawn, and no operation leaves OpenGL
// state changed behind it, except setLineWidth and the setSmoothing pair.
#include <string>
#include <vector>

#include "config/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Spline.h"

class UMLGeometry;

class Graphics {
public:
    enum Alignment : int {
        CenterHorizontal = TextAlign::CenterHorizontal,
        CenterVertical = TextAlign::CenterVertical,
        AlignTop = TextAlign::AlignTop,
    };

    Graphics() = delete;

    // Text. Fonts stay registered until the process ends.

    // Loads a TrueType font at the given face size and registers it under name (replacing a
    // font of that name); the first font registered becomes current. Throws GraphicsException
    // when the file cannot be read as a font.
    static void addFont(const std::string& name, const std::string& file, unsigned size);
    // Makes the named font current; false, and no change, for an unknown name.
    static bool setFont(const std::string& name);
    // Extent of the text's glyphs in diagram units; (0, 0) without a current font.
    static void textSize(const std::string& text, float size, float& width, float& height);
    // Draws one line of text at pos, turned by angle (radians, counter-clockwise) with the
    // alignment flags applied along the turned axes.
    static void drawText(const std::string& text, const Point& pos, float angle, float size,
                         int flags, const Color& color);
    static void drawText(const std::string& text, const Point& pos, float size, int flags,
                         const Color& color);
    // Draws text broken at word boundaries so that lines fit into maxWidth where the words
    // allow it; each line goes below the previous one by that line's measured height.
    static void drawWrappedText(const std::string& text, const Point& pos, float maxWidth,
                                float size, int flags, const Color& color);

    // Vector recording: between begin and end the drawing goes to a vector image being
    // recorded, which keeps text as text in the named font (a face the image's readers know,
    // of the same metrics as the registered font) instead of the textured glyphs, and
    // receives the line widths. format is the recorder's output format.
    static void beginVectorRecording(int format, const std::string& fontName);
    static void endVectorRecording();
    static bool isRecordingVector();

    // Diagram units per font unit and per unit of text size.
    static void setTextScale(float scale);
    static float getTextScale();

    static void setOpacity(float opacity);
    static float getOpacity();

    // Lines and outlines.
    static void drawLine(const Point& p1, const Point& p2, const Color& color);
    static void drawDashedLine(const Point& p1, const Point& p2, float dash, float gap,
                               const Color& color);
    static void rectOutline(const Point& p1, const Point& p2, const Color& color);
    static void rectFill(const Point& p1, const Point& p2, const Color& color);

    // Ellipses: angle 0 is the top and angles grow clockwise; segments < 0 asks for one
    // segment per -segments units of circumference.
    static void ellipseOutline(const Point& centre, float rx, float ry, int segments,
                               const Color& color);
    static void ellipseFill(const Point& centre, float rx, float ry, int segments,
                            const Color& color);
    static void drawArc(const Point& centre, float rx, float ry, float start, float extent,
                        int segments, const Color& color);
    static void sectorFill(const Point& centre, float rx, float ry, float start, float extent,
                           int segments, const Color& color);
    static void sectorOutline(const Point& centre, float rx, float ry, float start, float extent,
                              int segments, const Color& color);
    static void drawRoundedRectangle(const Point& p1, const Point& p2, float radius,
                                     const Color& color);
    static void fillRoundedRectangle(const Point& p1, const Point& p2, float radius,
                                     const Color& color);

    // Polygons: an outline, a convex fill, and a tessellated fill for concave outlines
    // (self-intersecting outlines are not supported).
    static void drawPolygon(const std::vector<Point>& points, const Color& color);
    static void fillConvexPolygon(const std::vector<Point>& points, const Color& color);
    static void polygonFill(const std::vector<Point>& points, const Color& color);

    // A line strip through point(i / samples) for i = 0 .. samples - 1: it stops one step
    // short of the curve's end, where callers put an arrow head.
    static void drawSpline(const spline& curve, const Color& color, int samples);

    // Line widths are in pixels, times the line scale (1 unless an image is drawn larger
    // than the screen shows it).
    static void setLineWidth(float width);
    static void setLineScale(float scale);
    static float getLineScale();
    // true saves the enable switches and turns line smoothing on; false restores them.
    // Calls come in pairs.
    static void setSmoothing(bool on);

    // First point where the segment a-b crosses an edge of the diagram box (edges tried
    // left, upper, right, lower); false when it crosses none.
    static bool clipToRectangle(const Point& a, const Point& b, const UMLGeometry& box, Point& out);

    // Out of the diagram plane, for the 3D glyphs: an axis-aligned box between two corners,
    // and an elliptic cylinder from depth 0 at the base centre to depth -height.
    static void boxFill(const Point3& corner1, const Point3& corner2, const Color& color);
    static void boxOutline(const Point3& corner1, const Point3& corner2, const Color& color);
    static void cylinderFill(const Point& base, float rx, float ry, float height, int segments,
                             const Color& color);
    static void cylinderOutline(const Point& base, float rx, float ry, float height, int segments,
                                const Color& color);
};

// The points drawSpline passes through.
std::vector<Point> splineSamplePoints(const spline& curve, int samples);
