// Rendering cost of a large metric view against a bare-GL baseline measured in the same
// run: a class diagram of 5,000 classes with 8 shown integer metrics drawn as pies, offscreen
// at 1920 x 1080. The baseline draws the same element rectangles and the same pie fans with
// plain immediate-mode calls. Printed: the full redraw (display list compiled), the replay
// of the display list, and one hover pick (selection-mode drawing plus the replay), each as
// a ratio to the baseline; the pick also as a ratio to the full redraw.
//   render_bench [REPEAT]   best of REPEAT runs of each measurement (default 5)
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "config/Configuration.h"
#include "graphics/CanvasGL.h"
#include "graphics/CanvasViews.h"
#include "graphics/CanvasWindow.h"
#include "graphics/FontFile.h"
#include "graphics/Geometry.h"
#include "graphics/Graphics.h"
#include "graphics/OffscreenGL.h"
#include "graphics/OffscreenHost.h"
#include "metrics/MetricCollection.h"
#include "visualizers/GlyphGeometry.h"
#include "visualizers/MetricViews.h"
#include "visualizers/MetricsVisualizer.h"
#include "visualizers/VisualizerRegistry.h"
#include "xmi/XMIResult.h"

namespace {

constexpr int imageWidth = 1920;
constexpr int imageHeight = 1080;
constexpr int columns = 100;
constexpr int rows = 50; // 5,000 classes
constexpr int metricCount = 8;
constexpr float boxWidth = 120.0f;
constexpr float boxHeight = 90.0f;
constexpr float gap = 40.0f;

// The generated diagram: a grid of classes centred on the origin, each with eight integer
// metric records whose values spread over 0..1000.
struct Scene {
    XMIResult model;
    MetricCollection metrics;
    UMLDiagram* diagram = nullptr;

    Scene() {
        diagram = model.create<UMLDiagram>();
        diagram->name = "Generated";
        diagram->diagramType = "ClassDiagram";
        const float totalW = columns * (boxWidth + gap) - gap;
        const float totalH = rows * (boxHeight + gap) - gap;
        std::vector<std::string> names;
        for (int m = 0; m < metricCount; ++m) {
            names.push_back("Metric " + std::to_string(m + 1));
            metrics.ranges[names.back()] = {0, 1000};
            auto& p = metrics.properties[names.back()];
            p = std::make_unique<MetricProperties>();
            p->config().setFloat("Transparency", 1.0f);
            p->config().setFloat(".LowerThreshold", -1.0f);
            p->config().setFloat(".UpperThreshold", 1001.0f);
            p->config().setColor("FillColor", Color(0.2f + 0.1f * m, 0.5f, 0.9f - 0.1f * m, 1.0f));
            p->config().setColor("OutlineColor", Color(0.0f, 0.0f, 0.0f, 1.0f));
            metrics.activeMetrics.insert(names.back());
        }
        unsigned seed = 12345;
        for (int i = 0; i < columns * rows; ++i) {
            auto* c = model.create<UMLClass>();
            c->id = "cls." + std::to_string(i);
            c->name = "Class" + std::to_string(i);
            model.idRegistry.add(c);
            auto* e = model.create<UMLDiagramElement>();
            e->subject = c;
            const float left = -totalW / 2 + (i % columns) * (boxWidth + gap);
            const float top = -totalH / 2 + (i / columns) * (boxHeight + gap);
            e->geometry.left = left;
            e->geometry.right = left + boxWidth;
            e->geometry.top = top;
            e->geometry.bottom = top + boxHeight;
            e->style.fillColor = {1.0f, 1.0f, 0.8f, 1.0f};
            e->style.lineColor = {0.5f, 0.0f, 0.0f, 1.0f};
            diagram->element.push_back(e);
            for (const std::string& name : names) {
                auto record = std::make_unique<IntMetric>();
                record->name = name;
                seed = seed * 1103515245u + 12345u;
                record->value = static_cast<std::int32_t>((seed >> 8) % 1001);
                record->max = 1000;
                c->userData.push_back(record.get());
                metrics.add(std::move(record));
            }
        }
        diagram->bounds = {-totalW / 2, -totalH / 2, totalW / 2, totalH / 2};
        diagram->hasBounds = true;
    }
};

double bestSeconds(int repeat, const std::function<void()>& run) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        run();
        glFinish();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

// What the baseline draws: each element's box filled and outlined, each pie's fan and rim.
struct Baseline {
    struct Box {
        Point lowerLeft, upperRight;
        Color fill, line;
    };
    struct Fan {
        Point centre;
        std::vector<Point> rim;
        Color fill, line;
    };
    std::vector<Box> boxes;
    std::vector<Fan> fans;

    void draw(const Matrix4& projection, const Matrix4& modelView, int w, int h) const {
        glViewport(0, 0, w, h);
        glScissor(0, 0, w, h);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(modelView.data());
        for (const Box& b : boxes) {
            glColor4f(b.fill.r, b.fill.g, b.fill.b, b.fill.a * 0.75f);
            glBegin(GL_QUADS);
            glVertex2f(b.lowerLeft.x, b.lowerLeft.y);
            glVertex2f(b.upperRight.x, b.lowerLeft.y);
            glVertex2f(b.upperRight.x, b.upperRight.y);
            glVertex2f(b.lowerLeft.x, b.upperRight.y);
            glEnd();
            glColor4f(b.line.r, b.line.g, b.line.b, b.line.a * 0.75f);
            glBegin(GL_LINE_LOOP);
            glVertex2f(b.lowerLeft.x, b.lowerLeft.y);
            glVertex2f(b.upperRight.x, b.lowerLeft.y);
            glVertex2f(b.upperRight.x, b.upperRight.y);
            glVertex2f(b.lowerLeft.x, b.upperRight.y);
            glEnd();
        }
        for (const Fan& f : fans) {
            glColor4f(f.fill.r, f.fill.g, f.fill.b, f.fill.a * 0.5f);
            glBegin(GL_TRIANGLE_FAN);
            glVertex2f(f.centre.x, f.centre.y);
            for (const Point& p : f.rim)
                glVertex2f(p.x, p.y);
            glEnd();
            glColor4f(f.line.r, f.line.g, f.line.b, f.line.a * 0.5f);
            glBegin(GL_LINE_STRIP);
            for (const Point& p : f.rim)
                glVertex2f(p.x, p.y);
            glEnd();
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    const int repeat = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    try {
        OffscreenGL gl(imageWidth, imageHeight, false);
        setFixedGLState();
        const std::string font = findFontFile();
        Graphics::addFont("Arial", font.empty() ? "arial.ttf" : font, 18);

        Scene scene;
        GlyphRegistry glyphs = makeGlyphRegistry();
        assignDefaultGlyphs(scene.metrics, glyphs);
        VisualizerRegistry registry = makeVisualizerRegistry();
        setRegistryMetrics(registry, &scene.metrics);
        auto* visualizer = registry.at("Simple Metrics").get();
        auto* metricView = dynamic_cast<MetricsVisualizer*>(visualizer);

        OffscreenHost host(gl);
        CanvasViews views(imageWidth, imageHeight, &host);
        installMetricViewHooks(views);
        views.setVisualizer(visualizer);
        metricView->recordGlyphs = true;
        views.setDiagram(scene.diagram);
        CanvasWindow* view = views.activeView();
        metricView->recordGlyphs = false;

        // The baseline's shapes, computed once from what the view drew.
        Baseline baseline;
        for (const UMLDiagramElement* e : scene.diagram->element) {
            const UMLGeometry& g = e->geometry;
            const auto& f = e->style.fillColor;
            const auto& l = e->style.lineColor;
            baseline.boxes.push_back({Point(g.left, g.top), Point(g.right, g.bottom),
                                      Color(f[0], f[1], f[2], f[3]),
                                      Color(l[0], l[1], l[2], l[3])});
        }
        for (const DrawnGlyph& d : metricView->drawnGlyphs) {
            auto* element = dynamic_cast<UMLModelElement*>(scene.model.find(d.element));
            const IntMetric* record = nullptr;
            for (ElementMetric* m : getElementMetrics(*element))
                if (m->name == d.metric)
                    record = dynamic_cast<IntMetric*>(m);
            MetricProperties& p = *scene.metrics.properties.at(d.metric);
            const Point r =
                glyphRadii(d.upperRight.x - d.lowerLeft.x, d.upperRight.y - d.lowerLeft.y, true);
            const Point c((d.lowerLeft.x + d.upperRight.x) / 2,
                          (d.lowerLeft.y + d.upperRight.y) / 2);
            const float sweep = pieSweep(record->value, record->min, record->max, 0.7853982f);
            baseline.fans.push_back({c, ellipsePoints(c, r.x, r.y, 0.0f, sweep, -3, true),
                                     p.config().getColor("FillColor"),
                                     p.config().getColor("OutlineColor")});
        }
        const Matrix4 projection = view->projectionMatrix(0);
        const Matrix4 modelView = view->modelViewMatrix(0);

        const double base = bestSeconds(
            repeat, [&] { baseline.draw(projection, modelView, imageWidth, imageHeight); });
        const double full = bestSeconds(repeat, [&] { view->render(false); });
        const double replay = bestSeconds(repeat, [&] { view->render(true); });
        // The pointer over the middle class: a pick in selection mode, the hover box, and
        // the replay that shows it.
        MouseEvent motion;
        motion.kind = MouseEvent::Kind::Motion;
        motion.x = imageWidth / 2 + 5;
        motion.y = imageHeight / 2 + 5;
        int shift = 0;
        const double pick = bestSeconds(repeat, [&] {
            motion.x += (shift++ % 2); // a fresh pick each time, as the pointer moves
            views.onMouse(motion);
        });

        std::printf("render_bench: %d classes, %d pies, %dx%d, best of %d\n", columns * rows,
                    static_cast<int>(baseline.fans.size()), imageWidth, imageHeight, repeat);
        std::printf("  bare-GL baseline          %8.2f ms\n", base * 1e3);
        std::printf("  full redraw (compile)     %8.2f ms   %6.2fx baseline (aim 3x)\n", full * 1e3,
                    full / base);
        std::printf("  display-list replay       %8.2f ms   %6.2fx baseline (aim 1.2x)\n",
                    replay * 1e3, replay / base);
        std::printf("  hover pick                %8.2f ms   %6.2fx baseline, %.2fx full redraw "
                    "(aim 2x)\n",
                    pick * 1e3, pick / base, pick / full);
        std::printf("  hover box: %s\n", view->hoverBox ? "shown" : "none");
    } catch (const Exception& e) {
        std::fprintf(stderr, "render_bench: %s\n", e.getMessage().c_str());
        return 1;
    }
    return 0;
}
