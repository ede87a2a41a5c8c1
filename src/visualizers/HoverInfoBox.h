#pragma once
// The small information box shown beside the pointer: for a metric glyph the metric's name
// and value, for a model element its name and the names of its metrics. Drawn in view pixels
// with the origin at the view's lower-left corner; it hangs down from its anchor.
#include <string>
#include <vector>

#include "metrics/Metric.h"
#include "uml/UMLModelVisitor.h"

class HoverInfoBox {
public:
    HoverInfoBox() = default;
    HoverInfoBox(float px, float py, float room) : x(px), y(py), maxHeight(room) {}
    virtual ~HoverInfoBox() = default;
    // Draws the box in the view's pixel coordinates (origin bottom-left, y up).
    virtual void draw() = 0;

    float x = 0.0f; // upper-left corner of the box
    float y = 0.0f;
    float maxHeight = 0.0f; // room below the anchor
};

class MetricHoverInfoBox : public HoverInfoBox, public MetricVisitor {
public:
    MetricHoverInfoBox(float px, float py, float room, ElementMetric* m)
        : HoverInfoBox(px, py, room), metric(m) {}
    void draw() override;
    void visit(IntMetric& m) override;
    void visit(BoolMetric& m) override;

    ElementMetric* metric; // owned by the metric collection
};

class UMLModelElementHoverInfoBox : public HoverInfoBox, public UMLModelVisitor {
public:
    UMLModelElementHoverInfoBox(float px, float py, float room, UMLModelElement* e)
        : HoverInfoBox(px, py, room), element(e) {}
    void draw() override;
    using UMLModelVisitor::visit;
    void visit(UMLModelElement* e) override;

    UMLModelElement* element; // owned by the model
};

// The lines of a model element's box after cutting it to the room below the anchor: the
// title, the header and the metric names, the last shown one "..." when cut.
std::vector<std::string> elementHoverLines(const UMLModelElement& element, float lineHeight,
                                           float spacing, float maxHeight);
