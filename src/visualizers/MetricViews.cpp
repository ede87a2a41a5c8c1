#include "visualizers/MetricViews.h"

#include "graphics/CanvasViews.h"
#include "metrics/MetricCollection.h"
#include "visualizers/HoverInfoBox.h"
#include "visualizers/MetricsVisualizer.h"
#include "visualizers/SelectionElement.h"

namespace {

bool accepts(const MetricViz& glyph, const MetricCollection& metrics, const std::string& name) {
    return (metrics.isIntMetric(name) && glyph.acceptsInt()) ||
           (metrics.isBoolMetric(name) && glyph.acceptsBool());
}

} // namespace

void assignDefaultGlyphs(MetricCollection& metrics, const GlyphRegistry& glyphs) {
    for (auto& [name, properties] : metrics.properties) {
        if (!properties)
            continue;
        for (const auto& glyph : glyphs) {
            if (!accepts(*glyph, metrics, name))
                continue;
            glyph->attachAndSetDefaults(&properties->config());
            if (!properties->viz)
                properties->viz = glyph.get();
        }
    }
}

bool setMetricGlyph(MetricCollection& metrics, const std::string& metric, MetricViz* glyph) {
    auto found = metrics.properties.find(metric);
    if (!glyph || found == metrics.properties.end() || !found->second ||
        !accepts(*glyph, metrics, metric))
        return false;
    found->second->viz = glyph;
    return true;
}

void installMetricViewHooks(CanvasViews& views) {
    views.hooks.picksOnHover = [](UMLModelVisualizer* v) {
        return dynamic_cast<MetricsVisualizer*>(v) != nullptr;
    };
    views.hooks.makeHoverBox = [](UMLModelVisualizer*,
                                  const std::vector<std::unique_ptr<SelectionElement>>& hits)
        -> std::unique_ptr<HoverInfoBox> {
        for (const auto& hit : hits)
            if (auto* m = dynamic_cast<MetricSelectionElement*>(hit.get()))
                return std::make_unique<MetricHoverInfoBox>(0.0f, 0.0f, 0.0f, m->metric);
        for (const auto& hit : hits)
            if (auto* e = dynamic_cast<UMLModelSelectionElement*>(hit.get()))
                return std::make_unique<UMLModelElementHoverInfoBox>(0.0f, 0.0f, 0.0f, e->element);
        return nullptr;
    };
    views.hooks.drawLegend = [](UMLModelVisualizer* v, int width, int height) {
        if (auto* m = dynamic_cast<MetricsVisualizer*>(v))
            m->drawLegend(width, height);
    };
}
