#include "export/Export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include <GL/gl.h>
#include <GL/glext.h>

#include "common/Exception.h"
#include "common/FileNames.h"
#include "common/Numbers.h"
#include "config/Configuration.h"
#include "export/ExportLoad.h"
#include "export/ImageBoxes.h"
#include "graphics/CanvasGL.h"
#include "graphics/CanvasViews.h"
#include "graphics/CanvasWindow.h"
#include "graphics/FontFile.h"
#include "graphics/Framebuffer.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFile.h"
#include "graphics/OffscreenGL.h"
#include "graphics/OffscreenHost.h"
#include "graphics/SceneExport.h"
#include "metrics/MetricCollection.h"
#include "visualizers/ConfigurationFile.h"
#include "visualizers/MetricViews.h"
#include "visualizers/MetricsVisualizer.h"
#include "visualizers/UMLElementSelection.h"
#include "visualizers/VisualizerRegistry.h"
#include "xmi/XMIParser.h"

using Json = nlohmann::ordered_json;

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

template <class Names> std::string nameList(const Names& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + quoted(name);
    return list;
}

// The image size the output can take; no output is held to the raster limit.
void checkImageSize(const ExportOptions& options) {
    const ImageSize size = options.size;
    ImageType type = imageTypeOf(options.output);
    if (type == ImageType::Unknown)
        type = ImageType::Png;
    std::string problem = imageSizeProblem(type, size.width, size.height);
    if (problem.empty() && isVectorImage(type)) {
        int limit = 0;
        try {
            OffscreenGL probe(1, 1, false);
            limit = Framebuffer::largestSide();
        } catch (const GraphicsException&) {
            return; // the renderer's failure is reported when the image is made
        }
        if (size.width > limit || size.height > limit)
            problem = "larger than the renderer's limit of " + std::to_string(limit) +
                      " pixels per side for a vector image";
    }
    if (!problem.empty())
        throw UsageError("--size " + std::to_string(size.width) + "x" +
                         std::to_string(size.height) + ": " + problem);
}

UMLDiagram* findDiagram(const XMIResult& model, const std::string& nameOrId) {
    if (nameOrId.empty()) {
        for (UMLDiagram* d : model.diagrams)
            if (d && !d->element.empty())
                return d;
        return nullptr;
    }
    for (UMLDiagram* d : model.diagrams)
        if (d && d->name == nameOrId)
            return d;
    for (UMLDiagram* d : model.diagrams)
        if (d && d->id == nameOrId)
            return d;
    std::vector<std::string> names;
    for (const UMLDiagram* d : model.diagrams)
        if (d)
            names.push_back(d->name);
    throw UsageError("--diagram " + quoted(nameOrId) + ": no diagram of that name or id" +
                     (names.empty() ? std::string(" (the model has none)")
                                    : "; the model has " + nameList(names)));
}

UMLModelVisualizer* findVisualizer(const VisualizerRegistry& registry, const std::string& name) {
    if (name.empty())
        return defaultVisualizer(registry);
    auto found = registry.find(name);
    if (found != registry.end())
        return found->second.get();
    std::vector<std::string> names;
    for (const auto& entry : registry)
        names.push_back(entry.first);
    throw UsageError("--visualizer " + quoted(name) + ": no such visualizer; known are " +
                     nameList(names));
}

MetricCollection& requireMetric(MetricCollection* metrics, const std::string& option,
                                const std::string& name) {
    if (!metrics)
        throw UsageError(option + " " + quoted(name) + ": no metrics are loaded");
    auto found = metrics->properties.find(name);
    if (found == metrics->properties.end() || !found->second) {
        std::vector<std::string> names;
        for (const auto& entry : metrics->properties)
            names.push_back(entry.first);
        throw UsageError(option + " " + quoted(name) + ": no such metric; the metrics are " +
                         nameList(names));
    }
    return *metrics;
}

void applyGlyphChoices(const ExportOptions& options, MetricCollection* metrics,
                       const GlyphRegistry& glyphs) {
    for (const auto& [metric, glyphName] : options.glyphs) {
        MetricCollection& m = requireMetric(metrics, "--glyph", metric);
        MetricViz* glyph = findGlyph(glyphs, glyphName);
        if (!glyph) {
            std::vector<std::string> names;
            for (const auto& g : glyphs)
                names.push_back(g->getName());
            throw UsageError("--glyph " + quoted(metric + "=" + glyphName) +
                             ": no such glyph; known are " + nameList(names));
        }
        if (!setMetricGlyph(m, metric, glyph))
            throw UsageError("--glyph " + quoted(metric + "=" + glyphName) + ": " +
                             quoted(glyphName) + " does not draw " +
                             (m.isBoolMetric(metric) ? "boolean" : "integer") + " metrics");
    }
}

std::vector<UMLModelElement*> findSelected(const XMIResult& model,
                                           const std::vector<std::string>& ids) {
    std::vector<UMLModelElement*> elements;
    for (const std::string& id : ids) {
        auto* element = dynamic_cast<UMLModelElement*>(model.find(id));
        if (!element)
            throw UsageError("--select " + quoted(id) + ": no model element has that id");
        elements.push_back(element);
    }
    return elements;
}

Json floats(std::initializer_list<float> values) {
    Json out = Json::array();
    for (float v : values)
        out.push_back(exportFloat(v));
    return out;
}

Json imageBox(const std::optional<std::array<float, 4>>& box) {
    return box ? floats({(*box)[0], (*box)[1], (*box)[2], (*box)[3]}) : Json(nullptr);
}

// The element of the view's diagram that carries the metric record.
const UMLModelElement* carrierOf(const CanvasWindow& view, const ElementMetric* metric) {
    if (!view.diagram)
        return nullptr;
    for (const UMLDiagramElement* e : view.diagram->element) {
        if (!e || !e->subject)
            continue;
        const auto& data = e->subject->userData;
        if (std::find(data.begin(), data.end(), metric) != data.end())
            return e->subject;
    }
    return nullptr;
}

Json describeView(const CanvasWindow& view, bool active, const VisualizerRegistry& registry,
                  int imageHeight) {
    Json out = Json::object();
    const PixelRect rect = view.rect();
    out["rect"] = {rect.x, rect.y, rect.width, rect.height};
    out["active"] = active;
    out["diagram"] = view.diagram ? Json(view.diagram->name) : Json(nullptr);
    out["visualizer"] =
        view.visualizer ? Json(visualizerName(registry, view.visualizer)) : Json(nullptr);
    out["zoom"] = exportFloat(view.zoom);
    out["pan"] = floats({view.pan[0], view.pan[1]});
    out["rotation"] = floats({view.rotation[0], view.rotation[1]});
    out["perspective"] = view.perspective;
    out["stereo"] = view.stereo;

    const Matrix4 projection = view.projectionMatrix(0);
    const Matrix4 modelView = view.modelViewMatrix(0);
    Json& elements = out["elements"] = Json::array();
    if (view.diagram) {
        for (const UMLDiagramElement* e : view.diagram->element) {
            if (!e || !e->subject)
                continue;
            const UMLGeometry& g = e->geometry;
            elements.push_back(
                {{"id", e->subject->id},
                 {"class", umlClassName(e->subject)},
                 {"box", imageBox(projectRectToImage(projection, modelView, rect, imageHeight,
                                                     g.left, g.top, g.right, g.bottom))}});
        }
    }

    Json& glyphs = out["glyphs"] = Json::array();
    out["legend"] = nullptr;
    const auto* metricView = dynamic_cast<const MetricsVisualizer*>(view.visualizer);
    if (!metricView)
        return out;
    if (view.diagram) {
        for (const DrawnGlyph& g : metricView->drawnGlyphs)
            glyphs.push_back({{"element", g.element},
                              {"metric", g.metric},
                              {"glyph", g.glyph},
                              {"cell", imageBox(projectRectToImage(
                                           projection, modelView, rect, imageHeight, g.lowerLeft.x,
                                           g.lowerLeft.y, g.upperRight.x, g.upperRight.y))}});
    }
    Point lowerLeft, upperRight;
    if (metricView->legendBox(rect.width, rect.height, lowerLeft, upperRight)) {
        // View pixels have their origin at the view's lower-left corner.
        const auto left = static_cast<float>(rect.x);
        const auto top = static_cast<float>(imageHeight - rect.y);
        Json names = Json::array();
        for (const std::string& name : metricView->metrics->activeMetrics)
            names.push_back(name);
        out["legend"] = {{"box", floats({left + lowerLeft.x, top - upperRight.y,
                                         left + upperRight.x, top - lowerLeft.y})},
                         {"names", std::move(names)}};
    }
    return out;
}

Json describeHits(const CanvasWindow& view,
                  const std::vector<std::unique_ptr<SelectionElement>>& hits) {
    Json out = Json::array();
    for (const auto& hit : hits) {
        if (auto* e = dynamic_cast<const UMLModelSelectionElement*>(hit.get())) {
            if (e->element)
                out.push_back({{"kind", "element"},
                               {"id", e->element->id},
                               {"class", umlClassName(e->element)}});
        } else if (auto* m = dynamic_cast<const MetricSelectionElement*>(hit.get())) {
            if (!m->metric)
                continue;
            const UMLModelElement* carrier = carrierOf(view, m->metric);
            out.push_back({{"kind", "metric"},
                           {"element", carrier ? Json(carrier->id) : Json(nullptr)},
                           {"metric", m->metric->name}});
        }
    }
    return out;
}

MouseEvent pointerEvent(MouseEvent::Kind kind, const PixelPoint& at, bool leftDown) {
    MouseEvent e;
    e.kind = kind;
    e.x = at.x;
    e.y = at.y;
    e.leftIsDown = leftDown;
    return e;
}

void finish(Json& out, const MessageCollector& recorder, int code) {
    Json& messages = out["messages"];
    for (const ShownMessage& m : recorder.messages)
        messages.push_back({{"caption", m.caption}, {"text", m.text}});
    if (code != ExportOk && out["error"].is_null() && !recorder.messages.empty())
        out["error"] = recorder.messages.back().text;
}

} // namespace

Json exportFloat(float value) {
    if (!std::isfinite(value))
        return nullptr;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return parseCDouble(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

int runExport(const ExportOptions& options, Json& out) {
    const ImageSize size = options.size;
    checkImageSize(options);
    out = Json::object();
    out["file"] = options.modelFile;
    out["error"] = nullptr;
    out["messages"] = Json::array();
    out["size"] = {size.width, size.height};
    out["views"] = Json::array();

    MessageCollector recorder;
    XmlParserSession parserLibrary;
    LoadedModel loaded;
    loadModelFile(options.modelFile, loaded);
    if (!loaded.model) {
        if (recorder.messages.empty())
            out["error"] = "The model could not be loaded";
        finish(out, recorder, ExportFailed);
        return ExportFailed;
    }
    // A metrics file asked for by name must load; the one beside the model comes along as
    // the program takes it, with its failure shown but not fatal.
    if (!options.metricsFile.empty()) {
        if (!loadMetricsInto(options.metricsFile, loaded)) {
            finish(out, recorder, ExportFailed);
            return ExportFailed;
        }
    } else if (const std::string beside = companionMetricsFile(options.modelFile);
               !beside.empty()) {
        loadMetricsInto(beside, loaded);
    }

    MetricCollection* metrics = loaded.currentMetrics();
    GlyphRegistry glyphs = makeGlyphRegistry();
    if (metrics)
        assignDefaultGlyphs(*metrics, glyphs);
    for (const std::string& name : options.show)
        requireMetric(metrics, "--show", name);

    VisualizerRegistry registry = makeVisualizerRegistry();
    setRegistryMetrics(registry, metrics);
    UMLModelVisualizer* visualizer = findVisualizer(registry, options.visualizer);
    for (const auto& entry : registry) {
        if (auto* m = dynamic_cast<MetricsVisualizer*>(entry.second.get())) {
            m->rows = options.rows;
            m->recordGlyphs = true;
        }
    }
    UMLDiagram* diagram = findDiagram(*loaded.model, options.diagram);
    const std::vector<UMLModelElement*> selected = findSelected(*loaded.model, options.select);

    std::unique_ptr<OffscreenGL> gl;
    try {
        // Images are drawn into framebuffer objects of their own; the context's surface
        // only has to exist.
        gl = std::make_unique<OffscreenGL>(1, 1, false);
        setFixedGLState();
        const std::string font = findFontFile();
        Graphics::addFont("Arial", font.empty() ? "arial.ttf" : font, 18);
    } catch (const GraphicsException& e) {
        out["error"] = e.getMessage();
        finish(out, recorder, ExportFailed);
        return ExportFailed;
    }

    OffscreenHost host(*gl);
    UMLSelectionList selection;
    int code = ExportOk;
    {
        CanvasViews views(size.width, size.height, &host);
        installMetricViewHooks(views);
        views.setSelectionList(&selection);
        views.setVisualizer(visualizer);
        // A configuration file is applied as the program applies it at start-up; what the
        // command line asks for explicitly goes over it.
        bool layoutRead = false;
        if (!options.configFile.empty()) {
            ConfigurationTargets targets;
            targets.views = &views;
            targets.model = loaded.model.get();
            targets.metrics = metrics;
            targets.glyphs = &glyphs;
            const ConfigurationFileStatus status =
                loadConfigurationFile(options.configFile, targets);
            if (!status.ok) {
                out["error"] = status.error;
                gl->makeCurrent();
                finish(out, recorder, ExportFailed);
                return ExportFailed;
            }
            layoutRead = status.read.layout;
        }
        applyGlyphChoices(options, metrics, glyphs);
        if (metrics && !options.show.empty())
            metrics->activeMetrics = {options.show.begin(), options.show.end()};
        if (options.legend)
            globalConfiguration.setBool("Visualizer.General.Legend.Enable", *options.legend);
        if (!layoutRead || !options.diagram.empty())
            views.setDiagram(diagram);
        CanvasWindow* view = views.activeView();
        if (options.camera) {
            view->zoom = clampZoom(options.camera->zoom);
            view->pan = options.camera->pan;
            view->rotation = options.camera->rotation;
        }
        if (!layoutRead || options.orthographic)
            view->perspective = !options.orthographic;
        if (!layoutRead || options.stereo)
            view->stereo = options.stereo;
        for (UMLModelElement* element : selected)
            selection.selectElement(element);

        Json pick;
        if (options.pick) {
            // A press selects as a click would; the motion after it leaves the hover box
            // that the image shows.
            const PixelPoint at = *options.pick;
            views.onMouse(pointerEvent(MouseEvent::Kind::LeftDown, at, true));
            views.onMouse(pointerEvent(MouseEvent::Kind::LeftUp, at, false));
            views.onMouse(pointerEvent(MouseEvent::Kind::Motion, at, false));
            pick["at"] = {at.x, at.y};
            pick["hits"] = describeHits(*view, view->pick(at.x, at.y, size.height));
            Json hover = Json::array();
            if (view->hoverBox)
                for (const std::string& line : view->hoverBox->lines())
                    hover.push_back(line);
            pick["hover"] = std::move(hover);
        }

        if (!options.output.empty()) {
            SceneExportOptions image;
            image.frames = options.frames;
            image.tileSide = options.tileSide;
            const std::string failure = exportScene(views, options.output, image);
            if (!failure.empty()) {
                out["error"] = failure;
                code = ExportFailed;
            }
        }

        // Views share their visualizer, which lists the glyphs of its last drawing only:
        // each view is drawn once more on its own and described right after.
        for (CanvasWindow* v : views.views()) {
            v->render(false);
            out["views"].push_back(
                describeView(*v, v == views.activeView(), registry, size.height));
        }
        if (options.pick)
            out["pick"] = std::move(pick);
        // The views and their display lists go while the context is current.
        gl->makeCurrent();
    }
    finish(out, recorder, code);
    return code;
}
