#pragma once
// An OpenGL context without a display for rendering tests: EGL on Mesa's surfaceless
// platform (software rendering), desktop OpenGL with the compatibility profile so that
// immediate mode works, drawing into a pbuffer or, where none is offered, a framebuffer
// object. Pixels are read back top row first.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/OffscreenGL.h"

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// A read-back image; rows are stored top row first.
class RgbaImage {
public:
    RgbaImage() = default;
    RgbaImage(int width, int height, std::vector<Rgba> pixels);

    int width() const { return width_; }
    int height() const { return height_; }
    // Column and row counted from the top-left corner.
    const Rgba& at(int column, int row) const;
    // OpenGL window coordinates: origin at the bottom-left corner.
    const Rgba& atGL(int x, int y) const { return at(x, height_ - 1 - y); }

    // Bounding box, in OpenGL window coordinates, of the pixels whose red, green and blue
    // are all below threshold; false when there are none.
    struct Box {
        int left = 0, bottom = 0, right = 0, top = 0; // inclusive
    };
    bool darkBox(Box& box, int threshold = 128) const;
    int countDark(int threshold = 128) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

class OffscreenContext {
public:
    // Throws std::runtime_error when no context can be made.
    OffscreenContext(int width, int height);
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    // One context for the whole test program: fonts keep their glyph textures in the
    // context they first drew in, so all text tests must share one.
    static OffscreenContext& shared();

    void makeCurrent() { gl_->makeCurrent(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // True when rendering goes to a framebuffer object rather than a pbuffer.
    bool usesFramebufferObject() const { return gl_->usesFramebufferObject(); }
    std::string renderer() const;

    // Viewport and scissor over the whole surface, an orthographic projection in pixels
    // (origin bottom-left, pixel centres at +0.5) and an identity model-view matrix.
    void usePixelCoordinates();
    // Clears colour (to white, alpha 0 unless told otherwise), depth and stencil.
    void clear(float r = 1.0f, float g = 1.0f, float b = 1.0f, float a = 0.0f);
    RgbaImage read() const;

private:
    int width_;
    int height_;
    std::unique_ptr<OffscreenGL> gl_;
};
