#include "gui/Canvas.h"

#include <cstring>

#include <GL/gl.h>
#include <wx/cursor.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "common/Exception.h"
#include "common/Log.h"
#include "common/UserMessages.h"
#include "graphics/CanvasGL.h"
#include "graphics/FontFile.h"
#include "graphics/Graphics.h"
#include "graphics/SceneExport.h"

namespace {

std::function<void()>& exitHook() {
    static std::function<void()> hook = [] { wxExit(); };
    return hook;
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(Canvas, wxGLCanvas)
    EVT_PAINT(Canvas::onPaint)
    EVT_SIZE(Canvas::onSize)
    EVT_ERASE_BACKGROUND(Canvas::onEraseBackground)
    EVT_ENTER_WINDOW(Canvas::onEnterWindow)
    EVT_LEAVE_WINDOW(Canvas::onLeaveWindow)
    EVT_MOUSE_EVENTS(Canvas::onMouse)
wxEND_EVENT_TABLE()
// clang-format on

std::vector<int> Canvas::pixelFormat(int depthBits) {
    return {WX_GL_RGBA, WX_GL_DOUBLEBUFFER, WX_GL_DEPTH_SIZE, depthBits, WX_GL_STENCIL_SIZE, 8, 0};
}

int Canvas::chooseDepthBits() {
    int bits = deepestDepthBuffer(
        [](int depth) { return wxGLCanvas::IsDisplaySupported(pixelFormat(depth).data()); });
    if (bits != preferredDepthBits) {
        logLine("The display offers no " + std::to_string(preferredDepthBits) +
                "-bit depth buffer; the canvas uses " +
                (bits > 0 ? "a " + std::to_string(bits) + "-bit one" : "none"));
    }
    return bits;
}

Canvas::Canvas(wxWindow* parent, wxWindowID id) : Canvas(parent, id, chooseDepthBits()) {}

Canvas::Canvas(wxWindow* parent, wxWindowID id, int depthBits)
    : wxGLCanvas(parent, id, pixelFormat(depthBits).data(), wxDefaultPosition, wxDefaultSize, 0,
                 "GLCanvas"),
      depthBits_(depthBits), context_(std::make_unique<wxGLContext>(this)),
      views_(GetClientSize().GetWidth(), GetClientSize().GetHeight(), this) {
    makeCurrent();
    std::string file = findFontFile();
    // Without any font the message names the file the program looks for first.
    registerFont(file.empty() ? "arial.ttf" : file);
}

Canvas::~Canvas() {
    // The views delete their display lists in this context.
    makeCurrent();
}

bool Canvas::registerFont(const std::string& file) {
    try {
        Graphics::addFont("Arial", file, 18);
        return true;
    } catch (const GraphicsException& e) {
        showUserMessage(e.getMessage(), std::string(wxMessageBoxCaptionStr),
                        MessageStyle::Ok | MessageStyle::Centre);
        if (exitHook())
            exitHook()();
        return false;
    }
}

std::function<void()> Canvas::setExitHook(std::function<void()> hook) {
    std::function<void()> previous = std::move(exitHook());
    exitHook() = std::move(hook);
    return previous;
}

bool Canvas::makeCurrent() {
    // The context can only be bound to a window that exists on the display.
    if (!context_ || !context_->IsOK() || !IsShownOnScreen() || GetXWindow() == 0)
        return false;
    if (!context_->SetCurrent(*this))
        return false;
    if (!glStateSet_) {
        setFixedGLState();
        glStateSet_ = true;
    }
    return true;
}

void Canvas::renderScene() {
    views_.renderAll();
    views_.drawSeparators();
}

void Canvas::redraw() {
    if (!makeCurrent())
        return;
    renderScene();
    SwapBuffers();
}

void Canvas::swapBuffers() {
    SwapBuffers();
}

void Canvas::requestRepaint() {
    Refresh(false);
}

void Canvas::setCursor(CanvasCursor cursor) {
    switch (cursor) {
    case CanvasCursor::ResizeUpDown:
        SetCursor(wxCursor(wxCURSOR_SIZENS));
        break;
    case CanvasCursor::ResizeLeftRight:
        SetCursor(wxCursor(wxCURSOR_SIZEWE));
        break;
    case CanvasCursor::Default:
        SetCursor(wxNullCursor);
        break;
    }
}

void Canvas::activeViewChanged() {
    if (activeViewChanged_)
        activeViewChanged_();
}

void Canvas::setActiveViewChangedHandler(std::function<void()> handler) {
    activeViewChanged_ = std::move(handler);
}

MouseEvent Canvas::translate(const wxMouseEvent& event) const {
    MouseEvent out;
    const wxEventType type = event.GetEventType();
    using Kind = MouseEvent::Kind;
    if (type == wxEVT_LEFT_DOWN)
        out.kind = Kind::LeftDown;
    else if (type == wxEVT_LEFT_UP)
        out.kind = Kind::LeftUp;
    else if (type == wxEVT_LEFT_DCLICK)
        out.kind = Kind::LeftDClick;
    else if (type == wxEVT_MIDDLE_DOWN)
        out.kind = Kind::MiddleDown;
    else if (type == wxEVT_MIDDLE_UP)
        out.kind = Kind::MiddleUp;
    else if (type == wxEVT_MIDDLE_DCLICK)
        out.kind = Kind::MiddleDClick;
    else if (type == wxEVT_RIGHT_DOWN)
        out.kind = Kind::RightDown;
    else if (type == wxEVT_RIGHT_UP)
        out.kind = Kind::RightUp;
    else if (type == wxEVT_RIGHT_DCLICK)
        out.kind = Kind::RightDClick;
    else if (type == wxEVT_ENTER_WINDOW)
        out.kind = Kind::Enter;
    else if (type == wxEVT_LEAVE_WINDOW)
        out.kind = Kind::Leave;
    else if (type == wxEVT_MOUSEWHEEL)
        out.kind = Kind::Wheel;
    else
        out.kind = Kind::Motion;
    wxPoint position = event.GetPosition();
    if (out.kind == Kind::Wheel)
        position = ScreenToClient(wxGetMousePosition());
    out.x = position.x;
    out.y = position.y;
    out.leftIsDown = event.LeftIsDown();
    out.middleIsDown = event.MiddleIsDown();
    out.rightIsDown = event.RightIsDown();
    out.control = event.ControlDown();
    out.alt = event.AltDown();
    out.shift = event.ShiftDown();
    out.wheelRotation = out.kind == Kind::Wheel ? event.GetWheelRotation() : 0;
    return out;
}

void Canvas::onMouse(wxMouseEvent& event) {
    // The views draw at once while the pointer moves.
    makeCurrent();
    views_.onMouse(translate(event));
    event.Skip();
}

void Canvas::onLeaveWindow(wxMouseEvent& /*event*/) {
    CanvasWindow* view = views_.activeView();
    if (view && view->hoverBox && makeCurrent()) {
        view->hoverBox.reset();
        views_.renderView(view, false);
    }
}

void Canvas::onPaint(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this); // the platform wants one even though OpenGL does the drawing
    redraw();
}

void Canvas::onSize(wxSizeEvent& event) {
    event.Skip();
    makeCurrent();
    wxSize size = GetClientSize();
    views_.resize(size.GetWidth(), size.GetHeight());
}

void Canvas::onEraseBackground(wxEraseEvent& /*event*/) {
    // Swallowed, so that a paint never flashes the background.
}

void Canvas::onEnterWindow(wxMouseEvent& event) {
    SetFocus();
    event.Skip();
}

bool Canvas::saveImage(const std::string& path, int width, int height,
                       const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return false;
    wxImage image(width, height, false);
    std::memcpy(image.GetData(), rgb.data(), rgb.size());
    // The toolkit would report an unknown extension in a box of its own.
    wxLogNull quiet;
    return image.SaveFile(wxString::FromUTF8(path));
}

bool Canvas::exportImage(const std::string& path, const ImageExportRequest& request) {
    const wxSize size = GetClientSize();
    bool saved = false;
    if (size.GetWidth() > 0 && size.GetHeight() > 0 && makeCurrent()) {
        // The scene is drawn anew into a framebuffer object of its own (in tiles when it is
        // larger than one): what the canvas shows, independent of the window's buffers.
        const int width = request.width > 0 ? request.width : size.GetWidth();
        const int height = request.height > 0 ? request.height : size.GetHeight();
        std::string failure;
        {
            MagnifiedLayout layout(views_, width, height);
            SceneExportOptions options;
            options.frames = request.frames;
            failure = exportScene(views_, path, options);
        }
        if (!failure.empty())
            logLine("Image export to " + path + " failed: " + failure);
        saved = failure.empty();
        requestRepaint();
    }
    if (!saved) {
        showUserMessage("An error occured while trying to save the image", "Brennimore error",
                        MessageStyle::Ok | MessageStyle::IconError);
    }
    return saved;
}
