#include "graphics/OffscreenGL.h"

#include <dlfcn.h>
#include <link.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include "common/Exception.h"
#include "graphics/CanvasGL.h"

namespace {

// eglTerminate unloads the GL driver, whose caches live on in its own globals until the
// process ends. Unloaded, those globals are gone: the caches look unreachable and were
// allocated in a module the leak checker can no longer name, so it could neither tell them
// from our leaks nor suppress them. Pinning every library loaded so far keeps them
// reachable; the driver stays loaded for the rest of the process.
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
        throw GraphicsException(std::string("Missing OpenGL function ") + name);
    return proc;
}

} // namespace

OffscreenGL::OffscreenGL(int width, int height, bool preferPbuffer)
    : width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        throw GraphicsException("Invalid offscreen image size");
    EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        throw GraphicsException("No surfaceless EGL display");
    EGLint major = 0;
    EGLint minor = 0;
    if (!eglInitialize(display, &major, &minor))
        throw GraphicsException("EGL could not be initialised");
    display_ = display;
    keepLoadedLibraries();
    try {
        if (!eglBindAPI(EGL_OPENGL_API))
            throw GraphicsException("Desktop OpenGL is not available through EGL");
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
        const EGLint anyConfig[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                    EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        const bool pbuffer = preferPbuffer &&
                             eglChooseConfig(display, pbufferConfig, &config, 1, &count) &&
                             count > 0;
        if (!pbuffer && !(eglChooseConfig(display, anyConfig, &config, 1, &count) && count > 0))
            throw GraphicsException("No EGL configuration for desktop OpenGL");
        const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                            EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
        context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
        if (context_ == EGL_NO_CONTEXT) {
            context_ = nullptr;
            throw GraphicsException("No OpenGL context could be made");
        }
        if (pbuffer) {
            const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
            surface_ = eglCreatePbufferSurface(display, config, size);
            if (surface_ == EGL_NO_SURFACE)
                surface_ = nullptr;
        }
        makeCurrent();
        keepLoadedLibraries(); // what the context itself loaded
        if (!surface_)
            makeFramebuffer();
    } catch (...) {
        release();
        throw;
    }
}

void OffscreenGL::makeFramebuffer() {
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    GLint maxViewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
    if (width_ > maxSize || height_ > maxSize || width_ > maxViewport[0] ||
        height_ > maxViewport[1])
        throw GraphicsException("The image size exceeds the renderer's limit of " +
                                std::to_string(std::min(maxSize, maxViewport[0])) + " pixels");
    auto genFramebuffers = glProc<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    auto bindFramebuffer = glProc<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    auto genRenderbuffers = glProc<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    auto bindRenderbuffer = glProc<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    auto storage = glProc<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
    auto attach = glProc<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    auto status = glProc<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    genFramebuffers(1, &fbo_);
    bindFramebuffer(GL_FRAMEBUFFER, fbo_);
    genRenderbuffers(1, &colorRenderbuffer_);
    bindRenderbuffer(GL_RENDERBUFFER, colorRenderbuffer_);
    storage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorRenderbuffer_);
    genRenderbuffers(1, &depthRenderbuffer_);
    bindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer_);
    storage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    attach(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthRenderbuffer_);
    if (status(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || glGetError() != GL_NO_ERROR)
        throw GraphicsException("No offscreen image of that size could be made");
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

OffscreenGL::~OffscreenGL() {
    release();
}

void OffscreenGL::release() {
    auto display = static_cast<EGLDisplay>(display_);
    if (!display)
        return;
    if (context_ && fbo_) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, static_cast<EGLContext>(context_));
        auto deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(
            eglGetProcAddress("glDeleteFramebuffers"));
        auto deleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(
            eglGetProcAddress("glDeleteRenderbuffers"));
        if (deleteFramebuffers && deleteRenderbuffers) {
            deleteFramebuffers(1, &fbo_);
            deleteRenderbuffers(1, &colorRenderbuffer_);
            deleteRenderbuffers(1, &depthRenderbuffer_);
        }
        fbo_ = 0;
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_)
        eglDestroySurface(display, static_cast<EGLSurface>(surface_));
    if (context_)
        eglDestroyContext(display, static_cast<EGLContext>(context_));
    eglTerminate(display);
    display_ = nullptr;
    surface_ = nullptr;
    context_ = nullptr;
}

void OffscreenGL::makeCurrent() {
    auto surface = surface_ ? static_cast<EGLSurface>(surface_) : EGL_NO_SURFACE;
    if (!eglMakeCurrent(static_cast<EGLDisplay>(display_), surface, surface,
                        static_cast<EGLContext>(context_)))
        throw GraphicsException("The offscreen OpenGL context could not be made current");
}

unsigned OffscreenGL::colorBuffer() const {
    return fbo_ ? GL_COLOR_ATTACHMENT0 : GL_BACK;
}

std::vector<std::uint8_t> OffscreenGL::readRGB() const {
    glFinish();
    return readPixelsTopRowFirst(colorBuffer(), width_, height_);
}
