#pragma once
// One node of the tree that divides the canvas into views: an inner node splits its
// rectangle in two at fraction, a leaf holds a view.
#include <memory>

#include "graphics/CanvasWindow.h"

struct LayoutNode {
    LayoutNode* parent = nullptr; // null for the root; the parent owns this node
    std::unique_ptr<LayoutNode> first;
    std::unique_ptr<LayoutNode> second;
    float fraction = 0.5f; // share of the node's extent given to first
    // true: divided by a horizontal line, first below; false: by a vertical line, first left.
    bool horizontal = false;
    std::unique_ptr<CanvasWindow> view;

    bool isLeaf() const { return view != nullptr; }
};
