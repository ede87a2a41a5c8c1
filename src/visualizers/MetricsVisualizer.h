#pragma once
// The metric visualizers: the standard drawing with a grid of glyphs, one cell per active
// metric, inside the box of every node element that carries metrics. "Simple Metrics" keeps
// the elements' sizes, "Unified Element Size" draws every node at the size of the smallest,
// "Unified Metrics Size" keeps the sizes but puts the glyph grid into a corner of that size.
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "visualizers/UMLModelVisualizerStandard.h"

class MetricCollection;

// Where the cell of the metric at position index of count active metrics lies in the area
// (x1, y1)-(x2, y2): cells fill the grid left to right, upper row first. rows -1 chooses
// the rows from the count. False, and nothing written, when there is no such cell.
bool metricGridCell(int index, int count, std::int32_t rows, float x1, float y1, float x2, float y2,
                    float spacingFraction, Point& lowerLeft, Point& upperRight);

// One glyph as the last drawing placed it, for tools that describe what was drawn.
struct DrawnGlyph {
    std::string element; // the subject's id
    std::string metric;
    std::string glyph; // display name
    Point lowerLeft;   // the cell, in diagram units
    Point upperRight;
};

// The view-level glyph settings and the legend, shared by the three metric visualizers.
class MetricsVisualizer {
public:
    virtual ~MetricsVisualizer() = default;

    std::int32_t rows = -1;
    float zoom = 1.0f;
    float hPan = 0.0f;
    float vPan = 0.0f;
    float inRangeOpacity = 0.5f;
    float outOfRangeOpacity = 0.8f;
    bool drawElements = true;
    MetricCollection* metrics = nullptr; // owned by the frame's metrics holder

    // The cell of the named metric in the box; false when the metric is not shown.
    bool layoutMetric(const std::string& name, float left, float top, float right, float bottom,
                      Point& lowerLeft, Point& upperRight, bool applyZoomPan) const;
    // The legend of the shown metrics in the lower-right corner of a view of that size, in
    // pixel coordinates with the origin at the view's lower-left corner.
    void drawLegend(int width, int height) const;
    // Where drawLegend puts its box in a view of that size; false when it draws none.
    bool legendBox(int width, int height, Point& lowerLeft, Point& upperRight) const;

    // While set, every full drawing (not a pick) lists its glyphs in drawnGlyphs, in drawing
    // order, replacing the list of the drawing before.
    bool recordGlyphs = false;
    std::vector<DrawnGlyph> drawnGlyphs;

protected:
    // Recomputes the range shared by the shown integer metrics.
    void computeActiveRange();

    std::int32_t activeMin = 0;
    std::int32_t activeMax = 0;
};

class MetricsVisualizerSimple : public UMLModelVisualizerStandard, public MetricsVisualizer {
public:
    using UMLModelVisualizerStandard::UMLModelVisualizerStandard;
    using UMLModelVisualizerStandard::visit;

    void visit(UMLActor* element) override;
    void visit(UMLClass* element) override;
    void visit(UMLClassifierRole* element) override;
    void visit(UMLComment* element) override;
    void visit(UMLInterface* element) override;
    void visit(UMLPackage* element) override;
    void visit(UMLPseudostate* element) override;
    void visit(UMLSimpleState* element) override;
    void visit(UMLUseCase* element) override;

    void draw(UMLDiagram* diagram) override;
    // Draws the glyphs of the element into the box being drawn.
    virtual void drawMetrics(UMLModelElement* element);
};

class MetricsVisualizerUnifiedSize : public MetricsVisualizerSimple {
public:
    using MetricsVisualizerSimple::MetricsVisualizerSimple;

    void draw(UMLDiagram* diagram) override;
    void drawElement(UMLDiagramElement* element) override;
    bool findGeometry(const UMLModelElement* element, UMLGeometry& out) const override;

    float unifiedWidth = 0.0f;
    float unifiedHeight = 0.0f;

protected:
    // Shrinks the box around its centre to the unified size.
    void shrink(UMLGeometry& g) const;
};

class MetricsVisualizerUnifiedMetricsSize : public MetricsVisualizerUnifiedSize {
public:
    using MetricsVisualizerUnifiedSize::MetricsVisualizerUnifiedSize;

    void drawElement(UMLDiagramElement* element) override;
    bool findGeometry(const UMLModelElement* element, UMLGeometry& out) const override;
    void drawMetrics(UMLModelElement* element) override;
};
