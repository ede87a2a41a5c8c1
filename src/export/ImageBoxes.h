#pragma once
// Where things drawn in a view land in the image: diagram points through the view's
// matrices into image pixels, origin at the image's top-left corner, y down.
#include <array>
#include <optional>

#include "graphics/ViewGeometry.h"

// The image pixel of a diagram point (x, y, 0) seen through the matrices in a view with
// that rectangle of a canvas imageHeight pixels high; empty when the point lies at or
// behind the eye.
std::optional<std::array<float, 2>> projectToImage(const Matrix4& projection,
                                                   const Matrix4& modelView, const PixelRect& view,
                                                   int imageHeight, float x, float y);

// The image box [x0, y0, x1, y1] (x0 <= x1, y0 <= y1) around the four projected corners of
// the diagram rectangle with corners (x1, y1) and (x2, y2); empty when a corner lies at or
// behind the eye.
std::optional<std::array<float, 4>> projectRectToImage(const Matrix4& projection,
                                                       const Matrix4& modelView,
                                                       const PixelRect& view, int imageHeight,
                                                       float x1, float y1, float x2, float y2);
