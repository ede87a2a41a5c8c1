#pragma once
// The geometry of the views as pure functions: rectangles of split nodes, separator bands,
// camera matrices and zoom limits. The GL code only loads what these compute.
#include <array>
#include <utility>

// A rectangle of the canvas in pixels, origin at the canvas's bottom-left corner.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The rectangles of the first and second child of a node divided at fraction: a horizontal
// division puts the first child below, a vertical one puts it on the left. The first child
// gets the floor of its share, the second the ceiling of the rest.
std::pair<PixelRect, PixelRect> splitRect(const PixelRect& rect, bool horizontal, float fraction);

// Where a node divides its extent: origin + floor(fraction * extent) along the division axis.
int divisionPosition(const PixelRect& rect, bool horizontal, float fraction);

// The separator band of a divided node along its division axis, as drawn: from
// origin + floor(f * extent) - size to origin + ceil(f * extent) + size.
struct Band {
    float low = 0.0f;
    float high = 0.0f;
};
Band separatorBand(const PixelRect& rect, bool horizontal, float fraction, float size);

// Whether a pointer coordinate along the division axis grabs the separator at division p:
// p - size < pos <= p + size.
bool onSeparator(int pos, int division, float size);

// The fraction for a separator dragged to pos between start and end, kept within 0.1..0.9.
float dragFraction(int pos, int start, int end);

// A layout text fraction as used: one that is finite and strictly between 0 and 1 as read,
// anything else 0.5.
float usableFraction(double fraction);
// A zoom read from a layout text: finite and positive as read (within the zoom limits),
// anything else 1.
float usableZoom(double zoom);

// The zoom kept within a finite range, so that repeated zooming never reaches 0 or infinity.
constexpr float minZoom = 1e-4f;
constexpr float maxZoom = 1e4f;
float clampZoom(float zoom);

// Pixels per diagram unit that fit a diagram of the given extent into a view at 95 %. A
// zero extent leaves the other dimension to decide; zoom 1 when both are zero.
float fitZoom(int viewWidth, int viewHeight, float diagramWidth, float diagramHeight);

// Column-major 4 x 4 matrices as OpenGL loads them.
using Matrix4 = std::array<float, 16>;
using Vector4 = std::array<float, 4>;

Matrix4 identityMatrix();
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
Vector4 transform(const Matrix4& m, const Vector4& v);
// The translation part of the inverse of a rigid transform (rotation and translation).
std::array<float, 3> cameraPosition(const Matrix4& rigid);

// Camera constants: a 90-degree vertical field of view, near and far planes.
constexpr float viewNear = 1.0f;
constexpr float viewFar = 32768.0f;

// What the matrices of one view depend on.
struct ViewCamera {
    int width = 0;
    int height = 0;
    float zoom = 1.0f;
    std::array<float, 2> pan{0.0f, 0.0f};
    std::array<float, 2> rotation{0.0f, 0.0f}; // degrees: about the viewing axis, then tilt
    bool perspective = true;
    float eyeSeparation = 0.0f;
    float focusDistance = 1.0f;
};

// The projection of the mono image (eye 0) or of one stereo eye (-1, +1). Visible points lie
// at positive z in front of the eye; one diagram unit is zoom pixels at the pan point's plane
// in both projections.
Matrix4 projectionMatrix(const ViewCamera& camera, int eye);
// The camera transform: the diagram turned about its origin, tilted, then moved so that the
// pan point lies on the viewing axis. The stereo eyes sit half the eye separation to either
// side of the mono camera and look at the point focusDistance ahead of it; eye -1 sits on
// the camera's right.
Matrix4 modelViewMatrix(const ViewCamera& camera, int eye);
// The distance of the pan point's plane from the eye.
float viewDistance(const ViewCamera& camera);

// The common part of two rectangles; width or height 0 when they do not overlap.
PixelRect intersectRects(const PixelRect& a, const PixelRect& b);
// The matrix that, applied after a projection made for the whole rectangle rect, shows only
// its part part (within rect) across the whole of the viewport: how an image drawn in tiles
// gives each tile its piece of a view.
Matrix4 regionMatrix(const PixelRect& rect, const PixelRect& part);
