#pragma once
// An OpenGL context that needs no display: EGL on Mesa's surfaceless platform with the
// compatibility profile, so immediate mode, display lists and selection mode work. It draws
// into a pbuffer where one of the size is offered, else into a framebuffer object, which
// allows images larger than any screen.
#include <cstdint>
#include <string>
#include <vector>

class OffscreenGL {
public:
    // Throws GraphicsException when no context of that size can be made.
    OffscreenGL(int width, int height, bool preferPbuffer = true);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    void makeCurrent();
    int width() const { return width_; }
    int height() const { return height_; }
    bool usesFramebufferObject() const { return fbo_ != 0; }
    // The colour buffer drawing goes to and pixels are read from.
    unsigned colorBuffer() const;
    // RGB pixels, top row first.
    std::vector<std::uint8_t> readRGB() const;

private:
    void makeFramebuffer();
    void release();

    int width_;
    int height_;
    void* display_ = nullptr;
    void* context_ = nullptr;
    void* surface_ = nullptr;
    unsigned fbo_ = 0;
    unsigned colorRenderbuffer_ = 0;
    unsigned depthRenderbuffer_ = 0;
};
