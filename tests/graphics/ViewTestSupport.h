#pragma once
// What the view tests share: a host that records what the views ask of their window, a
// visualizer that fills each class's box, and a small diagram of classes built in place.
#include <memory>
#include <string>
#include <vector>

#include "graphics/CanvasViews.h"
#include "graphics/Graphics.h"
#include "uml/UMLModel.h"
#include "visualizers/UMLModelVisualizer.h"
#include "xmi/XMIResult.h"

class RecordingHost : public CanvasHost {
public:
    bool makeCurrent() override { return drawing; }
    void swapBuffers() override { ++swaps; }
    void requestRepaint() override { ++repaints; }
    void setCursor(CanvasCursor c) override { cursor = c; }
    void activeViewChanged() override { ++activeChanges; }

    bool drawing = true; // the offscreen context is current
    int swaps = 0;
    int repaints = 0;
    int activeChanges = 0;
    CanvasCursor cursor = CanvasCursor::Default;
};

// Fills every class's box in opaque blue.
class BoxVisualizer : public UMLModelVisualizer {
public:
    using UMLModelVisualizer::visit;
    void visit(UMLClass* /*element*/) override {
        const UMLGeometry& g = currentGeometry();
        Graphics::rectFill({g.left, g.top}, {g.right, g.bottom}, Color(0.0f, 0.0f, 1.0f, 1.0f));
        ++visits;
    }
    int visits = 0;
};

// A model whose diagrams hold classes with the given boxes (left, top, right, bottom in
// diagram units, y up), with bounds grown over them.
class TestModel {
public:
    UMLDiagram* addDiagram(const std::string& name,
                           const std::vector<std::array<float, 4>>& boxes) {
        auto* diagram = result.create<UMLDiagram>();
        diagram->name = name;
        diagram->id = "d" + std::to_string(result.diagrams.size());
        for (const auto& box : boxes) {
            auto* cls = result.create<UMLClass>();
            cls->id = "c" + std::to_string(++counter_);
            cls->name = cls->id;
            auto* element = result.create<UMLDiagramElement>();
            element->subject = cls;
            element->geometry.left = box[0];
            element->geometry.top = box[1];
            element->geometry.right = box[2];
            element->geometry.bottom = box[3];
            diagram->element.push_back(element);
        }
        std::array<float, 4> b{0, 0, 0, 0};
        for (const auto& box : boxes) {
            b[0] = std::min(b[0], box[0]);
            b[1] = std::min(b[1], box[1]);
            b[2] = std::max(b[2], box[2]);
            b[3] = std::max(b[3], box[3]);
        }
        diagram->bounds = b;
        diagram->hasBounds = !boxes.empty();
        result.diagrams.push_back(diagram);
        return diagram;
    }

    XMIResult result;

private:
    int counter_ = 0;
};

inline MouseEvent mouse(MouseEvent::Kind kind, int x, int y) {
    MouseEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    using K = MouseEvent::Kind;
    e.leftIsDown = kind == K::LeftDown;
    e.middleIsDown = kind == K::MiddleDown;
    return e;
}
