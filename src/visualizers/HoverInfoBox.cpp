#include "visualizers/HoverInfoBox.h"

#include <algorithm>

#include <boost/format.hpp>

#include "config/Configuration.h"
#include "graphics/Graphics.h"

namespace {

struct Extent {
    float width = 0.0f;
    float height = 0.0f;
};

Extent measure(const std::vector<std::string>& lines, float size) {
    Extent e;
    for (const std::string& line : lines) {
        float w = 0.0f, h = 0.0f;
        Graphics::textSize(line, size, w, h);
        e.width = std::max(e.width, w);
        e.height = std::max(e.height, h);
    }
    return e;
}

// The box, its separator under the first line, and the lines, in the given colours.
void drawBox(float x, float y, const std::vector<std::string>& lines, const Extent& e,
             const char* fillKey, const char* outlineKey) {
    const float sp = globalConfiguration.getFloat("HoverInfo.Spacing");
    const float f = globalConfiguration.getFloat("HoverInfo.FontSize");
    const auto n = static_cast<float>(lines.size());
    const float bh = n * e.height + (n + 1.0f) * sp;
    const float right = x + e.width + 2.0f * sp;
    Graphics::rectFill(Point(x, y - bh), Point(right, y), globalConfiguration.getColor(fillKey));
    Graphics::rectOutline(Point(x, y - bh), Point(right, y),
                          globalConfiguration.getColor(outlineKey));
    const float separator = y - e.height - 1.5f * sp;
    Graphics::drawLine(Point(x, separator), Point(right, separator),
                       globalConfiguration.getColor("HoverInfo.Bool.OutlineColor"));
    for (std::size_t i = 0; i < lines.size(); ++i)
        Graphics::drawText(lines[i], Point(x + sp, y - static_cast<float>(i + 1) * (e.height + sp)),
                           f, 0, Color(0, 0, 0, 1));
}

void drawBox(float x, float y, const std::vector<std::string>& lines, const char* fillKey,
             const char* outlineKey) {
    drawBox(x, y, lines, measure(lines, globalConfiguration.getFloat("HoverInfo.FontSize")),
            fillKey, outlineKey);
}

} // namespace

void MetricHoverInfoBox::draw() {
    if (metric)
        metric->accept(*this);
}

void MetricHoverInfoBox::visit(IntMetric& m) {
    drawBox(x, y, metricHoverLines(m), "HoverInfo.Int.FillColor", "HoverInfo.Int.OutlineColor");
}

void MetricHoverInfoBox::visit(BoolMetric& m) {
    drawBox(x, y, metricHoverLines(m), "HoverInfo.Bool.FillColor", "HoverInfo.Bool.OutlineColor");
}

std::vector<std::string> MetricHoverInfoBox::lines() const {
    return metric ? metricHoverLines(*metric) : std::vector<std::string>{};
}

std::vector<std::string> metricHoverLines(const ElementMetric& metric) {
    if (auto* i = dynamic_cast<const IntMetric*>(&metric))
        return {i->name, (boost::format("Value: %d") % i->value).str(),
                (boost::format("Global min/max: %d / %d") % i->min % i->max).str()};
    if (auto* b = dynamic_cast<const BoolMetric*>(&metric))
        return {b->name, (boost::format("Value: %s") % (b->value ? "true" : "false")).str()};
    return {metric.name};
}

void UMLModelElementHoverInfoBox::draw() {
    if (element)
        element->accept(*this);
}

std::vector<std::string> elementHoverLines(const UMLModelElement& element, float th, float sp,
                                           float maxHeight) {
    std::vector<std::string> lines;
    lines.push_back(element.name.empty() ? "<unnamed element>" : element.name);
    const std::vector<ElementMetric*> records = getElementMetrics(element);
    lines.push_back(records.empty() ? "No metrics defined" : "Metrics defined:");
    for (const ElementMetric* r : records)
        lines.push_back(r->name);
    // n counts the lines after the title; the title, the header and one more always stay.
    std::size_t n = lines.size() - 1;
    float bh = static_cast<float>(n + 1) * th + static_cast<float>(n + 2) * sp;
    while (bh > maxHeight && n >= 3) {
        lines.pop_back();
        lines.back() = "...";
        --n;
        bh -= th + sp;
    }
    return lines;
}

void UMLModelElementHoverInfoBox::visit(UMLModelElement* e) {
    if (!e)
        return;
    const float f = globalConfiguration.getFloat("HoverInfo.FontSize");
    // The box is measured over every line, before the cut to the room below the anchor.
    const Extent full = measure(elementHoverLines(*e, 0.0f, 0.0f, 1e30f), f);
    drawBox(x, y, cutLines(*e, full.height), full, "HoverInfo.ModelElement.FillColor",
            "HoverInfo.ModelElement.OutlineColor");
}

std::vector<std::string> UMLModelElementHoverInfoBox::cutLines(const UMLModelElement& e,
                                                               float lineHeight) const {
    return elementHoverLines(e, lineHeight, globalConfiguration.getFloat("HoverInfo.Spacing"),
                             maxHeight);
}

std::vector<std::string> UMLModelElementHoverInfoBox::lines() const {
    if (!element)
        return {};
    const float f = globalConfiguration.getFloat("HoverInfo.FontSize");
    return cutLines(*element, measure(elementHoverLines(*element, 0.0f, 0.0f, 1e30f), f).height);
}
