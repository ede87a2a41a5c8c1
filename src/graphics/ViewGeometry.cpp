#include "graphics/ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float degreesToRadians = 0.01745329f;
// tan of half the vertical field of view (pi / 4).
const float halfFieldTangent = std::tan(3.14159265358979f / 4.0f);

float aspectOf(const ViewCamera& camera) {
    // An empty view has no shape; any finite aspect will do.
    if (camera.width <= 0 || camera.height <= 0)
        return 1.0f;
    return static_cast<float>(camera.width) / static_cast<float>(camera.height);
}

Matrix4 rotationZ(float degrees) {
    const float c = std::cos(degrees * degreesToRadians);
    const float s = std::sin(degrees * degreesToRadians);
    Matrix4 m = identityMatrix();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return m;
}

Matrix4 rotationX(float degrees) {
    const float c = std::cos(degrees * degreesToRadians);
    const float s = std::sin(degrees * degreesToRadians);
    Matrix4 m = identityMatrix();
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
    return m;
}

Matrix4 translation(float x, float y, float z) {
    Matrix4 m = identityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

using Vec3 = std::array<float, 3>;

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

float dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 normalized(const Vec3& v) {
    const float length = std::sqrt(dot(v, v));
    if (length == 0.0f)
        return v;
    return {v[0] / length, v[1] / length, v[2] / length};
}

// Row i of the upper 3 x 3 part of a column-major matrix.
Vec3 row(const Matrix4& m, int i) {
    return {m[i], m[4 + i], m[8 + i]};
}

// A camera at eye looking at target, up roughly along up, with the viewing direction as +z.
Matrix4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 f = normalized({target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]});
    const Vec3 r = normalized(cross(up, f));
    const Vec3 u = cross(f, r);
    Matrix4 m = identityMatrix();
    for (int i = 0; i < 3; ++i) {
        m[4 * i] = r[i];
        m[4 * i + 1] = u[i];
        m[4 * i + 2] = f[i];
    }
    m[12] = -dot(r, eye);
    m[13] = -dot(u, eye);
    m[14] = -dot(f, eye);
    return m;
}

// Maps eye-space z from near to far onto -1 .. 1, visible points at positive z.
void setDepthRange(Matrix4& m, bool perspective) {
    const float n = viewNear;
    const float f = viewFar;
    if (perspective) {
        m[10] = (f + n) / (f - n);
        m[14] = -2.0f * f * n / (f - n);
        m[11] = 1.0f;
        m[15] = 0.0f;
    } else {
        m[10] = 2.0f / (f - n);
        m[14] = -(f + n) / (f - n);
    }
}

} // namespace

std::pair<PixelRect, PixelRect> splitRect(const PixelRect& r, bool horizontal, float fraction) {
    PixelRect first = r;
    PixelRect second = r;
    if (horizontal) {
        const int lower = static_cast<int>(std::floor(fraction * r.height));
        first.height = lower;
        second.y = r.y + lower;
        second.height = static_cast<int>(std::ceil((1.0f - fraction) * r.height));
    } else {
        const int left = static_cast<int>(std::floor(fraction * r.width));
        first.width = left;
        second.x = r.x + left;
        second.width = static_cast<int>(std::ceil((1.0f - fraction) * r.width));
    }
    return {first, second};
}

int divisionPosition(const PixelRect& r, bool horizontal, float fraction) {
    return horizontal ? r.y + static_cast<int>(std::floor(fraction * r.height))
                      : r.x + static_cast<int>(std::floor(fraction * r.width));
}

Band separatorBand(const PixelRect& r, bool horizontal, float fraction, float size) {
    const float origin = static_cast<float>(horizontal ? r.y : r.x);
    const float extent = static_cast<float>(horizontal ? r.height : r.width);
    return {origin + std::floor(fraction * extent) - size,
            origin + std::ceil(fraction * extent) + size};
}

bool onSeparator(int pos, int division, float size) {
    const float p = static_cast<float>(pos);
    return static_cast<float>(division) - size < p && p <= static_cast<float>(division) + size;
}

float dragFraction(int pos, int start, int end) {
    if (end <= start)
        return 0.5f;
    const float f = static_cast<float>(pos - start) / static_cast<float>(end - start);
    return std::clamp(f, 0.1f, 0.9f);
}

float usableFraction(double fraction) {
    if (!std::isfinite(fraction) || fraction <= 0.0 || fraction >= 1.0)
        return 0.5f;
    const float f = static_cast<float>(fraction);
    // A value just below 1 may round to 1 as a float.
    return f > 0.0f && f < 1.0f ? f : 0.5f;
}

float usableZoom(double zoom) {
    if (!std::isfinite(zoom) || zoom <= 0.0)
        return 1.0f;
    return clampZoom(static_cast<float>(zoom));
}

float clampZoom(float zoom) {
    if (std::isnan(zoom))
        return 1.0f;
    return std::clamp(zoom, minZoom, maxZoom);
}

float fitZoom(int viewWidth, int viewHeight, float diagramWidth, float diagramHeight) {
    const bool hasWidth = diagramWidth > 0.0f && std::isfinite(diagramWidth);
    const bool hasHeight = diagramHeight > 0.0f && std::isfinite(diagramHeight);
    float zoom = 1.0f;
    if (hasWidth && hasHeight)
        zoom = std::min(viewWidth / diagramWidth, viewHeight / diagramHeight);
    else if (hasWidth)
        zoom = viewWidth / diagramWidth;
    else if (hasHeight)
        zoom = viewHeight / diagramHeight;
    else
        return 1.0f;
    return clampZoom(0.95f * zoom);
}

Matrix4 identityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int column = 0; column < 4; ++column)
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[4 * k + r] * b[4 * column + k];
            m[4 * column + r] = sum;
        }
    return m;
}

Vector4 transform(const Matrix4& m, const Vector4& v) {
    Vector4 out{};
    for (int r = 0; r < 4; ++r)
        out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
    return out;
}

std::array<float, 3> cameraPosition(const Matrix4& m) {
    const Vec3 t{m[12], m[13], m[14]};
    // The inverse of [R | t] is [R^T | -R^T t]; column j of R^T is row j of R.
    return {-(m[0] * t[0] + m[1] * t[1] + m[2] * t[2]), -(m[4] * t[0] + m[5] * t[1] + m[6] * t[2]),
            -(m[8] * t[0] + m[9] * t[1] + m[10] * t[2])};
}

float viewDistance(const ViewCamera& camera) {
    return (static_cast<float>(camera.height) / 2.0f / camera.zoom) / halfFieldTangent;
}

Matrix4 projectionMatrix(const ViewCamera& camera, int eye) {
    Matrix4 m{};
    if (!camera.perspective) {
        const float w = camera.width > 0 ? static_cast<float>(camera.width) : 1.0f;
        const float h = camera.height > 0 ? static_cast<float>(camera.height) : 1.0f;
        m[0] = 2.0f / w;
        m[5] = 2.0f / h;
        m[15] = 1.0f;
        setDepthRange(m, false);
        Matrix4 scale = identityMatrix();
        scale[0] = scale[5] = scale[10] = camera.zoom;
        return multiply(m, scale);
    }
    const float aspect = aspectOf(camera);
    float left = -aspect * halfFieldTangent * viewNear;
    float right = aspect * halfFieldTangent * viewNear;
    const float top = halfFieldTangent * viewNear;
    const float bottom = -top;
    if (eye != 0) {
        // One off-axis frustum serves both eyes.
        const float shift = camera.eyeSeparation * 0.5f / camera.focusDistance;
        left = -aspect - shift;
        right = aspect - shift;
    }
    // The frustum of glFrustum, with the eye looking along +z.
    m[0] = 2.0f * viewNear / (right - left);
    m[5] = 2.0f * viewNear / (top - bottom);
    m[8] = -(right + left) / (right - left);
    m[9] = -(top + bottom) / (top - bottom);
    setDepthRange(m, true);
    return m;
}

Matrix4 modelViewMatrix(const ViewCamera& camera, int eye) {
    const float d = viewDistance(camera);
    const Matrix4 mono =
        multiply(translation(-camera.pan[0], -camera.pan[1], d),
                 multiply(rotationX(camera.rotation[1]), rotationZ(camera.rotation[0])));
    if (eye == 0)
        return mono;
    const Vec3 position = cameraPosition(mono);
    const Vec3 right = row(mono, 0);
    const Vec3 up = row(mono, 1);
    const Vec3 forward = row(mono, 2);
    const float offset = -static_cast<float>(eye) * camera.eyeSeparation / 2.0f;
    const Vec3 eyePosition{position[0] + offset * right[0], position[1] + offset * right[1],
                           position[2] + offset * right[2]};
    const float focus = camera.focusDistance;
    const Vec3 target{position[0] + focus * forward[0], position[1] + focus * forward[1],
                      position[2] + focus * forward[2]};
    return lookAt(eyePosition, target, up);
}

PixelRect intersectRects(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.x, b.x);
    const int bottom = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int top = std::min(a.y + a.height, b.y + b.height);
    return {left, bottom, std::max(0, right - left), std::max(0, top - bottom)};
}

Matrix4 regionMatrix(const PixelRect& rect, const PixelRect& part) {
    Matrix4 m = identityMatrix();
    if (part.width <= 0 || part.height <= 0 || rect.width <= 0 || rect.height <= 0)
        return m;
    // Normalised device coordinates of rect run from -1 to 1; part's centre moves to 0 and
    // its extent grows to 2.
    const auto sx = static_cast<float>(rect.width) / static_cast<float>(part.width);
    const auto sy = static_cast<float>(rect.height) / static_cast<float>(part.height);
    const float cx = (2.0f * static_cast<float>(part.x - rect.x) + static_cast<float>(part.width)) /
                         static_cast<float>(rect.width) -
                     1.0f;
    const float cy =
        (2.0f * static_cast<float>(part.y - rect.y) + static_cast<float>(part.height)) /
            static_cast<float>(rect.height) -
        1.0f;
    m[0] = sx;
    m[5] = sy;
    m[12] = -cx * sx;
    m[13] = -cy * sy;
    return m;
}
