#pragma once
// One view of the canvas: a rectangle of the canvas that shows one diagram through one
// visualizer with a camera of its own, renders itself and handles the mouse events the
// canvas passes to it while it is the active view.
#include <array>
#include <memory>
#include <vector>

#include "graphics/MouseInput.h"
#include "graphics/ViewGeometry.h"
#include "visualizers/HoverInfoBox.h"
#include "visualizers/SelectionElement.h"

class CanvasViews;
class UMLDiagram;
class UMLModelVisualizer;

class CanvasWindow {
public:
    // Throws Exception "Invalid canvas pointer for window" when canvas is null.
    CanvasWindow(CanvasViews* canvas, int x, int y, int width, int height);
    ~CanvasWindow();
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    void setViewport(int x, int y, int width, int height);
    PixelRect rect() const { return {x, y, width, height}; }

    // Shows the diagram zoomed to fit; nothing when it is already shown.
    void setDiagram(UMLDiagram* diagram);
    void setVisualizer(UMLModelVisualizer* visualizer);
    // Fits the diagram's bounds into the view at 95 % with the diagram origin at the centre.
    void zoomToFit();
    // Drops the hover box and what the last hover pick found, and redraws when a box went.
    void clearHover();
    // Drops every pointer into the model (diagram, hover box, hover hits) without drawing.
    void forgetDiagram();

    // Draws the diagram (from the display list when useDisplayList is true and the list
    // holds the last full drawing), then the overlays in pixel coordinates.
    void render(bool useDisplayList);
    void drawFrame(bool active);

    ViewCamera camera() const;
    Matrix4 projectionMatrix(int eye) const;
    Matrix4 modelViewMatrix(int eye) const;

    // Draws the diagram in selection mode under a 4 x 4 pixel region at window position
    // (px, py), y down in a canvas canvasHeight pixels high; the hits come nearest first.
    std::vector<std::unique_ptr<SelectionElement>> pick(int px, int py, int canvasHeight);

    void onMouse(const MouseEvent& event, int canvasHeight);

    // What the last hover pick found, nearest first; kept until the next pick or clearHover.
    const std::vector<std::unique_ptr<SelectionElement>>& hoverHits() const { return hoverHits_; }

    CanvasViews* canvas; // owns the tree that holds this view
    int x;
    int y;
    int width;
    int height;
    UMLModelVisualizer* visualizer = nullptr; // owned by the visualizer registry
    UMLDiagram* diagram = nullptr;            // owned by the loaded model
    std::unique_ptr<HoverInfoBox> hoverBox;
    float zoom = 1.0f;
    std::array<float, 2> pan{0.0f, 0.0f};
    std::array<float, 2> rotation{0.0f, 0.0f};
    bool perspective = true;
    bool stereo = false;
    unsigned displayList = 0; // made at the first render in the canvas's context

private:
    void hover(const MouseEvent& event, int canvasHeight);
    void select(const MouseEvent& event, int canvasHeight);
    void moveSelected(const MouseEvent& event, bool resize);
    void redraw(bool useDisplayList);

    std::vector<std::unique_ptr<SelectionElement>> hoverHits_;
};

// Recomputes a diagram's bounds from (0, 0, 0, 0) grown over every element with a subject.
void recomputeDiagramBounds(UMLDiagram& diagram);
