#include "export/ImageBoxes.h"

#include <algorithm>
#include <cmath>

std::optional<std::array<float, 2>> projectToImage(const Matrix4& projection,
                                                   const Matrix4& modelView, const PixelRect& view,
                                                   int imageHeight, float x, float y) {
    const Vector4 eye = transform(modelView, {x, y, 0.0f, 1.0f});
    const Vector4 clip = transform(projection, eye);
    if (!(clip[3] > 0.0f) || !std::isfinite(clip[3]))
        return std::nullopt;
    const float ndcX = clip[0] / clip[3];
    const float ndcY = clip[1] / clip[3];
    const float windowX = static_cast<float>(view.x) + (ndcX + 1.0f) * 0.5f * view.width;
    const float windowY = static_cast<float>(view.y) + (ndcY + 1.0f) * 0.5f * view.height;
    return std::array<float, 2>{windowX, static_cast<float>(imageHeight) - windowY};
}

std::optional<std::array<float, 4>> projectRectToImage(const Matrix4& projection,
                                                       const Matrix4& modelView,
                                                       const PixelRect& view, int imageHeight,
                                                       float x1, float y1, float x2, float y2) {
    std::array<float, 4> box{0.0f, 0.0f, 0.0f, 0.0f};
    bool first = true;
    for (const auto& corner : {std::array<float, 2>{x1, y1}, std::array<float, 2>{x2, y1},
                               std::array<float, 2>{x2, y2}, std::array<float, 2>{x1, y2}}) {
        const auto p =
            projectToImage(projection, modelView, view, imageHeight, corner[0], corner[1]);
        if (!p)
            return std::nullopt;
        if (first) {
            box = {(*p)[0], (*p)[1], (*p)[0], (*p)[1]};
            first = false;
            continue;
        }
        box[0] = std::min(box[0], (*p)[0]);
        box[1] = std::min(box[1], (*p)[1]);
        box[2] = std::max(box[2], (*p)[0]);
        box[3] = std::max(box[3], (*p)[1]);
    }
    return box;
}
