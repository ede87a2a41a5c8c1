#pragma once
// OpenGL set-up and read-back of the canvas that needs no window toolkit: the fixed state
// set once per context, the choice of depth buffer, and reading the pixels for export.
#include <cstdint>
#include <functional>
#include <vector>

// Depth buffer sizes asked for, deepest first; the canvas wants the first one.
constexpr int preferredDepthBits = 32;

// The deepest depth buffer size from preferredDepthBits down to 1 for which offered(bits)
// is true; 0 when none is.
int deepestDepthBuffer(const std::function<bool(int)>& offered);

// The state the canvas sets once after creating its context: white clear colour with
// alpha 0, line smoothing at best quality, alpha blending, scissor test on, depth test off.
void setFixedGLState();

// Reads width x height RGB pixels from the given colour buffer (GL_FRONT, GL_BACK, ...)
// of the current context, starting at (0, 0), top row first. Read buffer and pack
// alignment are restored afterwards. Empty for empty sizes.
std::vector<std::uint8_t> readPixelsTopRowFirst(unsigned buffer, int width, int height);

// Reverses the order of rows of an image given bottom row first (as OpenGL delivers it).
void flipRows(std::vector<std::uint8_t>& pixels, std::size_t rowBytes);
