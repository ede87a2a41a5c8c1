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
    // The lines the box shows, top first, as draw lays them out.
    virtual std::vector<std::string> lines() const { return {}; }

    float x = 0.0f; // upper-left corner of the box
    float y = 0.0f;
    float maxHeight = 0.0f; // room below the anchor
};

class MetricHoverInfoBox : public HoverInfoBox, public MetricVisitor {
public:
    MetricHoverInfoBox(float px, float py, float room, ElementMetric* m)
        : HoverInfoBox(px, py, room), metric(m) {}
    void draw() override;
    std::vector<std::string> lines() const override;
    void visit(IntMetric& m) override;
    void visit(BoolMetric& m) override;

    ElementMetric* metric; // owned by the metric collection
};

class UMLModelElementHoverInfoBox : public HoverInfoBox, public UMLModelVisitor {
public:
    UMLModelElementHoverInfoBox(float px, float py, float room, UMLModelElement* e)
        : HoverInfoBox(px, py, room), element(e) {}
    void draw() override;
    std::vector<std::string> lines() const override;
    using UMLModelVisitor::visit;
    void visit(UMLModelElement* e) override;

    UMLModelElement* element; // owned by the model

private:
    std::vector<std::string> cutLines(const UMLModelElement& e, float lineHeight) const;
};

// The lines of a metric's box: the name, then the value, and for an integer the global range.
std::vector<std::string> metricHoverLines(const ElementMetric& metric);

// The lines of a model element's box after cutting it to the room below the anchor: the
// title, the header and the metric names, the last shown one "..." when cut.
std::vector<std::string> elementHoverLines(const UMLModelElement& element, float lineHeight,
                                           float spacing, float maxHeight);
