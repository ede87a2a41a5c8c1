#pragma once
// The views of the canvas and which one is active, kept apart from the window toolkit so
// that the canvas window only forwards its events here. A new canvas has one view covering
// all of it.
#include <memory>

#include "graphics/CanvasWindow.h"

// A node of the tree that divides the canvas into views; a leaf holds a view.
struct LayoutNode {
    LayoutNode* parent = nullptr;
    std::unique_ptr<CanvasWindow> view;
};

class CanvasViews {
public:
    CanvasViews(int width, int height);

    // Gives every view the rectangle of its node for a canvas of the given size.
    void layoutWindows(int width, int height);
    // Renders every view.
    void renderAll();

    CanvasWindow* activeView() const { return activeView_; }
    LayoutNode& root() { return root_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    LayoutNode root_;
    LayoutNode* activeNode_ = nullptr;   // points into the tree under root_
    CanvasWindow* activeView_ = nullptr; // owned by activeNode_
    int width_ = 0;
    int height_ = 0;
};
