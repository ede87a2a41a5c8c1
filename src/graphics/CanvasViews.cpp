#include "graphics/CanvasViews.h"

CanvasViews::CanvasViews(int width, int height) : width_(width), height_(height) {
    root_.view = std::make_unique<CanvasWindow>(0, 0, width, height);
    activeNode_ = &root_;
    activeView_ = root_.view.get();
}

void CanvasViews::layoutWindows(int width, int height) {
    width_ = width;
    height_ = height;
    if (root_.view)
        root_.view->setViewport(0, 0, width, height);
}

void CanvasViews::renderAll() {
    if (root_.view)
        root_.view->render(false);
}
