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
#include <regex>
#include <set>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "common/FileNames.h"
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
    // Under the leak checker, its tracer crashed in some of these child processes (never
    // when the same command ran alone); the children run without leak checks, the in-process
    // tests of the same code keep them.
    const std::string command = "ASAN_OPTIONS=\"${ASAN_OPTIONS}:detect_leaks=0\" " +
                                std::string(BRENNIMORE_BIN_DIR) + "/brennimore-export " +
                                arguments + " 2>/dev/null";
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
            loadMetricsInto(companionMetricsFile(exampleFile), loaded);
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
        const Color metricFill = metrics.properties.at(metric)->config().getColor("FillColor");
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
         {"--size 0x768", "--size -3x10", "--size wide", "--size 100000x10",
          "--size 20000x100 -o never.svg", "--tile 0", "-d 'No such'", "-V Fancy",
          "--show 'No such'", "--glyph 'Lines of code=2D Checkbox'", "--glyph 'Has tests=2D Pie'",
          "--glyph 'Lines of code=Sparkline'", "--select no.such.id", "--rows 0",
          "--camera 0,0,0,0,0", "--pick 3", ""}) {
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
          exampleFile + " -o out.gif", exampleFile + " -m " + noMetrics,
          exampleFile + " -c " + noMetrics,
          // a name that is no UTF-8 is printed with the bad byte replaced
          missingMetrics.folder() + "/caf\xE9.xmi"}) {
        SCOPED_TRACE(arguments);
        const ExportRun run = runExport(arguments);
        EXPECT_EQ(run.code, 1);
        ASSERT_TRUE(run.out.is_object());
        EXPECT_TRUE(run.out["error"].is_string());
    }
}

TEST(ExportEndToEnd, ConfigurationFileGivesTheViewsAndOptionsGoOverIt) {
    const std::string config =
        " -c " + std::string(BRENNIMORE_SOURCE_DIR) + "/examples/webshop.cfg -s 1000x500";
    const ExportRun fromFile = runExport(exampleFile + config);
    ASSERT_EQ(fromFile.code, 0);
    const Json& views = fromFile.out["views"];
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0]["diagram"], "Shop Overview");
    EXPECT_EQ(views[0]["rect"], Json::array({0, 0, 600, 500}));
    EXPECT_EQ(views[1]["diagram"], "Checkout");
    EXPECT_FALSE(views[0]["perspective"].get<bool>());
    // The file shows "Lines of code" as pies on every class of the overview.
    ASSERT_FALSE(views[0]["glyphs"].empty());
    for (const Json& glyph : views[0]["glyphs"]) {
        EXPECT_EQ(glyph["metric"], "Lines of code");
        EXPECT_EQ(glyph["glyph"], "2D Pie");
    }
    EXPECT_TRUE(fromFile.out["views"][0]["legend"].is_object());

    const ExportRun overridden =
        runExport(exampleFile + config + " -d Packages --glyph 'Lines of code=3D Bar' --no-legend");
    ASSERT_EQ(overridden.code, 0);
    for (const Json& view : overridden.out["views"])
        EXPECT_EQ(view["diagram"] == "Packages", view["active"].get<bool>())
            << "-d sets the active view only";
    const ExportRun bars = runExport(exampleFile + config + " --glyph 'Lines of code=3D Bar'");
    EXPECT_EQ(bars.out["views"][0]["glyphs"][0]["glyph"], "3D Bar");
    EXPECT_TRUE(overridden.out["views"][0]["legend"].is_null());
}

namespace {

std::string commandOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    size_t n;
    while (pipe && (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        text.append(buffer, n);
    return text;
}

// The names of the classes the export's first view describes.
std::set<std::string> classNamesShown(const ExampleModel& model, const Json& view) {
    std::set<std::string> names;
    const UMLDiagram* d = model.diagram(view["diagram"].get<std::string>());
    for (const Json& e : view["elements"])
        if (e["class"] == "UMLClass")
            names.insert(model.shown(*d, e["id"].get<std::string>())->subject->name);
    return names;
}

// An SVG document read with the XML parser: whether it is well-formed, its text elements
// and every vertex of its polygons and polylines.
struct SvgContent {
    explicit SvgContent(const std::string& text) {
        using namespace xercesc;
        XercesDOMParser parser;
        HandlerBase errors;
        parser.setErrorHandler(&errors);
        parser.setLoadExternalDTD(false);
        MemBufInputSource input(reinterpret_cast<const XMLByte*>(text.data()), text.size(),
                                "export.svg");
        try {
            parser.parse(input);
        } catch (const SAXParseException&) {
            return;
        }
        wellFormed = parser.getErrorCount() == 0 && parser.getDocument();
        if (!wellFormed)
            return;
        const auto read = [](const XMLCh* x) {
            char* c = XMLString::transcode(x);
            std::string out(c);
            XMLString::release(&c);
            return out;
        };
        XMLCh* textTag = XMLString::transcode("text");
        DOMNodeList* list = parser.getDocument()->getElementsByTagName(textTag);
        XMLString::release(&textTag);
        for (XMLSize_t i = 0; i < list->getLength(); ++i)
            texts.insert(read(list->item(i)->getTextContent()));
        static const std::regex pair("(-?[0-9.]+),(-?[0-9.]+)");
        static const std::regex pointsAttribute("points=\"([^\"]*)\"");
        for (std::sregex_iterator a(text.begin(), text.end(), pointsAttribute), end; a != end;
             ++a) {
            const std::string values = (*a)[1];
            for (std::sregex_iterator p(values.begin(), values.end(), pair); p != end; ++p)
                points.push_back({std::stof((*p)[1]), std::stof((*p)[2])});
        }
    }
    bool hasPointNear(float x, float y, float tolerance) const {
        for (const auto& p : points)
            if (std::fabs(p[0] - x) <= tolerance && std::fabs(p[1] - y) <= tolerance)
                return true;
        return false;
    }

    bool wellFormed = false;
    std::multiset<std::string> texts;
    std::vector<std::array<float, 2>> points;
};

} // namespace

TEST(VectorExport, SvgIsXmlWithTheClassNamesAsTextAndTheBoxesWhereTheRasterHasThem) {
    ExampleModel model;
    TempFile svg("shop.svg");
    // A camera off the fit, and a hover box over the first class seen whole: the recording
    // follows the raster's geometry and overlays.
    const std::string arguments = exampleFile + " --camera 1.3,40,-20,0,0";
    const ExportRun raster = runExport(arguments);
    ASSERT_EQ(raster.code, 0);
    const Json& view = raster.out["views"][0];
    std::vector<Json> whole;
    for (const Json& e : view["elements"]) {
        const Json& box = e["box"];
        if (e["class"] == "UMLClass" && box[0] >= 0 && box[1] >= 0 && box[2] <= 1024 &&
            box[3] <= 768)
            whole.push_back(e);
    }
    ASSERT_GT(whole.size(), 5u);
    const Json& picked = whole.front()["box"];
    const std::string pick =
        std::to_string(static_cast<int>((picked[0].get<float>() + picked[2].get<float>()) / 2)) +
        "," +
        std::to_string(static_cast<int>((picked[1].get<float>() + picked[3].get<float>()) / 2));
    const ExportRun vector = runExport(arguments + " --pick " + pick + " -o " + svg.path());
    ASSERT_EQ(vector.code, 0);
    const SvgContent content(readWholeFile(svg.path()));
    ASSERT_TRUE(content.wellFormed);

    const UMLDiagram* d = model.diagram(view["diagram"].get<std::string>());
    for (const Json& e : whole) {
        const std::string& name = model.shown(*d, e["id"].get<std::string>())->subject->name;
        EXPECT_GE(content.texts.count(name), 1u) << name;
    }
    ASSERT_FALSE(vector.out["pick"]["hover"].empty());
    for (const Json& line : vector.out["pick"]["hover"])
        EXPECT_GE(content.texts.count(line.get<std::string>()), 1u) << line;

    // Each class box has its fill's corners where the raster export puts the box.
    for (const Json& e : whole) {
        const Json& box = e["box"];
        for (int corner = 0; corner < 4; ++corner) {
            const float x = box[corner % 2 == 0 ? 0 : 2].get<float>();
            const float y = box[corner < 2 ? 1 : 3].get<float>();
            EXPECT_TRUE(content.hasPointNear(x, y, 0.05f)) << e["id"] << " " << x << "," << y;
        }
    }
}

TEST(VectorExport, PdfAndEpsCarryTheClassNamesAsText) {
    ExampleModel model;
    for (const char* extension : {".pdf", ".eps"}) {
        SCOPED_TRACE(extension);
        TempFile file(std::string("shop") + extension);
        const ExportRun run = runExport(exampleFile + " -o " + file.path());
        ASSERT_EQ(run.code, 0);
        const std::set<std::string> names = classNamesShown(model, run.out["views"][0]);
        std::string text;
        if (std::string(extension) == ".eps") {
            text = readWholeFile(file.path());
            EXPECT_EQ(text.rfind("%!PS-Adobe", 0), 0u);
        } else if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
            text = commandOutput("pdftotext " + file.path() + " -");
        } else {
            std::cout << "pdftotext is absent; the PDF's text is not checked\n";
            EXPECT_EQ(readWholeFile(file.path()).rfind("%PDF-", 0), 0u);
            continue;
        }
        for (const std::string& name : names)
            EXPECT_NE(text.find(name), std::string::npos) << name;
    }
}

TEST(TiledExport, TilesEqualOnePassAndLargeImagesComeOutWhole) {
    // Tiles cut through boxes, text, the legend and the hover box; the seams must not show.
    struct Case {
        const char* size;
        const char* tile;
    };
    for (const Case& c : {Case{"700x300", "256"}, Case{"333x517", "100"}}) {
        SCOPED_TRACE(c.tile);
        TempFile whole("whole.png");
        TempFile tiled("tiled.png");
        const std::string arguments =
            exampleFile + " --legend --pick 200,150 -s " + c.size + " -o ";
        ASSERT_EQ(runExport(arguments + whole.path()).code, 0);
        ASSERT_EQ(runExport(arguments + tiled.path() + " --tile " + c.tile).code, 0);
        Png a(whole.path());
        Png b(tiled.path());
        ASSERT_TRUE(a.ok() && b.ok());
        ASSERT_EQ(a.width(), b.width());
        ASSERT_EQ(a.height(), b.height());
        int different = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const Pixel p = a.at(x, y);
                const Pixel q = b.at(x, y);
                if (std::abs(p.r - q.r) > 24 || std::abs(p.g - q.g) > 24 ||
                    std::abs(p.b - q.b) > 24)
                    ++different;
            }
        EXPECT_LE(different, a.width() * a.height() / 1000);
    }

    // Wider than one framebuffer of the renderer: drawn in tiles, the class far to the
    // right is there in its fill colour.
    TempFile wide("wide.png");
    const ExportRun run = runExport(exampleFile + " -s 17000x300 -o " + wide.path());
    ASSERT_EQ(run.code, 0);
    Png png(wide.path());
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.width(), 17000);
    EXPECT_EQ(png.height(), 300);
    float rightmost = 0.0f;
    Json box;
    for (const Json& e : run.out["views"][0]["elements"])
        if (e["class"] == "UMLClass" && e["box"][2].get<float>() > rightmost) {
            rightmost = e["box"][2].get<float>();
            box = e["box"];
        }
    ASSERT_GT(rightmost, 8192.0f);
    const Pixel inside = png.at(box[2].get<float>() - 3.0f, box[3].get<float>() - 3.0f);
    EXPECT_FALSE(inside.r > 250 && inside.g > 250 && inside.b > 250);
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
        auto* g = dynamic_cast<UMLGeneralization*>(loaded.model->find(e["id"].get<std::string>()));
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
