#include "graphics/Spline.h"

#include <algorithm>
#include <cmath>

bool segmentSpline::locate(float t, const Segment*& segment, float& u) const {
    if (segments_.empty())
        return false;
    const float n = static_cast<float>(segments_.size());
    const float scaled = n * t;
    std::size_t i = 0;
    if (scaled >= 1.0f) // also false for NaN
        i = std::min(static_cast<std::size_t>(std::min(scaled, n)), segments_.size() - 1);
    segment = &segments_[i];
    u = n * (t - static_cast<float>(i) / n);
    return true;
}

Point segmentSpline::point(float t) const {
    const Segment* s = nullptr;
    float u = 0.0f;
    if (!locate(t, s, u))
        return Point();
    return Point(((s->ax * u + s->bx) * u + s->cx) * u + s->dx,
                 ((s->ay * u + s->by) * u + s->cy) * u + s->dy);
}

Point segmentSpline::tangent(float t) const {
    const Segment* s = nullptr;
    float u = 0.0f;
    if (!locate(t, s, u))
        return Point();
    float x = (3.0f * s->ax * u + 2.0f * s->bx) * u + s->cx;
    float y = (3.0f * s->ay * u + 2.0f * s->by) * u + s->cy;
    float length = std::sqrt(x * x + y * y);
    if (!(length > 0.0f))
        return Point();
    return Point(x / length, y / length);
}

void TCBSpline::addPoint(float x, float y) {
    if (count_ >= 3) {
        const float t = tension;
        const float c = continuity;
        const float b = bias;
        const float k1 = (1 - t) * (1 - c) * (1 + b) / 2;
        const float k2 = (1 - t) * (1 + c) * (1 - b) / 2;
        const float k3 = (1 - t) * (1 + c) * (1 + b) / 2;
        const float k4 = (1 - t) * (1 - c) * (1 - b) / 2;
        const Point& pa = a_;
        const Point& pb = b_;
        const Point& pc = c_;
        const Point pd(x, y);
        // Outgoing tangent at B and incoming tangent at C.
        const Point tb(k3 * (pb.x - pa.x) + k4 * (pc.x - pb.x),
                       k3 * (pb.y - pa.y) + k4 * (pc.y - pb.y));
        const Point tc(k1 * (pc.x - pb.x) + k2 * (pd.x - pc.x),
                       k1 * (pc.y - pb.y) + k2 * (pd.y - pc.y));
        Segment s;
        s.ax = 2 * pb.x - 2 * pc.x + tb.x + tc.x;
        s.ay = 2 * pb.y - 2 * pc.y + tb.y + tc.y;
        s.bx = -3 * pb.x + 3 * pc.x - 2 * tb.x - tc.x;
        s.by = -3 * pb.y + 3 * pc.y - 2 * tb.y - tc.y;
        s.cx = tb.x;
        s.cy = tb.y;
        s.dx = pb.x;
        s.dy = pb.y;
        addSegment(s);
    }
    a_ = b_;
    b_ = c_;
    c_ = Point(x, y);
    if (count_ < INT32_MAX)
        ++count_;
}
