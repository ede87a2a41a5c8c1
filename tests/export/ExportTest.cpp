// brennimore-export end to end on the example model: the description agrees with the camera,
// the diagram's geometry and the glyph layout, the image shows what the description says,
// unusable requests exit 2, and a real file of another tool's diagram form draws in place.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "common/TestSupport.h"
#include "config/Configuration.h"
#include "export/ExportLoad.h"
#include "export/ExportOptions.h"
#include "graphics/ViewGeometry.h"
#include "metrics/MetricsReader.h"
#include "visualizers/MetricViews.h"
#include "visualizers/MetricsVisualizer.h"
#include "xmi/XMIParser.h"

namespace {

using Json = nlohmann::ordered_json;

const std::string exampleFile = std::string(BRENNIMORE_SOURCE_DIR) + "/examples/webshop.xmi";

struct ExportRun {
    int code = -1;
    Json out;
};

ExportRun runExport(const std::string& arguments) {
    const std::string command =
        std::string(BRENNIMORE_BIN_DIR) + "/brennimore-export " + arguments + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        text.append(buffer, n);
    const int status = pclose(pipe.release());
    ExportRun run;
    run.code = WEXITSTATUS(status);
    if (!text.empty())
        run.out = Json::parse(text, nullptr, false);
    return run;
}

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

struct Pixel {
    int r, g, b;
};

class Png {
public:
    explicit Png(const std::string& path) {
        data_ = stbi_load(path.c_str(), &width_, &height_, &channels_, 3);
    }
    ~Png() { stbi_image_free(data_); }
    Png(const Png&) = delete;
    Png& operator=(const Png&) = delete;
    bool ok() const { return data_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Column and row from the top-left corner.
    Pixel at(float x, float y) const {
        const int c = static_cast<int>(x);
        const int r = static_cast<int>(y);
        const unsigned char* p = data_ + (static_cast<size_t>(r) * width_ + c) * 3;
        return {p[0], p[1], p[2]};
    }

private:
    unsigned char* data_ = nullptr;
    int width_ = 0, height_ = 0, channels_ = 0;
};

// The example as the export loads it, for the geometry and the metric properties.
struct ExampleModel {
    ExampleModel() {
        nextPaletteIndex = 0; // the export's process starts the palette afresh
        loadModelFile(exampleFile, loaded);
        if (loaded.model)
            loadMetricsInto(besideMetricsFile(exampleFile), loaded);
        if (loaded.currentMetrics())
            assignDefaultGlyphs(*loaded.currentMetrics(), glyphs);
    }
    UMLDiagram* diagram(const std::string& name) const {
        for (UMLDiagram* d : loaded.model->diagrams)
            if (d->name == name)
                return d;
        return nullptr;
    }
    const UMLDiagramElement* shown(const UMLDiagram& d, const std::string& id) const {
        for (const UMLDiagramElement* e : d.element)
            if (e->subject && e->subject->id == id)
                return e;
        return nullptr;
    }

    MessageCollector messages;
    XmlParserSession parser;
    GlyphRegistry glyphs = makeGlyphRegistry();
    LoadedModel loaded;
};

// A diagram point in image pixels for a camera without rotation: the pan point at the image
// centre, zoom pixels per unit, y down.
std::array<float, 2> imagePoint(int w, int h, float zoom, float panX, float panY, float x,
                                float y) {
    return {w / 2.0f + (x - panX) * zoom, h / 2.0f - (y - panY) * zoom};
}

// How far along from `from` to `to` the pixel lies, when it lies on that line within a few
// levels; -1 otherwise.
float blendAlong(const Pixel& p, const Pixel& from, const std::array<float, 3>& to) {
    const float channels[3][3] = {{float(p.r), float(from.r), to[0] * 255.0f},
                                  {float(p.g), float(from.g), to[1] * 255.0f},
                                  {float(p.b), float(from.b), to[2] * 255.0f}};
    int widest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(channels[i][2] - channels[i][1]) >
            std::fabs(channels[widest][2] - channels[widest][1]))
            widest = i;
    const float span = channels[widest][2] - channels[widest][1];
    if (std::fabs(span) < 30.0f)
        return -1.0f;
    const float a = (channels[widest][0] - channels[widest][1]) / span;
    for (const auto& c : channels)
        if (std::fabs(c[1] + a * (c[2] - c[1]) - c[0]) > 4.0f)
            return -1.0f;
    return a;
}

} // namespace

TEST(ExportOptions, ReadsValuesAndRejectsUnusableOnes) {
    const ImageSize size = parseImageSize("8192x16");
    EXPECT_EQ(size.width, 8192);
    EXPECT_EQ(size.height, 16);
    const CameraSetting c = parseCamera("2.5,-10,4,90,-15");
    EXPECT_EQ(c.zoom, 2.5f);
    EXPECT_EQ(c.pan, (std::array<float, 2>{-10.0f, 4.0f}));
    EXPECT_EQ(c.rotation, (std::array<float, 2>{90.0f, -15.0f}));
    EXPECT_EQ(parseGlyphChoice("Lines of code=2D Pie"),
              (std::pair<std::string, std::string>{"Lines of code", "2D Pie"}));
    EXPECT_EQ(parseRows("-1"), -1);

    for (const char* bad :
         {"0x10", "10x0", "-5x10", "10", "axb", "10x10x", "1.5x2", "99999999999x1"})
        EXPECT_THROW(parseImageSize(bad), UsageError) << bad;
    for (const char* bad :
         {"0,0,0,0,0", "-1,0,0,0,0", "1,0,0,0", "nan,0,0,0,0", "1,inf,0,0,0", "1,0,0,0,1e39"})
        EXPECT_THROW(parseCamera(bad), UsageError) << bad;
    for (const char* bad : {"1", "1,2,3", "a,2", "1.5,2"})
        EXPECT_THROW(parsePixelPoint(bad), UsageError) << bad;
    for (const char* bad : {"0", "-2", "x"})
        EXPECT_THROW(parseRows(bad), UsageError) << bad;
    EXPECT_THROW(parseGlyphChoice("=2D Pie"), UsageError);
    EXPECT_THROW(splitList("a,,b", "--show"), UsageError);
}

TEST(ExportEndToEnd, ElementBoxesFollowTheCameraAndTheDiagramGeometry) {
    ExampleModel model;
    ASSERT_TRUE(model.loaded.model);
    const UMLDiagram* shop = model.diagram("Shop Overview");
    ASSERT_TRUE(shop);
    const auto& b = shop->bounds;
    const float fit = fitZoom(1024, 768, b[2] - b[0], b[3] - b[1]);
    struct Case {
        const char* arguments;
        int width, height;
        float zoom, panX, panY;
        bool perspective;
    };
    // The first is the default view: the first diagram with elements, fitted, perspective on.
    for (const Case& c :
         {Case{"", 1024, 768, fit, 0, 0, true},
          Case{"--orthographic --camera 2,10,-5,0,0 -s 800x600", 800, 600, 2, 10, -5, false},
          Case{"-d dia.Classes --camera 0.5,100,50,0,0 -s 640x480", 640, 480, 0.5f, 100, 50,
               true}}) {
        SCOPED_TRACE(c.arguments);
        const ExportRun run = runExport(exampleFile + " " + c.arguments);
        ASSERT_EQ(run.code, 0);
        EXPECT_EQ(keysOf(run.out),
                  (std::vector<std::string>{"file", "error", "messages", "size", "views"}));
        EXPECT_EQ(run.out["size"], Json::array({c.width, c.height}));
        ASSERT_EQ(run.out["views"].size(), 1u);
        const Json& view = run.out["views"][0];
        EXPECT_EQ(keysOf(view),
                  (std::vector<std::string>{"rect", "active", "diagram", "visualizer", "zoom",
                                            "pan", "rotation", "perspective", "stereo", "elements",
                                            "glyphs", "legend"}));
        EXPECT_EQ(view["rect"], Json::array({0, 0, c.width, c.height}));
        EXPECT_EQ(view["diagram"], "Shop Overview");
        EXPECT_EQ(view["visualizer"], "Simple Metrics");
        EXPECT_FLOAT_EQ(view["zoom"].get<float>(), c.zoom);
        EXPECT_EQ(view["perspective"], c.perspective);

        // Every element with a subject, in drawing order, where the camera puts its box.
        const Json& elements = view["elements"];
        size_t i = 0;
        for (const UMLDiagramElement* e : shop->element) {
            if (!e->subject)
                continue;
            ASSERT_LT(i, elements.size());
            const Json& entry = elements[i++];
            EXPECT_EQ(entry["id"], e->subject->id);
            EXPECT_EQ(entry["class"], umlClassName(e->subject));
            const auto& g = e->geometry;
            const auto upperLeft =
                imagePoint(c.width, c.height, c.zoom, c.panX, c.panY, g.left, g.bottom);
            const auto lowerRight =
                imagePoint(c.width, c.height, c.zoom, c.panX, c.panY, g.right, g.top);
            const Json& box = entry["box"];
            EXPECT_NEAR(box[0].get<float>(), upperLeft[0], 0.02f);
            EXPECT_NEAR(box[1].get<float>(), upperLeft[1], 0.02f);
            EXPECT_NEAR(box[2].get<float>(), lowerRight[0], 0.02f);
            EXPECT_NEAR(box[3].get<float>(), lowerRight[1], 0.02f);
            EXPECT_LT(box[0], box[2]);
            EXPECT_LT(box[1], box[3]);
        }
        EXPECT_EQ(i, elements.size());
    }
}

TEST(ExportEndToEnd, ImageShowsTheClassFillAndEachMetricInItsCell) {
    ExampleModel model;
    ASSERT_TRUE(model.loaded.currentMetrics());
    const std::string show = " --show 'Lines of code,Test coverage,Has tests'";
    TempFile metricImage("metrics.png", "");
    TempFile standardImage("standard.png", "");
    const ExportRun run = runExport(exampleFile + " -o " + metricImage.path() + show);
    const ExportRun standard = runExport(exampleFile + " -o " + standardImage.path() + show +
                                         " -V 'Standard UML' --legend");
    ASSERT_EQ(run.code, 0);
    ASSERT_EQ(standard.code, 0);
    // Standard UML draws neither glyphs nor a legend.
    EXPECT_TRUE(standard.out["views"][0]["glyphs"].empty());
    EXPECT_TRUE(standard.out["views"][0]["legend"].is_null());
    Png withGlyphs(metricImage.path());
    Png without(standardImage.path());
    ASSERT_TRUE(withGlyphs.ok());
    ASSERT_TRUE(without.ok());
    ASSERT_EQ(withGlyphs.width(), 1024);
    ASSERT_EQ(withGlyphs.height(), 768);
    const Json& view = run.out["views"][0];
    const UMLDiagram* shop = model.diagram("Shop Overview");
    const float zoom = view["zoom"].get<float>();

    // The glyph cells are where layoutMetric puts them, in the order they were drawn.
    MetricCollection& metrics = *model.loaded.currentMetrics();
    metrics.activeMetrics = {"Lines of code", "Test coverage", "Has tests"};
    MetricsVisualizerSimple layout;
    layout.metrics = &metrics;
    const Json& glyphs = view["glyphs"];
    ASSERT_GT(glyphs.size(), 20u);
    int piesChecked = 0;
    for (const Json& glyph : glyphs) {
        SCOPED_TRACE(glyph.dump());
        const UMLDiagramElement* e = model.shown(*shop, glyph["element"]);
        ASSERT_TRUE(e);
        const std::string metric = glyph["metric"];
        EXPECT_EQ(glyph["glyph"], metric == "Has tests" ? "2D Checkbox" : "2D Pie");
        Point ll, ur;
        const auto& g = e->geometry;
        ASSERT_TRUE(layout.layoutMetric(metric, g.left, g.top, g.right, g.bottom, ll, ur, true));
        const auto upperLeft = imagePoint(1024, 768, zoom, 0, 0, ll.x, ur.y);
        const auto lowerRight = imagePoint(1024, 768, zoom, 0, 0, ur.x, ll.y);
        const Json& cell = glyph["cell"];
        EXPECT_NEAR(cell[0].get<float>(), upperLeft[0], 0.02f);
        EXPECT_NEAR(cell[1].get<float>(), upperLeft[1], 0.02f);
        EXPECT_NEAR(cell[2].get<float>(), lowerRight[0], 0.02f);
        EXPECT_NEAR(cell[3].get<float>(), lowerRight[1], 0.02f);

        // The class fill shows in the box's lower-right corner, where nothing else is drawn:
        // the style's colour at the visualizer's opacity over the white background.
        const auto corner = imagePoint(1024, 768, zoom, 0, 0, g.right, g.top);
        const auto& fill = e->style.fillColor;
        EXPECT_NEAR(blendAlong(without.at(corner[0] - 3.0f, corner[1] - 3.0f), Pixel{255, 255, 255},
                               {fill[0], fill[1], fill[2]}),
                    0.75f * fill[3], 0.03f);

        // Every pie covers at least an eighth of its disc clockwise from the top: a point
        // there shows the metric's own fill colour over what the element drew.
        if (metric == "Has tests")
            continue;
        const float x1 = cell[0], y1 = cell[1], x2 = cell[2], y2 = cell[3];
        const Color metricFill = metrics.properties.at(metric)->config.getColor("FillColor");
        const float r = std::min(x2 - x1, y2 - y1) / 2.0f;
        const float angle = 0.3926991f; // 22.5 degrees from the top
        const float px = (x1 + x2) / 2.0f + 0.6f * r * std::sin(angle);
        const float py = (y1 + y2) / 2.0f - 0.6f * r * std::cos(angle);
        const Pixel inPie = withGlyphs.at(px, py);
        const float a =
            blendAlong(inPie, without.at(px, py), {metricFill.r, metricFill.g, metricFill.b});
        EXPECT_GT(a, 0.4f) << "pixel " << inPie.r << "," << inPie.g << "," << inPie.b;
        ++piesChecked;
    }
    EXPECT_GT(piesChecked, 10);
}

TEST(ExportEndToEnd, PickReportsTheHitsAndShowsTheHoverBox) {
    const std::string show = " --show 'Lines of code,Test coverage' --legend";
    TempFile plainImage("plain.png", "");
    // The picks below select Order with their press; the plain image has it selected too.
    const ExportRun plain =
        runExport(exampleFile + show + " --select cls.Order -o " + plainImage.path());
    ASSERT_EQ(plain.code, 0);
    const Json& view = plain.out["views"][0];
    Png withoutBox(plainImage.path());
    ASSERT_TRUE(withoutBox.ok());

    // The legend: every shown metric, in the view's lower-right corner, s pixels in.
    const Json& legend = view["legend"];
    ASSERT_TRUE(legend.is_object());
    EXPECT_EQ(legend["names"], Json::array({"Lines of code", "Test coverage"}));
    const float s = std::ceil(globalConfiguration.getFloat("Visualizer.General.Legend.Spacing"));
    EXPECT_FLOAT_EQ(legend["box"][2].get<float>(), 1024.0f - s);
    EXPECT_FLOAT_EQ(legend["box"][3].get<float>(), 768.0f - s);

    Json cell, order;
    for (const Json& g : view["glyphs"])
        if (g["element"] == "cls.Order" && g["metric"] == "Test coverage")
            cell = g["cell"];
    for (const Json& e : view["elements"])
        if (e["id"] == "cls.Order")
            order = e["box"];
    ASSERT_FALSE(cell.is_null());
    ASSERT_FALSE(order.is_null());
    auto at = [](const Json& box, float fx, float fy) {
        return std::to_string(
                   int(box[0].get<float>() + fx * (box[2].get<float>() - box[0].get<float>()))) +
               "," +
               std::to_string(
                   int(box[1].get<float>() + fy * (box[3].get<float>() - box[1].get<float>())));
    };
    const Json metricHit = {
        {"kind", "metric"}, {"element", "cls.Order"}, {"metric", "Test coverage"}};
    const Json elementHit = {{"kind", "element"}, {"id", "cls.Order"}, {"class", "UMLClass"}};
    struct Case {
        std::string arguments;
        bool hitsMetric, hitsElement;
        std::vector<std::string> hover;
    };
    const std::vector<std::string> orderBox = {"Order",
                                               "Metrics defined:",
                                               "Lines of code",
                                               "Number of methods",
                                               "Coupling between objects",
                                               "Depth of inheritance",
                                               "Test coverage",
                                               "Has tests",
                                               "Is deprecated"};
    for (const Case& c :
         {Case{"--pick " + at(cell, 0.5f, 0.5f),
               true,
               true,
               {"Test coverage", "Value: 79", "Global min/max: 0 / 100"}},
          Case{"--pick " + at(order, 0.9f, 0.05f), false, true, orderBox},
          Case{"--pick " + at(order, 0.9f, 0.05f) + " -V 'Standard UML'", false, true, {}},
          Case{"--pick 1000,5", false, false, {}}}) {
        SCOPED_TRACE(c.arguments);
        TempFile image("pick.png", "");
        const ExportRun run =
            runExport(exampleFile + show + " -o " + image.path() + " " + c.arguments);
        ASSERT_EQ(run.code, 0);
        const Json& pick = run.out["pick"];
        EXPECT_EQ(keysOf(pick), (std::vector<std::string>{"at", "hits", "hover"}));
        bool metric = false, element = false;
        for (const Json& hit : pick["hits"]) {
            metric = metric || hit == metricHit;
            element = element || hit == elementHit;
        }
        EXPECT_EQ(metric, c.hitsMetric);
        EXPECT_EQ(element, c.hitsElement);
        EXPECT_EQ(pick["hover"], Json(c.hover));
        // The press selects what it hit; the image shows the box beside the pointer.
        if (c.hover.empty())
            continue;
        Png png(image.path());
        ASSERT_TRUE(png.ok());
        const Color boxFill = globalConfiguration.getColor(
            c.hitsMetric ? "HoverInfo.Int.FillColor" : "HoverInfo.ModelElement.FillColor");
        const float x = pick["at"][0].get<float>() + 16.0f + 3.0f;
        const float y = pick["at"][1].get<float>() + 4.0f;
        EXPECT_NEAR(
            blendAlong(png.at(x, y), withoutBox.at(x, y), {boxFill.r, boxFill.g, boxFill.b}),
            boxFill.a, 0.05f);
    }
}

TEST(ExportEndToEnd, UnusableRequestsExitTwoAndFailuresOne) {
    for (const char* arguments :
         {"--size 0x768", "--size -3x10", "--size wide", "--size 100000x10", "-d 'No such'",
          "-V Fancy", "--show 'No such'", "--glyph 'Lines of code=2D Checkbox'",
          "--glyph 'Has tests=2D Pie'", "--glyph 'Lines of code=Sparkline'", "--select no.such.id",
          "--rows 0", "--camera 0,0,0,0,0", "--pick 3", ""}) {
        SCOPED_TRACE(arguments);
        const std::string modelArgument = *arguments ? exampleFile + " " : "";
        const ExportRun run = runExport(modelArgument + arguments);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.out.is_null()); // nothing but the message on standard error
    }

    TempFile rejected("old.xmi", "<XMI xmi.version='1.0'><XMI.content/></XMI>");
    TempFile missingMetrics("none.txt", "");
    const std::string noMetrics = missingMetrics.path() + ".absent";
    for (const std::string& arguments :
         {rejected.path(), exampleFile + " -o /nonexistent-folder/x.png",
          exampleFile + " -o out.gif", exampleFile + " -m " + noMetrics}) {
        SCOPED_TRACE(arguments);
        const ExportRun run = runExport(arguments);
        EXPECT_EQ(run.code, 1);
        ASSERT_TRUE(run.out.is_object());
        EXPECT_TRUE(run.out["error"].is_string());
    }
}

// A diagram of another tool's pixel-box form, from the corpus of real files: the boxes keep
// the file's proportions and each generalization is drawn between the classes it joins.
TEST(ExportEndToEnd, CorpusPixelBoxDiagramShowsClassesAndGeneralizationsInPlace) {
    const std::string file =
        std::string(BRENNIMORE_CORPUS_DIR) + "/NCIP+cacore-sdk-pre411/ea25-sdk.xmi";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "no corpus file " << file;
    const std::string image =
        (std::filesystem::temp_directory_path() / "brennimore-pixelbox-export.png").string();
    const ExportRun run = runExport(file + " -d EAID_97EB40E1_EB30_4867_87B3_B170C1008FA5" +
                                    " -V \"Standard UML\" -s 1400x1000 -o " + image);
    ASSERT_EQ(run.code, 0);
    const Json& view = run.out["views"][0];
    EXPECT_EQ(view["diagram"], "Inheritance");
    ASSERT_EQ(view["elements"].size(), 69u);
    std::map<std::string, Json> boxes;
    for (const Json& e : view["elements"])
        boxes[e["id"].get<std::string>()] = e["box"];

    // Left=1423;Top=617;Right=1530;Bottom=687 in the file.
    const Json& box = boxes.at("EAID_C47FB911_44C9_406b_91EB_6A61BABBC9EA");
    const float zoomed = view["zoom"].get<float>();
    EXPECT_NEAR(box[2].get<float>() - box[0].get<float>(), 107.0f * zoomed, 0.5f);
    EXPECT_NEAR(box[3].get<float>() - box[1].get<float>(), 70.0f * zoomed, 0.5f);

    XmlParserSession session;
    LoadedModel loaded;
    loadModelFile(file, loaded);
    ASSERT_TRUE(loaded.model);
    const Png png(image);
    ASSERT_TRUE(png.ok());
    auto centre = [](const Json& b) {
        return std::array<float, 2>{(b[0].get<float>() + b[2].get<float>()) * 0.5f,
                                    (b[1].get<float>() + b[3].get<float>()) * 0.5f};
    };
    auto inside = [](const Json& b, float x, float y) {
        return x >= b[0].get<float>() && x <= b[2].get<float>() && y >= b[1].get<float>() &&
               y <= b[3].get<float>();
    };
    int checked = 0;
    for (const Json& e : view["elements"]) {
        if (e["class"] != "UMLGeneralization")
            continue;
        auto* g = dynamic_cast<UMLGeneralization*>(loaded.model->find(e["id"]));
        ASSERT_TRUE(g && g->child && g->parent);
        const Json& from = boxes.at(g->child->id);
        const Json& to = boxes.at(g->parent->id);
        const auto a = centre(from);
        const auto b = centre(to);
        const float mx = (a[0] + b[0]) * 0.5f;
        const float my = (a[1] + b[1]) * 0.5f;
        if (inside(from, mx, my) || inside(to, mx, my))
            continue;
        // The line between the two boxes passes through the middle of their centres.
        bool dark = false;
        for (int dy = -2; dy <= 2 && !dark; ++dy) {
            for (int dx = -2; dx <= 2 && !dark; ++dx) {
                const Pixel p = png.at(mx + dx, my + dy);
                dark = p.r + p.g + p.b < 3 * 160;
            }
        }
        EXPECT_TRUE(dark) << "no line between " << g->child->name << " and " << g->parent->name;
        ++checked;
    }
    EXPECT_GE(checked, 20);
    std::filesystem::remove(image);
}
