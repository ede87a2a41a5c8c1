#include "graphics/Graphics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>

#include <FTGL/ftgl.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <gl2ps.h>

#include "common/Exception.h"
#include "uml/UMLModel.h"

namespace {

struct GraphicsState {
    std::map<std::string, std::unique_ptr<FTFont>> fonts;
    FTFont* currentFont = nullptr; // owned by fonts
    float textScale = 0.08f;
    float opacity = 1.0f;
    int smoothingDepth = 0;
    float lineScale = 1.0f;
    bool recording = false;
    int recordingFormat = 0;
    std::string recordingFont;
};

GraphicsState& state() {
    static GraphicsState s;
    return s;
}

constexpr float twoPi = 6.2831853f;

void applyColor(const Color& c) {
    glColor4f(c.r, c.g, c.b, c.a * state().opacity);
}

void vertex(const Point& p) {
    glVertex2f(p.x, p.y);
}

void emit(GLenum mode, const std::vector<Point>& points) {
    glBegin(mode);
    for (const Point& p : points)
        vertex(p);
    glEnd();
}

// The extent of a string in font units, (0, 0) without a current font.
bool fontBox(const std::string& text, float& width, float& height) {
    FTFont* font = state().currentFont;
    width = height = 0.0f;
    if (!font)
        return false;
    FTBBox box = font->BBox(text.c_str());
    width = box.Upper().Xf() - box.Lower().Xf();
    height = box.Upper().Yf() - box.Lower().Yf();
    return true;
}

// Text as the vector formats need it: characters that would end the text or the markup
// around it are written as escapes.
std::string escapedForVector(const std::string& text, int format) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (format == GL2PS_SVG) {
            switch (c) {
            case '&':
                out += "&amp;";
                continue;
            case '<':
                out += "&lt;";
                continue;
            case '>':
                out += "&gt;";
                continue;
            case '"':
                out += "&quot;";
                continue;
            default:
                break;
            }
        } else if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
        }
        // Control characters have no glyph and would make the markup invalid.
        if (static_cast<unsigned char>(c) < 0x20)
            continue;
        out += c;
    }
    return out;
}

// Records one line of text whose pen origin and direction are the current model-view's
// origin and x axis; s is diagram units per font unit.
void recordText(FTFont& font, const std::string& text, float s, const Color& color) {
    GLdouble modelView[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    float width = 0.0f;
    float height = 0.0f;
    fontBox(text, width, height);
    // The pen origin, a point along the baseline and the corners of the text's box in
    // window coordinates.
    const double local[4][2] = {
        {0.0, 0.0}, {width * s, 0.0}, {0.0, height * s}, {width * s, height * s}};
    double window[4][3];
    for (int i = 0; i < 4; ++i)
        if (gluProject(local[i][0], local[i][1], 0.0, modelView, projection, viewport,
                       &window[i][0], &window[i][1], &window[i][2]) != GL_TRUE)
            return;
    double left = window[0][0], right = left, bottom = window[0][1], top = bottom;
    for (const auto& w : window) {
        left = std::min(left, w[0]);
        right = std::max(right, w[0]);
        bottom = std::min(bottom, w[1]);
        top = std::max(top, w[1]);
    }
    if (right < viewport[0] || left > viewport[0] + viewport[2] || top < viewport[1] ||
        bottom > viewport[1] + viewport[3])
        return;
    double ux = 0.0, uy = 0.0, uz = 0.0;
    if (gluProject(1.0, 0.0, 0.0, modelView, projection, viewport, &ux, &uy, &uz) != GL_TRUE)
        return;
    const double dx = ux - window[0][0];
    const double dy = uy - window[0][1];
    const double pixelsPerUnit = std::hypot(dx, dy);
    const double pixelSize = static_cast<double>(font.FaceSize()) * s * pixelsPerUnit;
    // Text under a pixel high cannot be read and has no size in the formats.
    if (!(pixelSize >= 1.0) || pixelSize > 32767.0)
        return;
    const GraphicsState& st = state();
    GL2PSvertex at;
    at.xyz[0] = static_cast<GLfloat>(window[0][0]);
    at.xyz[1] = static_cast<GLfloat>(window[0][1]);
    at.xyz[2] = static_cast<GLfloat>(window[0][2]);
    GL2PSrgba rgba = {color.r, color.g, color.b, color.a * st.opacity};
    std::copy(rgba, rgba + 4, at.rgba);
    const auto angle = static_cast<GLfloat>(std::atan2(dy, dx) * 57.29577951308232);
    gl2psForceRasterPos(&at);
    gl2psTextOptColor(escapedForVector(text, st.recordingFormat).c_str(), st.recordingFont.c_str(),
                      static_cast<GLshort>(std::lround(pixelSize)), GL2PS_TEXT_BL, angle, rgba);
}

// GLU tessellator callbacks.
void tessBegin(GLenum mode) {
    glBegin(mode);
}
void tessEdgeFlag(GLboolean flag) {
    glEdgeFlag(flag);
}
void tessVertex(void* data) {
    // The tessellator hands out null for vertices it would have needed a combine callback
    // for (self-intersecting outlines); those are skipped.
    if (data)
        glVertex3dv(static_cast<const GLdouble*>(data));
}
void tessEnd() {
    glEnd();
}

// Switches the depth comparison to less-or-equal while a 3D primitive draws.
class DepthLessEqualScope {
public:
    DepthLessEqualScope() {
        glPushAttrib(GL_DEPTH_BUFFER_BIT);
        glDepthFunc(GL_LEQUAL);
    }
    ~DepthLessEqualScope() { glPopAttrib(); }
    DepthLessEqualScope(const DepthLessEqualScope&) = delete;
    DepthLessEqualScope& operator=(const DepthLessEqualScope&) = delete;
};

} // namespace

void Graphics::addFont(const std::string& name, const std::string& file, unsigned size) {
    auto font = std::make_unique<FTGLTextureFont>(file.c_str());
    if (font->Error())
        throw GraphicsException("Could not construct font from " + file);
    font->FaceSize(size, 72);
    GraphicsState& s = state();
    auto& slot = s.fonts[name];
    // A font registered again under the current name stays current in its new form.
    bool wasCurrent = slot && slot.get() == s.currentFont;
    slot = std::move(font);
    if (wasCurrent || !s.currentFont)
        s.currentFont = slot.get();
}

bool Graphics::setFont(const std::string& name) {
    GraphicsState& s = state();
    auto found = s.fonts.find(name);
    if (found == s.fonts.end())
        return false;
    s.currentFont = found->second.get();
    return true;
}

void Graphics::textSize(const std::string& text, float size, float& width, float& height) {
    fontBox(text, width, height);
    float scale = state().textScale * size;
    width *= scale;
    height *= scale;
}

void Graphics::drawText(const std::string& text, const Point& pos, float angle, float size,
                        int flags, const Color& color) {
    FTFont* font = state().currentFont;
    if (!font)
        return;
    applyColor(color);
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(pos.x, pos.y, 0.0f);
    glRotatef(angle * 57.29578f, 0.0f, 0.0f, 1.0f);
    const float s = state().textScale * size;
    if (flags != 0) {
        float width = 0.0f;
        float height = 0.0f;
        fontBox(text, width, height);
        Point shift = textAlignmentShift(width * s, height * s, flags);
        glTranslatef(shift.x, shift.y, 0.0f);
    }
    if (state().recording) {
        // The textured glyphs would reach a recording as bare quads.
        recordText(*font, text, s, color);
    } else {
        glScalef(s, s, 0.0f);
        glEnable(GL_TEXTURE_2D);
        font->Render(text.c_str());
    }
    glPopMatrix();
    glPopAttrib();
}

void Graphics::drawText(const std::string& text, const Point& pos, float size, int flags,
                        const Color& color) {
    drawText(text, pos, 0.0f, size, flags, color);
}

void Graphics::drawWrappedText(const std::string& text, const Point& pos, float maxWidth,
                               float size, int flags, const Color& color) {
    auto widthOf = [size](const std::string& candidate) {
        float width = 0.0f;
        float height = 0.0f;
        textSize(candidate, size, width, height);
        return width;
    };
    float y = pos.y;
    for (const std::string& line : wrapTextLines(text, maxWidth, widthOf)) {
        drawText(line, Point(pos.x, y), 0.0f, size, flags, color);
        float width = 0.0f;
        float height = 0.0f;
        textSize(line, size, width, height);
        y -= height;
    }
}

void Graphics::setTextScale(float scale) {
    state().textScale = scale;
}
float Graphics::getTextScale() {
    return state().textScale;
}
void Graphics::setOpacity(float opacity) {
    state().opacity = opacity;
}
float Graphics::getOpacity() {
    return state().opacity;
}

void Graphics::drawLine(const Point& p1, const Point& p2, const Color& color) {
    applyColor(color);
    glBegin(GL_LINES);
    vertex(p1);
    vertex(p2);
    glEnd();
}

void Graphics::drawDashedLine(const Point& p1, const Point& p2, float dash, float gap,
                              const Color& color) {
    auto dashes = dashSegments(p1, p2, dash, gap);
    if (dashes.empty())
        return;
    applyColor(color);
    glBegin(GL_LINES);
    for (const auto& d : dashes) {
        vertex(d.first);
        vertex(d.second);
    }
    glEnd();
}

void Graphics::rectOutline(const Point& p1, const Point& p2, const Color& color) {
    applyColor(color);
    glBegin(GL_LINE_LOOP);
    glVertex2f(p1.x, p1.y);
    glVertex2f(p1.x, p2.y);
    glVertex2f(p2.x, p2.y);
    glVertex2f(p2.x, p1.y);
    glEnd();
}

void Graphics::rectFill(const Point& p1, const Point& p2, const Color& color) {
    applyColor(color);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(p1.x, p1.y);
    glVertex2f(p1.x, p2.y);
    glVertex2f(p2.x, p1.y);
    glVertex2f(p2.x, p2.y);
    glEnd();
}

void Graphics::ellipseOutline(const Point& centre, float rx, float ry, int segments,
                              const Color& color) {
    auto rim = ellipsePoints(centre, rx, ry, 0.0f, twoPi, segments, false);
    if (rim.empty())
        return;
    applyColor(color);
    emit(GL_LINE_LOOP, rim);
}

void Graphics::ellipseFill(const Point& centre, float rx, float ry, int segments,
                           const Color& color) {
    sectorFill(centre, rx, ry, 0.0f, twoPi, segments, color);
}

void Graphics::drawArc(const Point& centre, float rx, float ry, float start, float extent,
                       int segments, const Color& color) {
    auto rim = ellipsePoints(centre, rx, ry, start, extent, segments, true);
    if (rim.empty())
        return;
    applyColor(color);
    emit(GL_LINE_STRIP, rim);
}

void Graphics::sectorFill(const Point& centre, float rx, float ry, float start, float extent,
                          int segments, const Color& color) {
    auto rim = ellipsePoints(centre, rx, ry, start, extent, segments, true);
    if (rim.empty())
        return;
    applyColor(color);
    glBegin(GL_TRIANGLE_FAN);
    vertex(centre);
    for (const Point& p : rim)
        vertex(p);
    glEnd();
}

void Graphics::sectorOutline(const Point& centre, float rx, float ry, float start, float extent,
                             int segments, const Color& color) {
    auto rim = ellipsePoints(centre, rx, ry, start, extent, segments, true);
    if (rim.empty())
        return;
    applyColor(color);
    emit(GL_LINE_STRIP, rim);
    glBegin(GL_LINES);
    vertex(centre);
    vertex(rim.front());
    vertex(centre);
    vertex(rim.back());
    glEnd();
}

void Graphics::drawRoundedRectangle(const Point& p1, const Point& p2, float radius,
                                    const Color& color) {
    RoundedRectangleParts parts = roundedRectangleParts(p1, p2, radius);
    for (const auto& corner : parts.corners)
        drawArc(corner.centre, radius, radius, corner.start, twoPi / 4.0f, -3, color);
    applyColor(color);
    glBegin(GL_LINES);
    for (const auto& edge : parts.edges) {
        vertex(edge.first);
        vertex(edge.second);
    }
    glEnd();
}

void Graphics::fillRoundedRectangle(const Point& p1, const Point& p2, float radius,
                                    const Color& color) {
    RoundedRectangleParts parts = roundedRectangleParts(p1, p2, radius);
    for (const auto& corner : parts.corners)
        sectorFill(corner.centre, radius, radius, corner.start, twoPi / 4.0f, -3, color);
    for (const auto& fill : parts.fills)
        rectFill(fill.first, fill.second, color);
}

void Graphics::drawPolygon(const std::vector<Point>& points, const Color& color) {
    if (points.empty())
        return;
    applyColor(color);
    emit(GL_LINE_LOOP, points);
}

void Graphics::fillConvexPolygon(const std::vector<Point>& points, const Color& color) {
    if (points.empty())
        return;
    applyColor(color);
    emit(GL_POLYGON, points);
}

void Graphics::polygonFill(const std::vector<Point>& points, const Color& color) {
    if (points.empty())
        return;
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&tessBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(&tessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&tessVertex));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&tessEnd));
    // The tessellator keeps pointers to the coordinates until the polygon ends.
    std::vector<std::array<GLdouble, 3>> coords;
    coords.reserve(points.size());
    for (const Point& p : points)
        coords.push_back({p.x, p.y, 0.0});
    applyColor(color);
    gluTessBeginPolygon(tess, nullptr);
    gluTessBeginContour(tess);
    for (auto& c : coords)
        gluTessVertex(tess, c.data(), c.data());
    gluTessEndContour(tess);
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
}

std::vector<Point> splineSamplePoints(const spline& curve, int samples) {
    std::vector<Point> points;
    if (samples <= 0)
        return points;
    points.reserve(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i)
        points.push_back(curve.point(static_cast<float>(i) / static_cast<float>(samples)));
    return points;
}

void Graphics::drawSpline(const spline& curve, const Color& color, int samples) {
    auto points = splineSamplePoints(curve, samples);
    if (points.empty())
        return;
    applyColor(color);
    emit(GL_LINE_STRIP, points);
}

void Graphics::setLineWidth(float width) {
    const float w = width * state().lineScale;
    glLineWidth(w);
    if (state().recording)
        gl2psLineWidth(w);
}

void Graphics::setLineScale(float scale) {
    state().lineScale = scale > 0.0f && std::isfinite(scale) ? scale : 1.0f;
}

float Graphics::getLineScale() {
    return state().lineScale;
}

void Graphics::beginVectorRecording(int format, const std::string& fontName) {
    GraphicsState& s = state();
    s.recording = true;
    s.recordingFormat = format;
    s.recordingFont = fontName;
}

void Graphics::endVectorRecording() {
    state().recording = false;
}

bool Graphics::isRecordingVector() {
    return state().recording;
}

void Graphics::setSmoothing(bool on) {
    GraphicsState& s = state();
    if (on) {
        glPushAttrib(GL_ENABLE_BIT);
        glEnable(GL_LINE_SMOOTH);
        ++s.smoothingDepth;
    } else if (s.smoothingDepth > 0) {
        // An unpaired "off" would pop attributes someone else pushed.
        glPopAttrib();
        --s.smoothingDepth;
    }
}

bool Graphics::clipToRectangle(const Point& a, const Point& b, const UMLGeometry& box, Point& out) {
    return clipSegmentToBox(a, b, box.left, box.top, box.right, box.bottom, out);
}

void Graphics::boxFill(const Point3& c1, const Point3& c2, const Color& color) {
    DepthLessEqualScope depth;
    applyColor(color);
    const float x[2] = {c1.x, c2.x};
    const float y[2] = {c1.y, c2.y};
    const float z[2] = {c1.z, c2.z};
    glBegin(GL_QUADS);
    // The faces at the two depths, then the four sides.
    for (int k = 0; k < 2; ++k) {
        glVertex3f(x[0], y[0], z[k]);
        glVertex3f(x[1], y[0], z[k]);
        glVertex3f(x[1], y[1], z[k]);
        glVertex3f(x[0], y[1], z[k]);
    }
    for (int i = 0; i < 2; ++i) {
        glVertex3f(x[i], y[0], z[0]);
        glVertex3f(x[i], y[1], z[0]);
        glVertex3f(x[i], y[1], z[1]);
        glVertex3f(x[i], y[0], z[1]);
        glVertex3f(x[0], y[i], z[0]);
        glVertex3f(x[1], y[i], z[0]);
        glVertex3f(x[1], y[i], z[1]);
        glVertex3f(x[0], y[i], z[1]);
    }
    glEnd();
}

void Graphics::boxOutline(const Point3& c1, const Point3& c2, const Color& color) {
    DepthLessEqualScope depth;
    applyColor(color);
    const float x[2] = {c1.x, c2.x};
    const float y[2] = {c1.y, c2.y};
    const float z[2] = {c1.z, c2.z};
    glBegin(GL_LINES);
    for (int a = 0; a < 2; ++a) {
        for (int b = 0; b < 2; ++b) {
            glVertex3f(x[0], y[a], z[b]); // along x
            glVertex3f(x[1], y[a], z[b]);
            glVertex3f(x[a], y[0], z[b]); // along y
            glVertex3f(x[a], y[1], z[b]);
            glVertex3f(x[a], y[b], z[0]); // along z
            glVertex3f(x[a], y[b], z[1]);
        }
    }
    glEnd();
}

void Graphics::cylinderFill(const Point& base, float rx, float ry, float height, int segments,
                            const Color& color) {
    auto rim = ellipsePoints(base, rx, ry, 0.0f, twoPi, segments, true);
    if (rim.empty())
        return;
    DepthLessEqualScope depth;
    applyColor(color);
    for (float z : {0.0f, -height}) {
        glBegin(GL_TRIANGLE_FAN);
        glVertex3f(base.x, base.y, z);
        for (const Point& p : rim)
            glVertex3f(p.x, p.y, z);
        glEnd();
    }
    glBegin(GL_QUAD_STRIP);
    for (const Point& p : rim) {
        glVertex3f(p.x, p.y, 0.0f);
        glVertex3f(p.x, p.y, -height);
    }
    glEnd();
}

void Graphics::cylinderOutline(const Point& base, float rx, float ry, float height, int segments,
                               const Color& color) {
    auto rim = ellipsePoints(base, rx, ry, 0.0f, twoPi, segments, false);
    if (rim.empty())
        return;
    DepthLessEqualScope depth;
    applyColor(color);
    for (float z : {0.0f, -height}) {
        glBegin(GL_LINE_LOOP);
        for (const Point& p : rim)
            glVertex3f(p.x, p.y, z);
        glEnd();
    }
    // The side as four lines at the top, right, bottom and left of the caps.
    auto sides = ellipsePoints(base, rx, ry, 0.0f, twoPi, 4, false);
    glBegin(GL_LINES);
    for (const Point& p : sides) {
        glVertex3f(p.x, p.y, 0.0f);
        glVertex3f(p.x, p.y, -height);
    }
    glEnd();
}
