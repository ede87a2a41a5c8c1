#include "graphics/CanvasViews.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>
#include <string>
#include <system_error>

#include <GL/gl.h>
#include <boost/regex.hpp>

#include "common/Numbers.h"
#include "common/TextLines.h"
#include "config/Configuration.h"
#include "graphics/Graphics.h"
#include "uml/UMLModel.h"
#include "visualizers/HoverInfoBox.h"
#include "xmi/XMIResult.h"

namespace {

constexpr float zoomStep = 1.25f;
constexpr float zoomStepBack = 0.8f;

// A stored layout is built up to these limits; deeper or larger ones come from no window
// a user could split, and would only cost time and memory (windows of no pixel at all).
constexpr std::size_t maximumLayoutDepth = 32;
constexpr std::size_t maximumLayoutWindows = 1024;

std::size_t depthOf(const LayoutNode* node) {
    std::size_t depth = 0;
    for (; node->parent; node = node->parent)
        ++depth;
    return depth;
}

LayoutNode* leftmostLeaf(LayoutNode* node) {
    while (node && !node->isLeaf() && node->first)
        node = node->first.get();
    return node;
}

void collectViews(const LayoutNode& node, std::vector<CanvasWindow*>& out) {
    if (node.view)
        out.push_back(node.view.get());
    if (node.first)
        collectViews(*node.first, out);
    if (node.second)
        collectViews(*node.second, out);
}

// Locale-independent number text: "%f" (six decimals) or the stream default (six
// significant digits).
std::string formatNumber(float value, bool fixed) {
    char buffer[64];
    const auto result =
        fixed ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                              std::chars_format::fixed, 6)
              : std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                              std::chars_format::general, 6);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

// A camera angle or pan value read from text; a value that is not finite would turn the
// whole camera into NaN, so it reads as 0.
float finiteOrZero(double value) {
    return std::isfinite(value) ? static_cast<float>(value) : 0.0f;
}

void writeNode(const LayoutNode& node, std::ostream& out) {
    if (node.view) {
        const CanvasWindow& v = *node.view;
        out << "leaf <" << (v.diagram ? v.diagram->name : std::string("n/a")) << "><"
            << formatNumber(v.zoom, true) << "><" << formatNumber(v.pan[0], true) << " "
            << formatNumber(v.pan[1], true) << "><" << formatNumber(v.rotation[0], true) << " "
            << formatNumber(v.rotation[1], true) << "><" << (v.perspective ? "true" : "false")
            << "><" << (v.stereo ? "true" : "false") << ">\n";
        return;
    }
    out << (node.horizontal ? "horizontal" : "vertical") << " <"
        << formatNumber(node.fraction, false) << ">\n";
    if (node.first)
        writeNode(*node.first, out);
    if (node.second)
        writeNode(*node.second, out);
}

} // namespace

CanvasViews::CanvasViews(int width, int height, CanvasHost* host)
    : host_(host), width_(width), height_(height) {
    root_.view = std::make_unique<CanvasWindow>(this, 0, 0, width, height);
    activeNode_ = &root_;
    activeView_ = root_.view.get();
}

CanvasViews::~CanvasViews() = default;

PixelRect CanvasViews::rectOf(const LayoutNode* node) const {
    if (!node || !node->parent)
        return {0, 0, width_, height_};
    const LayoutNode* parent = node->parent;
    const auto children = splitRect(rectOf(parent), parent->horizontal, parent->fraction);
    return parent->first.get() == node ? children.first : children.second;
}

std::vector<CanvasWindow*> CanvasViews::views() const {
    std::vector<CanvasWindow*> out;
    collectViews(root_, out);
    return out;
}

bool CanvasViews::canDraw() const {
    return host_ && host_->makeCurrent();
}

void CanvasViews::changed() {
    if (host_) {
        host_->activeViewChanged();
        host_->requestRepaint();
    }
}

void CanvasViews::requestRepaint() {
    if (host_)
        host_->requestRepaint();
}

void CanvasViews::activate(LayoutNode* leaf) {
    if (!leaf || !leaf->isLeaf())
        return;
    activeNode_ = leaf;
    activeView_ = leaf->view.get();
}

void CanvasViews::splitActiveWindow(bool horizontal, float fraction) {
    LayoutNode* node = activeNode_;
    auto a = std::make_unique<LayoutNode>();
    auto b = std::make_unique<LayoutNode>();
    a->parent = node;
    b->parent = node;
    a->view = std::move(node->view);
    node->horizontal = horizontal;
    node->fraction = fraction;
    node->first = std::move(a);
    node->second = std::move(b);

    const auto rects = splitRect(rectOf(node), horizontal, fraction);
    LayoutNode* first = node->first.get();
    LayoutNode* second = node->second.get();
    second->view = std::make_unique<CanvasWindow>(this, rects.second.x, rects.second.y,
                                                  rects.second.width, rects.second.height);
    first->view->setViewport(rects.first.x, rects.first.y, rects.first.width, rects.first.height);
    activeNode_ = first;

    CanvasWindow* added = second->view.get();
    added->visualizer = activeView_->visualizer;
    added->setDiagram(activeView_->diagram);
    changed();
}

void CanvasViews::deleteActiveWindow() {
    LayoutNode* removed = activeNode_;
    LayoutNode* parent = removed->parent;
    if (!parent)
        return;
    std::unique_ptr<LayoutNode> gone;
    std::unique_ptr<LayoutNode> sibling;
    if (parent->first.get() == removed) {
        gone = std::move(parent->first);
        sibling = std::move(parent->second);
    } else {
        gone = std::move(parent->second);
        sibling = std::move(parent->first);
    }
    parent->first = std::move(sibling->first);
    parent->second = std::move(sibling->second);
    parent->fraction = sibling->fraction;
    parent->horizontal = sibling->horizontal;
    parent->view = std::move(sibling->view);
    if (parent->first)
        parent->first->parent = parent;
    if (parent->second)
        parent->second->parent = parent;

    activate(leftmostLeaf(parent));
    gone.reset(); // the old active view with it
    if (dragNode_) {
        dragArmed_ = false;
        dragNode_ = nullptr;
    }
    pointerInActive_ = false;
    layoutWindows();
    changed();
}

void CanvasViews::layoutWindows() {
    struct Walk {
        static void run(LayoutNode& node, const PixelRect& r) {
            if (node.view)
                node.view->setViewport(r.x, r.y, r.width, r.height);
            if (node.first && node.second) {
                const auto children = splitRect(r, node.horizontal, node.fraction);
                run(*node.first, children.first);
                run(*node.second, children.second);
            }
        }
    };
    Walk::run(root_, {0, 0, width_, height_});
}

void CanvasViews::resize(int width, int height) {
    width_ = width;
    height_ = height;
    layoutWindows();
}

void CanvasViews::clearWindows() {
    for (CanvasWindow* view : views())
        view->forgetDiagram();
}

void CanvasViews::forgetModel() {
    clearWindows();
    selectionList_ = nullptr;
    pointer.cycle = ClickCycle();
}

void CanvasViews::clearHovers() {
    for (CanvasWindow* view : views())
        view->clearHover();
}

void CanvasViews::writeLayout(std::ostream& out) const {
    writeNode(root_, out);
}

void CanvasViews::readLayout(std::istream& in, const XMIResult* model) {
    static const boost::regex leafLine("^leaf <([^<>]*)><([^<>]*)><([^<> ]*) ([^<>]*)><([^<> ]*) "
                                       "([^<>]*)><(true|false)><(true|false)>$");
    static const boost::regex splitLine("^([a-z]+) <(.+)>$");

    while (activeNode_->parent)
        deleteActiveWindow();

    std::vector<LayoutNode*> pending;
    bool toFill = true;
    std::string line;
    // Lines of a subtree that is read but not built, because building it would pass the
    // limits of the layout: the number of nodes still to come in it.
    std::size_t skipping = 0;
    std::size_t windows = 1;
    for (;;) {
        if (!toFill && !pending.empty()) {
            activate(pending.back());
            pending.pop_back();
            toFill = true;
        }
        if (!readBoundedLine(in, line))
            break;
        boost::smatch m;
        if (skipping > 0) {
            // A leaf closes one node of the skipped subtree, a split opens one more.
            if (line.compare(0, 4, "leaf") == 0)
                --skipping;
            else if (boost::regex_match(line, m, splitLine))
                ++skipping;
            if (skipping == 0)
                toFill = false;
        } else if (line.compare(0, 4, "leaf") == 0) {
            if (model && boost::regex_match(line, m, leafLine)) {
                CanvasWindow* view = activeView_;
                UMLDiagram* found = nullptr;
                for (UMLDiagram* d : model->diagrams)
                    if (d && d->name == m[1].str()) {
                        found = d;
                        break;
                    }
                view->setDiagram(found);
                view->zoom = usableZoom(parseCDouble(m[2].str()));
                view->pan = {finiteOrZero(parseCDouble(m[3].str())),
                             finiteOrZero(parseCDouble(m[4].str()))};
                view->rotation = {finiteOrZero(parseCDouble(m[5].str())),
                                  finiteOrZero(parseCDouble(m[6].str()))};
                view->perspective = m[7] == "true";
                view->stereo = m[8] == "true";
            }
            toFill = false;
        } else if (boost::regex_match(line, m, splitLine)) {
            if (windows >= maximumLayoutWindows || depthOf(activeNode_) >= maximumLayoutDepth) {
                // The active window keeps what it shows; the subtree's lines are read past.
                skipping = 2;
            } else {
                splitActiveWindow(m[1] == "horizontal", usableFraction(parseCDouble(m[2].str())));
                pending.push_back(activeNode_->parent->second.get());
                ++windows;
                toFill = true;
            }
        }
        // The layout ends with the line that leaves no node unfilled.
        if (pending.empty() && skipping == 0)
            break;
    }
    activate(leftmostLeaf(&root_));
    changed();
}

void CanvasViews::onMouse(const MouseEvent& event) {
    const int posX = event.x;
    const int posY = height_ - event.y;

    if (dragArmed_ && event.leftIsDown && dragNode_) {
        const int along = dragHorizontal_ ? posY : posX;
        dragNode_->fraction = dragFraction(along, dragStart_, dragEnd_);
        layoutWindows();
        requestRepaint();
        return;
    }

    if (host_)
        host_->setCursor(CanvasCursor::Default);
    dragArmed_ = false;
    dragNode_ = nullptr;

    const float size = globalConfiguration.getFloat("Canvas.Separator.Size");
    LayoutNode* node = &root_;
    PixelRect r{0, 0, width_, height_};
    while (!node->isLeaf() && node->first && node->second) {
        const int p = divisionPosition(r, node->horizontal, node->fraction);
        const int along = node->horizontal ? posY : posX;
        if (onSeparator(along, p, size)) {
            if (host_)
                host_->setCursor(node->horizontal ? CanvasCursor::ResizeUpDown
                                                  : CanvasCursor::ResizeLeftRight);
            dragArmed_ = true;
            dragNode_ = node;
            dragHorizontal_ = node->horizontal;
            dragStart_ = node->horizontal ? r.y : r.x;
            dragEnd_ = dragStart_ + (node->horizontal ? r.height : r.width) - 1;
            return;
        }
        const auto children = splitRect(r, node->horizontal, node->fraction);
        if (along < p) {
            node = node->first.get();
            r = children.first;
        } else {
            node = node->second.get();
            r = children.second;
        }
    }

    if (node->view.get() == activeView_) {
        pointerInActive_ = true;
        activeView_->onMouse(event, height_);
        return;
    }
    if (pointerInActive_) {
        activeView_->clearHover();
        pointerInActive_ = false;
    }
    if (event.kind == MouseEvent::Kind::LeftUp && node->view) {
        activate(node);
        changed();
    }
}

void CanvasViews::renderAll() {
    for (CanvasWindow* view : views()) {
        view->render(false);
        view->drawFrame(view == activeView_);
    }
}

void CanvasViews::drawSeparators() {
    if (!beginRect({0, 0, width_, height_}))
        return;
    Matrix4 pixels = identityMatrix();
    pixels[0] = 2.0f / static_cast<float>(std::max(width_, 1));
    pixels[5] = 2.0f / static_cast<float>(std::max(height_, 1));
    pixels[10] = -1.0f;
    pixels[12] = -1.0f;
    pixels[13] = -1.0f;
    loadProjection(pixels);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float size = globalConfiguration.getFloat("Canvas.Separator.Size") * pixelScale_;
    const Color colour = globalConfiguration.getColor("Canvas.Separator.Color");
    struct Walk {
        static void run(const LayoutNode& node, const PixelRect& r, float s, const Color& c) {
            if (!node.first || !node.second)
                return;
            const Band band = separatorBand(r, node.horizontal, node.fraction, s);
            if (node.horizontal)
                Graphics::rectFill({static_cast<float>(r.x), band.low},
                                   {static_cast<float>(r.x + r.width), band.high}, c);
            else
                Graphics::rectFill({band.low, static_cast<float>(r.y)},
                                   {band.high, static_cast<float>(r.y + r.height)}, c);
            const auto children = splitRect(r, node.horizontal, node.fraction);
            run(*node.first, children.first, s, c);
            run(*node.second, children.second, s, c);
        }
    };
    Walk::run(root_, {0, 0, width_, height_}, size, colour);
}

void CanvasViews::paint() {
    if (!canDraw())
        return;
    renderAll();
    drawSeparators();
    host_->swapBuffers();
}

void CanvasViews::renderView(CanvasWindow* view, bool useDisplayList) {
    if (!view || !canDraw())
        return;
    view->render(useDisplayList);
    view->drawFrame(view == activeView_);
    host_->swapBuffers();
}

void CanvasViews::setDrawRegion(const PixelRect& region) {
    drawRegion_ = region;
}

void CanvasViews::clearDrawRegion() {
    drawRegion_.reset();
    regionPart_ = identityMatrix();
}

void CanvasViews::setPixelScale(float scale) {
    pixelScale_ = scale > 0.0f && std::isfinite(scale) ? scale : 1.0f;
}

bool CanvasViews::beginRect(const PixelRect& r) {
    if (!drawRegion_) {
        regionPart_ = identityMatrix();
        glViewport(r.x, r.y, r.width, r.height);
        glScissor(r.x, r.y, r.width, r.height);
        return true;
    }
    const PixelRect& region = *drawRegion_;
    const PixelRect part = intersectRects(r, region);
    if (part.width <= 0 || part.height <= 0)
        return false;
    regionPart_ = regionMatrix(r, part);
    glViewport(part.x - region.x, part.y - region.y, part.width, part.height);
    glScissor(part.x - region.x, part.y - region.y, part.width, part.height);
    return true;
}

void CanvasViews::loadProjection(const Matrix4& projection) const {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(multiply(regionPart_, projection).data());
}

void CanvasViews::setDiagram(UMLDiagram* diagram) {
    activeView_->setDiagram(diagram);
}

void CanvasViews::setVisualizer(UMLModelVisualizer* visualizer) {
    activeView_->setVisualizer(visualizer);
}

void CanvasViews::zoomToFit() {
    activeView_->zoomToFit();
    requestRepaint();
}

void CanvasViews::resetZoom() {
    activeView_->zoom = 1.0f;
    requestRepaint();
}

void CanvasViews::zoomIn() {
    activeView_->zoom = clampZoom(activeView_->zoom * zoomStep);
    requestRepaint();
}

void CanvasViews::zoomOut() {
    activeView_->zoom = clampZoom(activeView_->zoom * zoomStepBack);
    requestRepaint();
}

void CanvasViews::resetCamera() {
    CanvasWindow* view = activeView_;
    view->zoom = 1.0f;
    view->pan = {0.0f, 0.0f};
    view->rotation = {0.0f, 0.0f};
    view->zoomToFit();
    requestRepaint();
}

void CanvasViews::setPerspective(bool on) {
    activeView_->perspective = on;
    requestRepaint();
}

void CanvasViews::setStereo(bool on) {
    activeView_->stereo = on;
    requestRepaint();
}
