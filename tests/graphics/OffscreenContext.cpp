#include "graphics/OffscreenContext.h"

#include <algorithm>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <vector>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

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

namespace {

// eglTerminate unloads the GL driver, whose caches live on in its own globals until the
// process ends. Unloaded, those globals are gone: the caches look unreachable and were
// allocated in a module the leak checker can no longer name, so it could neither tell them
// from our leaks nor suppress them. Pinning every library loaded so far keeps them
// reachable, which lets the render tests run with leak checks.
void keepLoadedLibraries() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* list) {
            if (info->dlpi_name && info->dlpi_name[0] != '\0')
                static_cast<std::vector<std::string>*>(list)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    // Opened after the walk, which holds the loader's lock; the handles are kept on purpose.
    for (const std::string& name : names)
        dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

template <typename F> F glProc(const char* name) {
    auto proc = reinterpret_cast<F>(eglGetProcAddress(name));
    if (!proc)
        throw std::runtime_error(std::string("missing OpenGL function ") + name);
    return proc;
}

} // namespace

OffscreenContext::OffscreenContext(int width, int height) : width_(width), height_(height) {
    EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        throw std::runtime_error("no surfaceless EGL display");
    EGLint major = 0;
    EGLint minor = 0;
    if (!eglInitialize(display, &major, &minor))
        throw std::runtime_error("eglInitialize failed");
    display_ = display;
    keepLoadedLibraries();
    if (!eglBindAPI(EGL_OPENGL_API))
        throw std::runtime_error("desktop OpenGL is not available through EGL");

    const EGLint pbufferConfig[] = {EGL_SURFACE_TYPE,
                                    EGL_PBUFFER_BIT,
                                    EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT,
                                    EGL_RED_SIZE,
                                    8,
                                    EGL_GREEN_SIZE,
                                    8,
                                    EGL_BLUE_SIZE,
                                    8,
                                    EGL_ALPHA_SIZE,
                                    8,
                                    EGL_DEPTH_SIZE,
                                    24,
                                    EGL_STENCIL_SIZE,
                                    8,
                                    EGL_NONE};
    const EGLint anyConfig[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    bool pbuffer = eglChooseConfig(display, pbufferConfig, &config, 1, &count) && count > 0;
    if (!pbuffer && !(eglChooseConfig(display, anyConfig, &config, 1, &count) && count > 0))
        throw std::runtime_error("no EGL configuration for desktop OpenGL");

    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context_ == EGL_NO_CONTEXT)
        throw std::runtime_error("eglCreateContext failed");

    if (pbuffer) {
        const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface_ = eglCreatePbufferSurface(display, config, size);
        if (surface_ == EGL_NO_SURFACE)
            surface_ = nullptr;
    }
    makeCurrent();
    keepLoadedLibraries(); // what the context itself loaded
    if (!surface_) {
        auto genFramebuffers = glProc<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
        auto bindFramebuffer = glProc<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
        auto genRenderbuffers = glProc<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
        auto bindRenderbuffer = glProc<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
        auto storage = glProc<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
        auto attach = glProc<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
        auto status = glProc<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
        genFramebuffers(1, &fbo_);
        bindFramebuffer(GL_FRAMEBUFFER, fbo_);
        genRenderbuffers(1, &colorBuffer_);
        bindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
        storage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
        genRenderbuffers(1, &depthBuffer_);
        bindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        storage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        attach(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
        if (status(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
            throw std::runtime_error("incomplete framebuffer object");
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    }
}

OffscreenContext::~OffscreenContext() {
    auto display = static_cast<EGLDisplay>(display_);
    if (!display)
        return;
    if (context_ && fbo_) {
        makeCurrent();
        auto deleteFramebuffers = glProc<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
        auto deleteRenderbuffers = glProc<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers");
        deleteFramebuffers(1, &fbo_);
        deleteRenderbuffers(1, &colorBuffer_);
        deleteRenderbuffers(1, &depthBuffer_);
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_)
        eglDestroySurface(display, static_cast<EGLSurface>(surface_));
    if (context_)
        eglDestroyContext(display, static_cast<EGLContext>(context_));
    eglTerminate(display);
}

OffscreenContext& OffscreenContext::shared() {
    static OffscreenContext context(320, 240);
    context.makeCurrent();
    return context;
}

void OffscreenContext::makeCurrent() {
    auto surface = surface_ ? static_cast<EGLSurface>(surface_) : EGL_NO_SURFACE;
    if (!eglMakeCurrent(static_cast<EGLDisplay>(display_), surface, surface,
                        static_cast<EGLContext>(context_)))
        throw std::runtime_error("eglMakeCurrent failed");
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
