#include "graphics/Framebuffer.h"

#include <algorithm>
#include <string>

// The framebuffer entry points are part of every OpenGL library the program links with.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "common/Exception.h"

int Framebuffer::largestSide() {
    GLint renderbuffer = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({renderbuffer, viewport[0], viewport[1]});
}

Framebuffer::Framebuffer(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        throw GraphicsException("Invalid offscreen image size");
    const int limit = largestSide();
    if (width > limit || height > limit)
        throw GraphicsException("The image size exceeds the renderer's limit of " +
                                std::to_string(limit) + " pixels");
    while (glGetError() != GL_NO_ERROR) {
    }
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glGenRenderbuffers(1, &color_);
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                          glGetError() == GL_NO_ERROR;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    if (!complete) {
        glDeleteFramebuffers(1, &fbo_);
        glDeleteRenderbuffers(1, &color_);
        glDeleteRenderbuffers(1, &depth_);
        throw GraphicsException("No offscreen image of that size could be made");
    }
}

Framebuffer::~Framebuffer() {
    unbind();
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(1, &color_);
    glDeleteRenderbuffers(1, &depth_);
}

void Framebuffer::bind() {
    if (bound_)
        return;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw_);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead_);
    glGetIntegerv(GL_DRAW_BUFFER, &previousDrawBuffer_);
    glGetIntegerv(GL_READ_BUFFER, &previousReadBuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    bound_ = true;
}

void Framebuffer::unbind() {
    if (!bound_)
        return;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw_));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead_));
    glDrawBuffer(static_cast<GLenum>(previousDrawBuffer_));
    glReadBuffer(static_cast<GLenum>(previousReadBuffer_));
    bound_ = false;
}

void readRGBRows(int x, int y, int width, int height, std::uint8_t* out, int stride) {
    GLint alignment = 4;
    GLint rowLength = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_PACK_ROW_LENGTH, &rowLength);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, stride);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, out);
    glPixelStorei(GL_PACK_ROW_LENGTH, rowLength);
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
}
