#include "graphics/OffscreenContext.h"

#include <algorithm>

#include <GL/gl.h>

#include "common/Exception.h"

RgbaImage::RgbaImage(int width, int height, std::vector<Rgba> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

const Rgba& RgbaImage::at(int column, int row) const {
    if (column < 0 || row < 0 || column >= width_ || row >= height_)
        throw std::out_of_range("pixel outside the image");
    return pixels_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(column)];
}

namespace {
bool isDark(const Rgba& p, int threshold) {
    return p.r < threshold && p.g < threshold && p.b < threshold;
}
} // namespace

bool RgbaImage::darkBox(Box& box, int threshold) const {
    bool found = false;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!isDark(atGL(x, y), threshold))
                continue;
            if (!found) {
                box = {x, y, x, y};
                found = true;
            }
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.bottom = std::min(box.bottom, y);
            box.top = std::max(box.top, y);
        }
    }
    return found;
}

int RgbaImage::countDark(int threshold) const {
    int count = 0;
    for (const Rgba& p : pixels_)
        count += isDark(p, threshold) ? 1 : 0;
    return count;
}

OffscreenContext::OffscreenContext(int width, int height) : width_(width), height_(height) {
    try {
        gl_ = std::make_unique<OffscreenGL>(width, height);
    } catch (const Exception& e) {
        throw std::runtime_error(e.getMessage());
    }
}

OffscreenContext& OffscreenContext::shared() {
    static OffscreenContext context(320, 240);
    context.makeCurrent();
    return context;
}

std::string OffscreenContext::renderer() const {
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

void OffscreenContext::usePixelCoordinates() {
    glViewport(0, 0, width_, height_);
    glScissor(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width_, 0.0, height_, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void OffscreenContext::clear(float r, float g, float b, float a) {
    GLfloat previous[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, previous);
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glClearColor(previous[0], previous[1], previous[2], previous[3]);
}

RgbaImage OffscreenContext::read() const {
    glFinish();
    std::vector<Rgba> pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    // OpenGL delivers the bottom row first.
    const auto row = static_cast<std::size_t>(width_);
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(height_); top + 1 < bottom;
         ++top, --bottom)
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * row),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * row),
                         pixels.begin() + static_cast<std::ptrdiff_t>((bottom - 1) * row));
    return RgbaImage(width_, height_, std::move(pixels));
}
