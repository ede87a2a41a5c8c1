#include "visualizers/MetricsVisualizer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "config/Configuration.h"
#include "graphics/Graphics.h"
#include "metrics/MetricCollection.h"
#include "visualizers/MetricViz.h"

bool metricGridCell(int index, int count, std::int32_t rows, float x1, float y1, float x2, float y2,
                    float spacingFraction, Point& lowerLeft, Point& upperRight) {
    if (count <= 0 || index < 0 || index >= count)
        return false;
    int r = rows == -1 ? static_cast<int>(std::floor(std::sqrt(static_cast<double>(count)))) : rows;
    r = std::clamp(r, 1, count);
    const int c = (count + r - 1) / r;
    const float w = x2 - x1 + 1.0f;
    const float h = y2 - y1 + 1.0f;
    const float s = std::ceil(spacingFraction * std::min(w, h));
    const float g = std::max(s, 2.0f);
    const float cw = (w - static_cast<float>(c + 1) * s) / static_cast<float>(c);
    const float ch = (h - static_cast<float>(r + 1) * s) / static_cast<float>(r);
    const int q = index / c;
    const int k = index % c;
    const float row = static_cast<float>(r - q - 1);
    lowerLeft = Point(x1 + g + std::floor((cw + g) * static_cast<float>(k)),
                      y1 + g + std::floor((ch + g) * row));
    upperRight = Point(x1 + g + std::floor(cw + (cw + g) * static_cast<float>(k) - 1.0f),
                       y1 + g + std::floor((ch + g) * row) + ch - 1.0f);
    return std::isfinite(lowerLeft.x) && std::isfinite(lowerLeft.y) &&
           std::isfinite(upperRight.x) && std::isfinite(upperRight.y);
}

bool MetricsVisualizer::layoutMetric(const std::string& name, float left, float top, float right,
                                     float bottom, Point& lowerLeft, Point& upperRight,
                                     bool applyZoomPan) const {
    if (!metrics)
        return false;
    float x1 = left, y1 = top, x2 = right, y2 = bottom;
    if (applyZoomPan) {
        const float mx = (left + right) / 2.0f, my = (top + bottom) / 2.0f;
        const float hw = (right - left) / 2.0f, hh = (bottom - top) / 2.0f;
        x1 = mx + hw * (hPan - zoom);
        x2 = mx + hw * (hPan + zoom);
        y1 = my + hh * (vPan - zoom);
        y2 = my + hh * (vPan + zoom);
    }
    const auto& active = metrics->activeMetrics;
    auto found = active.find(name);
    if (found == active.end())
        return false;
    auto props = metrics->properties.find(name);
    if (props == metrics->properties.end() || !props->second || !props->second->viz)
        return false;
    const int index = static_cast<int>(std::distance(active.begin(), found));
    return metricGridCell(index, static_cast<int>(active.size()), rows, x1, y1, x2, y2,
                          globalConfiguration.getFloat("Visualizer.SimpleMetrics.Spacing"),
                          lowerLeft, upperRight);
}

void MetricsVisualizer::computeActiveRange() {
    activeMin = 2147483647;
    activeMax = 0;
    for (const std::string& name : metrics->activeMetrics) {
        auto range = metrics->ranges.find(name);
        if (range == metrics->ranges.end())
            continue;
        activeMin = std::min(activeMin, range->second.first);
        activeMax = std::max(activeMax, range->second.second);
    }
}

namespace {

struct LegendLayout {
    float spacing = 0.0f;
    float fontSize = 0.0f;
    float textHeight = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

LegendLayout legendLayout(const MetricCollection& metrics) {
    LegendLayout l;
    l.spacing = std::ceil(globalConfiguration.getFloat("Visualizer.General.Legend.Spacing"));
    l.fontSize = globalConfiguration.getFloat("Visualizer.General.Legend.FontSize");
    float tw = 0.0f;
    for (const std::string& name : metrics.activeMetrics) {
        float w = 0.0f, h = 0.0f;
        Graphics::textSize(name, l.fontSize, w, h);
        tw = std::max(tw, w);
        l.textHeight = std::max(l.textHeight, h);
    }
    const auto n = static_cast<float>(metrics.activeMetrics.size());
    l.width = tw + 4.0f * l.spacing + 19.0f;
    l.height = std::max(n * (l.textHeight + l.spacing) + l.spacing, 13.0f);
    return l;
}

} // namespace

bool MetricsVisualizer::legendBox(int width, int /*height*/, Point& lowerLeft,
                                  Point& upperRight) const {
    if (!metrics || !globalConfiguration.getBool("Visualizer.General.Legend.Enable") ||
        metrics->activeMetrics.empty())
        return false;
    const LegendLayout l = legendLayout(*metrics);
    const float right = static_cast<float>(width);
    lowerLeft = Point(right - l.width - l.spacing, l.spacing);
    upperRight = Point(right - l.spacing, l.height + l.spacing);
    return true;
}

void MetricsVisualizer::drawLegend(int width, int height) const {
    Point lowerLeft, upperRight;
    if (!legendBox(width, height, lowerLeft, upperRight))
        return;
    const LegendLayout l = legendLayout(*metrics);
    const float s = l.spacing;
    const float f = l.fontSize;
    const float th = l.textHeight;
    const float bw = l.width;
    const float bh = l.height;
    const float right = static_cast<float>(width);

    const float saved = Graphics::getOpacity();
    Graphics::setOpacity(globalConfiguration.getFloat("Visualizer.General.Legend.Transparency"));
    Graphics::rectFill(lowerLeft, upperRight,
                       globalConfiguration.getColor("Visualizer.General.Legend.FillColor"));
    Graphics::rectOutline(lowerLeft, upperRight,
                          globalConfiguration.getColor("Visualizer.General.Legend.OutlineColor"));
    const Color font = globalConfiguration.getColor("Visualizer.General.Legend.FontColor");
    int i = 0;
    for (const std::string& name : metrics->activeMetrics) {
        ++i;
        const float y = (bh + s) - static_cast<float>(i) * (th + s);
        const float sampleY = y + (th - 13.0f) / 2.0f;
        auto props = metrics->properties.find(name);
        if (props != metrics->properties.end() && props->second) {
            Configuration& config = props->second->config();
            const Point p1(right - bw + s, sampleY);
            const Point p2(right - bw + s + 19.0f, sampleY + 13.0f);
            Graphics::rectFill(p1, p2, config.getColor("FillColor"));
            Graphics::rectOutline(p1, p2, config.getColor("OutlineColor"));
        }
        Graphics::drawText(name, Point(right - bw + 2.0f * s + 19.0f, y), f, 0, font);
    }
    Graphics::setOpacity(saved);
}

void MetricsVisualizerSimple::draw(UMLDiagram* diagram) {
    if (!picking && recordGlyphs)
        drawnGlyphs.clear();
    if (!picking && metrics)
        computeActiveRange();
    UMLModelVisualizerStandard::draw(diagram);
}

void MetricsVisualizerSimple::drawMetrics(UMLModelElement* element) {
    if (!metrics || !element)
        return;
    const float saved = Graphics::getOpacity();
    Graphics::setOpacity(inRangeOpacity);
    const UMLGeometry& box = currentGeometry();
    for (ElementMetric* record : getElementMetrics(*element)) {
        if (!metrics->activeMetrics.count(record->name))
            continue;
        auto props = metrics->properties.find(record->name);
        if (props == metrics->properties.end() || !props->second || !props->second->viz)
            continue;
        MetricProperties& properties = *props->second;
        Point lowerLeft;
        Point upperRight;
        if (!layoutMetric(record->name, box.left, box.top, box.right, box.bottom, lowerLeft,
                          upperRight, true))
            continue;
        if (picking)
            pushSelectionName(std::make_unique<MetricSelectionElement>(record));
        else if (recordGlyphs)
            drawnGlyphs.push_back(
                {element->id, record->name, properties.viz->getName(), lowerLeft, upperRight});
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        const float o = Graphics::getOpacity();
        if (auto* value = dynamic_cast<IntMetric*>(record)) {
            const auto v = static_cast<float>(value->value);
            if (properties.config().getFloat(".LowerThreshold") >= v ||
                properties.config().getFloat(".UpperThreshold") <= v)
                Graphics::setOpacity(outOfRangeOpacity);
        }
        const float t = properties.config().getFloat("Transparency");
        if (t != 0.0f)
            Graphics::setOpacity(Graphics::getOpacity() * t);
        MetricViz& glyph = *properties.viz;
        glyph.setProperties(&properties.config());
        glyph.setBounds(lowerLeft.x, lowerLeft.y, upperRight.x, upperRight.y);
        glyph.setActiveRange(activeMin, activeMax);
        record->accept(glyph);
        Graphics::setOpacity(o);
        glDisable(GL_POLYGON_OFFSET_FILL);
        if (picking)
            popSelectionName();
    }
    Graphics::setOpacity(saved);
}

#define BRENNIMORE_METRICS_VISIT(Class, Standard)                                                  \
    void MetricsVisualizerSimple::visit(Class* element) {                                          \
        if (drawElements)                                                                          \
            UMLModelVisualizerStandard::visit(static_cast<Standard*>(element));                    \
        drawMetrics(element);                                                                      \
    }
BRENNIMORE_METRICS_VISIT(UMLActor, UMLActor)
BRENNIMORE_METRICS_VISIT(UMLClass, UMLClassifier)
BRENNIMORE_METRICS_VISIT(UMLClassifierRole, UMLClassifierRole)
BRENNIMORE_METRICS_VISIT(UMLComment, UMLComment)
BRENNIMORE_METRICS_VISIT(UMLInterface, UMLInterface)
BRENNIMORE_METRICS_VISIT(UMLPackage, UMLPackage)
BRENNIMORE_METRICS_VISIT(UMLPseudostate, UMLPseudostate)
BRENNIMORE_METRICS_VISIT(UMLSimpleState, UMLSimpleState)
BRENNIMORE_METRICS_VISIT(UMLUseCase, UMLUseCase)
#undef BRENNIMORE_METRICS_VISIT

void MetricsVisualizerUnifiedSize::shrink(UMLGeometry& g) const {
    const float dx = ((g.right - g.left + 1.0f) - unifiedWidth) / 2.0f;
    const float dy = ((g.bottom - g.top + 1.0f) - unifiedHeight) / 2.0f;
    g.left += dx;
    g.right -= dx;
    g.top += dy;
    g.bottom -= dy;
}

void MetricsVisualizerUnifiedSize::draw(UMLDiagram* diagram) {
    if (!diagram || diagram->element.empty()) {
        if (!picking && recordGlyphs)
            drawnGlyphs.clear();
        currentDiagram = diagram;
        return;
    }
    unifiedWidth = diagram->bounds[2] - diagram->bounds[0] + 1.0f;
    unifiedHeight = diagram->bounds[3] - diagram->bounds[1] + 1.0f;
    for (const UMLDiagramElement* e : diagram->element) {
        if (!e || !e->subject || !isNode(e->subject) || dynamic_cast<UMLComment*>(e->subject))
            continue;
        unifiedWidth = std::min(unifiedWidth, e->geometry.right - e->geometry.left + 1.0f);
        unifiedHeight = std::min(unifiedHeight, e->geometry.bottom - e->geometry.top + 1.0f);
    }
    MetricsVisualizerSimple::draw(diagram);
}

void MetricsVisualizerUnifiedSize::drawElement(UMLDiagramElement* element) {
    if (!element)
        return;
    const UMLGeometry saved = element->geometry;
    shrink(element->geometry);
    MetricsVisualizerSimple::drawElement(element);
    element->geometry = saved;
}

bool MetricsVisualizerUnifiedSize::findGeometry(const UMLModelElement* element,
                                                UMLGeometry& out) const {
    if (!MetricsVisualizerSimple::findGeometry(element, out))
        return false;
    shrink(out);
    return true;
}

void MetricsVisualizerUnifiedMetricsSize::drawElement(UMLDiagramElement* element) {
    UMLModelVisualizer::drawElement(element);
}

bool MetricsVisualizerUnifiedMetricsSize::findGeometry(const UMLModelElement* element,
                                                       UMLGeometry& out) const {
    return UMLModelVisualizer::findGeometry(element, out);
}

void MetricsVisualizerUnifiedMetricsSize::drawMetrics(UMLModelElement* element) {
    if (geometryStack.empty())
        return;
    // The glyph area is the unified size, in the box's corner at its right and lower edges.
    UMLGeometry corner = *geometryStack.back();
    corner.left += (corner.right - corner.left + 1.0f) - unifiedWidth;
    corner.bottom -= (corner.bottom - corner.top + 1.0f) - unifiedHeight;
    geometryStack.push_back(&corner);
    MetricsVisualizerSimple::drawMetrics(element);
    geometryStack.pop_back();
}
