#include "graphics/CanvasGL.h"

#include <algorithm>

#include <GL/gl.h>

int deepestDepthBuffer(const std::function<bool(int)>& offered) {
    for (int bits = preferredDepthBits; bits > 0; --bits) {
        if (offered(bits))
            return bits;
    }
    return 0;
}

void setFixedGLState() {
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClearStencil(0);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_DEPTH_TEST);
}

void flipRows(std::vector<std::uint8_t>& pixels, std::size_t rowBytes) {
    if (rowBytes == 0)
        return;
    std::size_t rows = pixels.size() / rowBytes;
    for (std::size_t top = 0, bottom = rows; top + 1 < bottom; ++top, --bottom) {
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                         pixels.begin() + static_cast<std::ptrdiff_t>((bottom - 1) * rowBytes));
    }
}

std::vector<std::uint8_t> readPixelsTopRowFirst(unsigned buffer, int width, int height) {
    std::vector<std::uint8_t> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    pixels.resize(rowBytes * static_cast<std::size_t>(height));
    GLint previousBuffer = 0;
    GLint previousAlignment = 4;
    glGetIntegerv(GL_READ_BUFFER, &previousBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
    glReadBuffer(static_cast<GLenum>(buffer));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);
    glReadBuffer(static_cast<GLenum>(previousBuffer));
    flipRows(pixels, rowBytes);
    return pixels;
}
