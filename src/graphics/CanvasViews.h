#pragma once
// The views of the canvas, kept apart from the window toolkit: the tree that splits the
// canvas into views, the active view, separator dragging and view activation, the layout
// text, and the rendering of all views. The canvas window forwards its events here and
// provides what only it can do through CanvasHost.
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <vector>

#include "graphics/ClickSelection.h"
#include "graphics/LayoutNode.h"
#include "graphics/MouseInput.h"
#include "graphics/ViewGeometry.h"

class UMLDiagram;
class UMLModelVisualizer;
class UMLSelectionList;
class XMIResult;
class HoverInfoBox;
class SelectionElement;

// What the views ask of the window that shows them.
class CanvasHost {
public:
    virtual ~CanvasHost() = default;
    // Makes the OpenGL context current; false while there is none to draw with.
    virtual bool makeCurrent() = 0;
    virtual void swapBuffers() = 0;
    // Asks for a full repaint of the canvas (later, from the event loop).
    virtual void requestRepaint() = 0;
    virtual void setCursor(CanvasCursor cursor) = 0;
    // The active view changed, or a view was split or deleted: the controls showing the
    // active view's state follow it.
    virtual void activeViewChanged() = 0;
};

// Hooks through which the metric visualizers add to what views show.
struct ViewHooks {
    // Whether views with this visualizer pick on pointer motion; unset, every view does.
    std::function<bool(UMLModelVisualizer*)> picksOnHover;
    // The hover box for what a motion pick found (nearest first); null for none. The view
    // places the box beside the pointer.
    std::function<std::unique_ptr<HoverInfoBox>(
        UMLModelVisualizer*, const std::vector<std::unique_ptr<SelectionElement>>&)>
        makeHoverBox;
    // Draws the visualizer's legend, if it has one, in view pixels of the given size.
    std::function<void(UMLModelVisualizer*, int width, int height)> drawLegend;
};

// Where the pointer was, for the drags of all views.
struct PointerState {
    int lastX = 0;
    int lastY = 0;
    ClickCycle cycle;
};

class CanvasViews {
public:
    // A canvas of the given size with one view over all of it. host may be null: then
    // nothing is drawn.
    CanvasViews(int width, int height, CanvasHost* host = nullptr);
    ~CanvasViews();
    CanvasViews(const CanvasViews&) = delete;
    CanvasViews& operator=(const CanvasViews&) = delete;

    // The tree.
    void splitActiveWindow(bool horizontal, float fraction = 0.5f);
    // Removes the active view; its sibling takes over the parent. Nothing with one view.
    void deleteActiveWindow();
    // Gives every view the rectangle of its node.
    void layoutWindows();
    void resize(int width, int height);
    // Sets every view's diagram to none.
    void clearWindows();
    // Leaves no pointer into the model: every view's diagram, hover box and hover hits, the
    // selection list and the click cycling go. Called before a model is closed or replaced.
    void forgetModel();
    // Drops every view's hover box and hover hits, which point at metric records and
    // elements; called before metrics go or come.
    void clearHovers();
    // Makes the leaf and its view active.
    void activate(LayoutNode* leaf);

    // The layout text: one line per node, pre-order.
    void writeLayout(std::ostream& out) const;
    // Rebuilds the tree from the layout text; diagram names are looked up among the model's
    // diagrams. model may be null: the splits are rebuilt, leaf lines set nothing.
    void readLayout(std::istream& in, const XMIResult* model);

    // Separator dragging and view activation; the rest goes to the active view.
    void onMouse(const MouseEvent& event);

    // Drawing; each needs the host's context and does nothing without it.
    void paint();
    void renderAll();
    void drawSeparators();
    // Renders one view with its frame and shows it at once.
    void renderView(CanvasWindow* view, bool useDisplayList);
    void requestRepaint();

    // Drawing a part of the canvas, for images drawn in tiles: the framebuffer's pixels from
    // (0, 0) show region (canvas pixels) of the canvas. Unset, they show the whole canvas.
    void setDrawRegion(const PixelRect& region);
    void clearDrawRegion();
    // Pixel sizes (hover boxes, legends, separators, frames) drawn this many times as large,
    // for an image larger than the canvas that shows what the canvas shows; 1 on screen.
    void setPixelScale(float scale);
    float pixelScale() const { return pixelScale_; }
    // Sets viewport and scissor to the canvas rectangle r as far as the draw region shows
    // it; false, with nothing set, when none of r shows.
    bool beginRect(const PixelRect& r);
    // Loads a projection made for the rectangle last begun, cut to the part that shows.
    void loadProjection(const Matrix4& projection) const;

    // Commands on the active view.
    void setDiagram(UMLDiagram* diagram);
    void setVisualizer(UMLModelVisualizer* visualizer);
    void zoomToFit();
    void resetZoom();
    void zoomIn();
    void zoomOut();
    // Zoom 1, pan and rotation zero, then zoom to fit.
    void resetCamera();
    void setPerspective(bool on);
    void setStereo(bool on);

    // The frame's selection list (owned by the frame); null while no model is loaded.
    void setSelectionList(UMLSelectionList* list) { selectionList_ = list; }
    UMLSelectionList* selectionList() const { return selectionList_; }

    CanvasWindow* activeView() const { return activeView_; }
    LayoutNode* activeNode() const { return activeNode_; }
    LayoutNode& root() { return root_; }
    const LayoutNode& root() const { return root_; }
    // Every view, in tree order (first subtree before second).
    std::vector<CanvasWindow*> views() const;
    PixelRect rectOf(const LayoutNode* node) const;
    int width() const { return width_; }
    int height() const { return height_; }
    CanvasHost* host() const { return host_; }

    ViewHooks hooks;
    PointerState pointer;

private:
    void changed(); // the control strip follows, then a repaint
    bool canDraw() const;

    LayoutNode root_;
    LayoutNode* activeNode_ = nullptr;   // a leaf in the tree under root_
    CanvasWindow* activeView_ = nullptr; // owned by activeNode_
    UMLSelectionList* selectionList_ = nullptr;
    CanvasHost* host_ = nullptr; // the window showing the views
    int width_ = 0;
    int height_ = 0;
    std::optional<PixelRect> drawRegion_;
    Matrix4 regionPart_ = identityMatrix();
    float pixelScale_ = 1.0f;

    // Separator drag.
    bool dragArmed_ = false;
    LayoutNode* dragNode_ = nullptr;
    bool dragHorizontal_ = false;
    int dragStart_ = 0;
    int dragEnd_ = 0;
    bool pointerInActive_ = false;
};
