#pragma once
// A framebuffer object in the current OpenGL context: a colour and a depth-and-stencil
// buffer of a fixed size that drawing goes to while it is bound. Images larger than any
// window are drawn into one, in tiles where they exceed it.
#include <cstdint>
#include <vector>

class Framebuffer {
public:
    // Needs a current context; throws GraphicsException when the renderer cannot make one of
    // that size.
    Framebuffer(int width, int height);
    // Needs the context it was made in to be current.
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    // Drawing and reading go to this framebuffer until unbind, which restores what was
    // bound before.
    void bind();
    void unbind();
    int width() const { return width_; }
    int height() const { return height_; }

    // The largest side a framebuffer object and a viewport take in the current context.
    static int largestSide();

private:
    int width_;
    int height_;
    unsigned fbo_ = 0;
    unsigned color_ = 0;
    unsigned depth_ = 0;
    int previousDraw_ = 0;
    int previousRead_ = 0;
    int previousDrawBuffer_ = 0;
    int previousReadBuffer_ = 0;
    bool bound_ = false;
};

// Reads a rectangle of the current read buffer as RGB rows, bottom row first, into out,
// whose rows are stride pixels apart.
void readRGBRows(int x, int y, int width, int height, std::uint8_t* out, int stride);
