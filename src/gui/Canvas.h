#pragma once
// The OpenGL window of the main frame. A thin shell: it owns the OpenGL context, sets the
// fixed OpenGL state once, registers the text font, hands painting, resizing and the mouse
// to the views (CanvasViews), sets the cursors they ask for, and exports what it shows as
// an image file.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/glcanvas.h>

#include "graphics/CanvasViews.h"
#include "gui/ExportSizeDialog.h"

class Canvas : public wxGLCanvas, public CanvasHost {
public:
    Canvas(wxWindow* parent, wxWindowID id);
    ~Canvas() override;

    // Writes what the canvas shows to an image file, PNG, JPEG, SVG, PDF or EPS by the file
    // name's extension, at the canvas's size or magnified to the size asked for, without
    // the view frames unless asked. On failure the user is told and false is returned.
    bool exportImage(const std::string& path, const ImageExportRequest& request = {});
    // Writes RGB pixels given top row first to an image file, typed by its extension.
    static bool saveImage(const std::string& path, int width, int height,
                          const std::vector<std::uint8_t>& rgb);

    // Makes the canvas's context current; false while the window cannot take it (not yet
    // shown). The fixed OpenGL state is set the first time this succeeds.
    bool makeCurrent() override;
    // Renders every view and shows the result.
    void redraw();
    // Renders every view into the back buffer without showing it.
    void renderScene();

    // What the views ask of the window.
    void swapBuffers() override;
    void requestRepaint() override;
    void setCursor(CanvasCursor cursor) override;
    void activeViewChanged() override;
    // Called when the active view changes or views are split or deleted, so that the
    // controls showing the active view's state follow it.
    void setActiveViewChangedHandler(std::function<void()> handler);

    // The toolkit's mouse event as the views see it. The wheel carries no position of its
    // own, so the pointer's current position is taken.
    MouseEvent translate(const wxMouseEvent& event) const;

    CanvasViews& views() { return views_; }
    CanvasWindow* activeView() const { return views_.activeView(); }
    // Bits of the depth buffer asked for when the window was created.
    int depthBits() const { return depthBits_; }

    // Registers the program's text font ("Arial") from the given file. When that fails the
    // user is told why and the exit hook runs; returns whether the font was registered.
    static bool registerFont(const std::string& file);
    // What ends the program when it cannot go on; ends the application unless replaced
    // (tests replace it). Returns the previous hook.
    static std::function<void()> setExitHook(std::function<void()> hook);

    // The pixel format: RGBA, double buffered, the given depth and an 8-bit stencil buffer.
    static std::vector<int> pixelFormat(int depthBits);
    // The deepest depth buffer the display offers with that format, 32 bits if it can.
    static int chooseDepthBits();

private:
    Canvas(wxWindow* parent, wxWindowID id, int depthBits);

    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onEraseBackground(wxEraseEvent& event);
    void onEnterWindow(wxMouseEvent& event);
    void onLeaveWindow(wxMouseEvent& event);
    void onMouse(wxMouseEvent& event);

    int depthBits_;
    std::unique_ptr<wxGLContext> context_;
    bool glStateSet_ = false;
    std::function<void()> activeViewChanged_;
    CanvasViews views_;

    wxDECLARE_EVENT_TABLE();
};
