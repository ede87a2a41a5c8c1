#pragma once
// Curves for the curved relation paths: an abstract curve over t in [0, 1], a curve made of
// cubic segments, and the Kochanek-Bartels (tension, continuity, bias) spline built from it.
#include <cstdint>
#include <vector>

#include "graphics/Geometry.h"

class spline {
public:
    virtual ~spline() = default;
    // Position on the curve at t in [0, 1].
    virtual Point point(float t) const = 0;
    // Unit direction of the curve at t; (0, 0) where it has none.
    virtual Point tangent(float t) const = 0;
};

// Cubic segments spread evenly over [0, 1]: segment i covers [i/n, (i+1)/n].
class segmentSpline : public spline {
public:
    // P(u) = a*u^3 + b*u^2 + c*u + d for the local parameter u in [0, 1].
    struct Segment {
        float ax = 0.0f, ay = 0.0f;
        float bx = 0.0f, by = 0.0f;
        float cx = 0.0f, cy = 0.0f;
        float dx = 0.0f, dy = 0.0f;
    };

    Point point(float t) const override;
    Point tangent(float t) const override;

    void addSegment(const Segment& segment) { segments_.push_back(segment); }
    const std::vector<Segment>& segments() const { return segments_; }

private:
    // The segment that holds t and the local parameter within it; false without segments.
    // t outside [0, 1] extends the first or the last segment.
    bool locate(float t, const Segment*& segment, float& u) const;

    std::vector<Segment> segments_;
};

// Each new control point from the fourth on adds the Hermite segment between the two points
// before it, so a curve through P0 .. Pn-1 is given P0 twice, P1 .. Pn-2, and Pn-1 twice.
// With tension, continuity and bias 0 the curve is a Catmull-Rom spline.
class TCBSpline : public segmentSpline {
public:
    void addPoint(float x, float y);

    std::int32_t pointCount() const { return count_; }

    // Set before the points are added.
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;

private:
    std::int32_t count_ = 0;
    // The three most recent points, oldest first.
    Point a_, b_, c_;
};
