#pragma once
// The window side of views that draw into an offscreen context: there is no screen to show,
// no cursor and no controls to follow, so only making the context current has a meaning.
#include "graphics/CanvasViews.h"
#include "graphics/OffscreenGL.h"

class OffscreenHost : public CanvasHost {
public:
    explicit OffscreenHost(OffscreenGL& gl) : gl_(gl) {}
    bool makeCurrent() override {
        gl_.makeCurrent();
        return true;
    }
    void swapBuffers() override {}
    void requestRepaint() override {}
    void setCursor(CanvasCursor) override {}
    void activeViewChanged() override {}

private:
    OffscreenGL& gl_; // owned by whoever made the views
};
