#include "graphics/CanvasWindow.h"

#include <algorithm>
#include <cmath>

#include <GL/gl.h>
#include <GL/glu.h>

#include "common/Exception.h"
#include "config/Configuration.h"
#include "graphics/CanvasViews.h"
#include "graphics/ClickSelection.h"
#include "graphics/Graphics.h"
#include "uml/UMLModel.h"
#include "visualizers/UMLElementSelection.h"
#include "visualizers/UMLModelVisualizer.h"

namespace {

constexpr int pickRegion = 4;
constexpr float degreesPerPixel = 1.0f / 5.0f;
constexpr float minimumElementSize = 10.0f;
constexpr float wheelUnitsPerDoubling = 1024.0f;
constexpr float hoverOffset = 16.0f;

// View pixels, origin at the lower-left corner, each scale pixels of the image wide.
Matrix4 pixelMatrix(int width, int height, float scale) {
    Matrix4 m = identityMatrix();
    m[0] = 2.0f * scale / static_cast<float>(std::max(width, 1));
    m[5] = 2.0f * scale / static_cast<float>(std::max(height, 1));
    m[10] = -1.0f;
    m[12] = -1.0f;
    m[13] = -1.0f;
    return m;
}

void loadModelView(const Matrix4& modelView) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView.data());
}

} // namespace

CanvasWindow::CanvasWindow(CanvasViews* owner, int px, int py, int w, int h)
    : canvas(owner), x(px), y(py), width(w), height(h) {
    if (!canvas)
        throw Exception("Invalid canvas pointer for window");
}

CanvasWindow::~CanvasWindow() {
    if (displayList != 0)
        glDeleteLists(displayList, 1);
}

void CanvasWindow::setViewport(int px, int py, int w, int h) {
    x = px;
    y = py;
    width = w;
    height = h;
}

void CanvasWindow::setDiagram(UMLDiagram* d) {
    if (d == diagram)
        return;
    diagram = d;
    hoverBox.reset();
    hoverHits_.clear();
    zoomToFit();
    redraw(false);
}

void CanvasWindow::setVisualizer(UMLModelVisualizer* v) {
    if (v == visualizer)
        return;
    visualizer = v;
    hoverBox.reset();
    hoverHits_.clear();
    redraw(false);
}

void CanvasWindow::zoomToFit() {
    if (!diagram)
        return;
    zoom = 1.0f;
    pan = {0.0f, 0.0f};
    rotation = {0.0f, 0.0f};
    const auto& b = diagram->bounds;
    zoom = fitZoom(width, height, b[2] - b[0], b[3] - b[1]);
}

void CanvasWindow::clearHover() {
    hoverHits_.clear();
    if (!hoverBox)
        return;
    hoverBox.reset();
    redraw(false);
}

void CanvasWindow::forgetDiagram() {
    diagram = nullptr;
    hoverBox.reset();
    hoverHits_.clear();
}

void CanvasWindow::redraw(bool useDisplayList) {
    canvas->renderView(this, useDisplayList);
}

ViewCamera CanvasWindow::camera() const {
    ViewCamera c;
    c.width = width;
    c.height = height;
    c.zoom = zoom;
    c.pan = pan;
    c.rotation = rotation;
    c.perspective = perspective;
    c.eyeSeparation = globalConfiguration.getFloat("Visualizer.General.Stereo.EyeSeperation");
    c.focusDistance = globalConfiguration.getFloat("Visualizer.General.Stereo.FocusDistance");
    return c;
}

Matrix4 CanvasWindow::projectionMatrix(int eye) const {
    return ::projectionMatrix(camera(), eye);
}

Matrix4 CanvasWindow::modelViewMatrix(int eye) const {
    return ::modelViewMatrix(camera(), eye);
}

void CanvasWindow::render(bool useDisplayList) {
    if (!canvas->beginRect(rect()))
        return;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    const bool drawable = diagram && visualizer;
    // A vector recording sees primitives before the colour mask applies, so a stereo view
    // is recorded as the mono image.
    const bool recording = Graphics::isRecordingVector();
    const ViewCamera c = camera();
    if (stereo && drawable && !recording) {
        // Anaglyph: the left eye in cyan, the right eye in red, blended by the colour mask.
        canvas->loadProjection(::projectionMatrix(c, -1));
        loadModelView(::modelViewMatrix(c, -1));
        glColorMask(GL_FALSE, GL_TRUE, GL_TRUE, GL_FALSE);
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        visualizer->draw(diagram);
        canvas->loadProjection(::projectionMatrix(c, 1));
        loadModelView(::modelViewMatrix(c, 1));
        glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_FALSE);
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        visualizer->draw(diagram);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    } else {
        canvas->loadProjection(::projectionMatrix(c, 0));
        loadModelView(::modelViewMatrix(c, 0));
        if (drawable && recording) {
            // Drawn afresh: text must reach the recording as text, and the list keeps what
            // the screen draws.
            visualizer->draw(diagram);
        } else if (drawable) {
            if (displayList == 0)
                displayList = glGenLists(1);
            // A list that was never compiled replays nothing; compile it then.
            if (useDisplayList && glIsList(displayList)) {
                glCallList(displayList);
            } else {
                glNewList(displayList, GL_COMPILE_AND_EXECUTE);
                visualizer->draw(diagram);
                glEndList();
            }
        }
    }

    const float scale = canvas->pixelScale();
    canvas->loadProjection(pixelMatrix(width, height, scale));
    loadModelView(identityMatrix());
    if (hoverBox)
        hoverBox->draw();
    if (visualizer && canvas->hooks.drawLegend)
        canvas->hooks.drawLegend(visualizer, static_cast<int>(std::lround(width / scale)),
                                 static_cast<int>(std::lround(height / scale)));
}

void CanvasWindow::drawFrame(bool active) {
    if (!canvas->beginRect(rect()))
        return;
    const float scale = canvas->pixelScale();
    canvas->loadProjection(pixelMatrix(width, height, scale));
    loadModelView(identityMatrix());
    const float t = active ? 3.0f : 1.0f;
    const Color colour(active ? 0x88ff0000u : 0x88000000u);
    const float w = static_cast<float>(width) / scale;
    const float h = static_cast<float>(height) / scale;
    // The side strips leave out the corners so that no pixel is blended twice.
    Graphics::rectFill({0.0f, 0.0f}, {w, t}, colour);
    Graphics::rectFill({0.0f, h - t}, {w, h}, colour);
    Graphics::rectFill({0.0f, t}, {t, h - t}, colour);
    Graphics::rectFill({w - t, t}, {w, h - t}, colour);
}

std::vector<std::unique_ptr<SelectionElement>> CanvasWindow::pick(int px, int py,
                                                                  int canvasHeight) {
    if (!diagram || !visualizer || width <= 0 || height <= 0)
        return {};
    GLint viewport[4] = {x, y, width, height};
    glViewport(x, y, width, height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(px, canvasHeight - py, pickRegion, pickRegion, viewport);
    const ViewCamera c = camera();
    glMultMatrixf(::projectionMatrix(c, 0).data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(::modelViewMatrix(c, 0).data());
    std::vector<std::unique_ptr<SelectionElement>> hits = visualizer->pick(diagram);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return hits;
}

void CanvasWindow::onMouse(const MouseEvent& event, int canvasHeight) {
    if (!diagram)
        return;
    PointerState& pointer = canvas->pointer;
    hover(event, canvasHeight);

    if (event.kind == MouseEvent::Kind::LeftDown && !event.alt)
        select(event, canvasHeight);

    if (event.isMotion() && event.leftIsDown && !event.middleIsDown && !event.rightIsDown &&
        event.alt)
        moveSelected(event, event.control);

    if (event.isMotion() && event.middleIsDown && !event.leftIsDown && !event.rightIsDown) {
        const float dx = static_cast<float>(event.x - pointer.lastX);
        const float dy = static_cast<float>(event.y - pointer.lastY);
        if (event.shift) {
            rotation[0] += dx * degreesPerPixel;
            rotation[1] += dy * degreesPerPixel;
        } else {
            // The diagram follows the pointer.
            pan[0] -= dx / zoom;
            pan[1] += dy / zoom;
        }
        redraw(true);
    }

    if (event.wheelRotation != 0) {
        zoom = clampZoom(zoom * std::pow(2.0f, event.wheelRotation / wheelUnitsPerDoubling));
        redraw(true);
    }

    pointer.lastX = event.x;
    pointer.lastY = event.y;
}

void CanvasWindow::hover(const MouseEvent& event, int canvasHeight) {
    hoverBox.reset();
    hoverHits_.clear();
    if (event.anyButtonDown() || !visualizer)
        return;
    const ViewHooks& hooks = canvas->hooks;
    if (hooks.picksOnHover && !hooks.picksOnHover(visualizer))
        return;
    hoverHits_ = pick(event.x, event.y, canvasHeight);
    if (hooks.makeHoverBox) {
        hoverBox = hooks.makeHoverBox(visualizer, hoverHits_);
        if (hoverBox) {
            const float viewY = static_cast<float>(canvasHeight - event.y - y);
            hoverBox->x = static_cast<float>(event.x - x) + hoverOffset;
            hoverBox->y = viewY;
            hoverBox->maxHeight = viewY;
        }
    }
    redraw(true);
}

void CanvasWindow::select(const MouseEvent& event, int canvasHeight) {
    UMLSelectionList* list = canvas->selectionList();
    if (!list)
        return;
    std::vector<UMLModelElement*> elements;
    for (const auto& hit : pick(event.x, event.y, canvasHeight))
        if (auto* e = dynamic_cast<UMLModelSelectionElement*>(hit.get()))
            elements.push_back(e->element);
    applyClickSelection(*list, elements, event.x, event.y, event.control, event.shift,
                        canvas->pointer.cycle);
    canvas->requestRepaint();
}

void CanvasWindow::moveSelected(const MouseEvent& event, bool resize) {
    UMLSelectionList* list = canvas->selectionList();
    if (!list)
        return;
    const PointerState& pointer = canvas->pointer;
    const float dx = static_cast<float>(event.x - pointer.lastX) / zoom;
    const float dy = static_cast<float>(event.y - pointer.lastY) / zoom;
    for (UMLModelElement* selected : list->elements()) {
        if (!isSelected(selected))
            continue;
        for (UMLDiagramElement* element : diagram->element) {
            const UMLModelElement* subject = element ? element->subject : nullptr;
            const bool same = subject && (subject == selected ||
                                          (!selected->id.empty() && subject->id == selected->id));
            if (!same)
                continue;
            UMLGeometry& g = element->geometry;
            if (resize) {
                // With y up, bottom is the upper edge: the right and upper edges follow.
                g.right += dx;
                g.bottom -= dy;
                g.right = std::max(g.right, g.left + minimumElementSize);
                g.bottom = std::max(g.bottom, g.top + minimumElementSize);
            } else {
                g.left += dx;
                g.right += dx;
                g.top -= dy;
                g.bottom -= dy;
            }
        }
    }
    recomputeDiagramBounds(*diagram);
    redraw(false);
}

void recomputeDiagramBounds(UMLDiagram& diagram) {
    std::array<float, 4> b{0.0f, 0.0f, 0.0f, 0.0f};
    for (const UMLDiagramElement* element : diagram.element) {
        if (!element || !element->subject)
            continue;
        const UMLGeometry& g = element->geometry;
        b[0] = std::min(b[0], g.left);
        b[1] = std::min(b[1], g.top);
        b[2] = std::max(b[2], g.right);
        b[3] = std::max(b[3], g.bottom);
    }
    diagram.bounds = b;
}
