// The configuration file: what a save holds and what a load applies to the settings, the
// views and the metrics, and how damaged or foreign files are met.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "graphics/CanvasViews.h"
#include "graphics/CanvasWindow.h"
#include "graphics/ViewTestSupport.h"
#include "metrics/MetricCollection.h"
#include "visualizers/ConfigurationFile.h"

namespace {

// Metrics as a load leaves them: a record per name, an element record saying its kind.
void addMetric(MetricCollection& metrics, const std::string& name, bool isInt) {
    metrics.properties[name] = std::make_unique<MetricProperties>();
    std::unique_ptr<ElementMetric> record;
    if (isInt)
        record = std::make_unique<IntMetric>();
    else
        record = std::make_unique<BoolMetric>();
    record->name = name;
    metrics.add(std::move(record));
}

std::unique_ptr<MetricCollection> threeMetrics() {
    auto metrics = std::make_unique<MetricCollection>();
    addMetric(*metrics, "LOC", true);
    addMetric(*metrics, "NOM", true);
    addMetric(*metrics, "Tested", false);
    return metrics;
}

std::string layoutOf(const CanvasViews& views) {
    std::ostringstream out;
    views.writeLayout(out);
    return out.str();
}

class ConfigurationFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = model_.addDiagram("Main", {{-50, -20, 50, 20}});
        other_ = model_.addDiagram("Other", {{-10, -10, 30, 10}});
        setDefaultConfiguration(global_);
    }
    ConfigurationTargets targets(CanvasViews& views, MetricCollection* metrics,
                                 Configuration& global) {
        ConfigurationTargets t;
        t.global = &global;
        t.views = &views;
        t.model = &model_.result;
        t.metrics = metrics;
        t.glyphs = &glyphs_;
        return t;
    }
    std::string save(CanvasViews& views, MetricCollection* metrics) {
        std::ostringstream out;
        writeConfiguration(out, targets(views, metrics, global_));
        return out.str();
    }

    TestModel model_;
    GlyphRegistry glyphs_ = makeGlyphRegistry();
    Configuration global_;
    UMLDiagram* main_ = nullptr;
    UMLDiagram* other_ = nullptr;
};

// A temporary folder, removed with the object.
struct TempFolder {
    TempFolder() {
        path =
            std::filesystem::temp_directory_path() /
            ("brennimore-cfg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name, const std::string& contents) const {
        const std::string p = (path / name).string();
        std::ofstream(p, std::ios::binary) << contents;
        return p;
    }
    std::filesystem::path path;
};

} // namespace

TEST_F(ConfigurationFileTest, StateRoundTripsIntoAFreshProgramUnderACommaLocale) {
    CanvasViews views(400, 300);
    views.setDiagram(main_);
    views.activeView()->zoom = 2.5f;
    views.activeView()->pan = {1.25f, -3.5f};
    views.splitActiveWindow(true, 0.3f);
    views.activate(views.root().second.get());
    views.setDiagram(other_);
    views.activeView()->rotation = {10.0f, -20.0f};
    views.activeView()->stereo = true;
    global_.setBool("Visualizer.General.Shadows", false);
    global_.setFloat("HoverInfo.FontSize", 11.5f);

    auto metrics = threeMetrics();
    metrics->properties["LOC"]->viz = findGlyph(glyphs_, "3D Bar");
    metrics->properties["LOC"]->config().setColor("FillColor", Color(0.25f, 0.5f, 1.0f, 0.75f));
    metrics->properties["LOC"]->config().setFloat(".UpperThreshold", 400.0f);
    metrics->properties["Tested"]->viz = findGlyph(glyphs_, "2D Checkbox");
    metrics->activeMetrics = {"Tested", "LOC"};

    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    const std::string text = save(views, metrics.get());

    // Header lines, the count and the shown metrics in list (name) order, then the end line.
    EXPECT_EQ(text.rfind("[Global configuration]\n@ConfigurationKind\n", 0), 0u);
    EXPECT_NE(text.find("[Window layout]\nhorizontal <0.3>\nleaf <Main><2.500000>"),
              std::string::npos);
    EXPECT_NE(text.find("[Metric properties]\nCount (3)\nLOC\n3D Bar\n@ConfigurationKind\n"),
              std::string::npos);
    EXPECT_NE(text.find("\nNOM\n\n@ConfigurationKind\n"), std::string::npos);
    const std::string tail = "[Active metrics]\nLOC\nTested\n<eol>\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

    CanvasViews fresh(400, 300);
    auto loaded = threeMetrics();
    loaded->activeMetrics = {"NOM"};
    Configuration freshGlobal;
    std::istringstream in(text);
    const ConfigurationReadResult read =
        readConfiguration(in, targets(fresh, loaded.get(), freshGlobal));
    if (comma)
        std::setlocale(LC_ALL, "C");

    EXPECT_TRUE(read.global && read.layout && read.metricProperties && read.shownMetrics);
    EXPECT_EQ(layoutOf(fresh), layoutOf(views));
    ASSERT_EQ(fresh.views().size(), 2u);
    EXPECT_EQ(fresh.views()[1]->diagram, other_);
    EXPECT_FALSE(freshGlobal.getBool("Visualizer.General.Shadows"));
    EXPECT_FLOAT_EQ(freshGlobal.getFloat("HoverInfo.FontSize"), 11.5f);
    EXPECT_EQ(freshGlobal.bools().size(), global_.bools().size());
    EXPECT_EQ(loaded->properties["LOC"]->viz, findGlyph(glyphs_, "3D Bar"));
    EXPECT_EQ(loaded->properties["NOM"]->viz, nullptr);
    EXPECT_EQ(loaded->properties["Tested"]->viz, findGlyph(glyphs_, "2D Checkbox"));
    EXPECT_EQ(loaded->properties["LOC"]->config().getColor("FillColor"),
              Color(0.25f, 0.5f, 1.0f, 0.75f));
    EXPECT_FLOAT_EQ(loaded->properties["LOC"]->config().getFloat(".UpperThreshold"), 400.0f);
    EXPECT_EQ(loaded->activeMetrics, (std::set<std::string>{"LOC", "Tested"}));
}

TEST_F(ConfigurationFileTest, EntriesApplyOnlyToLoadedMetrics) {
    CanvasViews views(100, 100);
    const std::string block = "@ConfigurationKind\n@bool (0)\n@float (1)\n<Transparency><0.25>\n"
                              "@color (0)\n@colormap (0)\n";
    const std::string text = "[Global configuration]\n" + block +
                             "[Window layout]\nleaf <Main><1><0 0><0 0><false><false>\n"
                             "[Metric properties]\nCount (3)\n"
                             "Gone\n2D Pie\n" +
                             block +             // not loaded: skipped in full
                             "LOC\n\n" + block + // empty glyph line: no glyph
                             "Tested\nNo Such Glyph\n" + block +
                             "[Active metrics]\nGone\nTested\n<eol>\nNOM\n";
    auto metrics = threeMetrics();
    metrics->properties["LOC"]->viz = findGlyph(glyphs_, "2D Pie");
    metrics->activeMetrics = {"LOC", "NOM"};
    std::istringstream in(text);
    readConfiguration(in, targets(views, metrics.get(), global_));

    EXPECT_EQ(metrics->properties.count("Gone"), 0u);
    EXPECT_EQ(metrics->properties["LOC"]->viz, nullptr);
    EXPECT_EQ(metrics->properties["Tested"]->viz, nullptr);
    EXPECT_FLOAT_EQ(metrics->properties["LOC"]->config().getFloat("Transparency"), 0.25f);
    EXPECT_FLOAT_EQ(metrics->properties["Tested"]->config().getFloat("Transparency"), 0.25f);
    EXPECT_FALSE(metrics->properties["NOM"]->config().floats().count("Transparency"))
        << "the skipped entry reached no other metric";
    // The list replaces the shown metrics; names not loaded and lines after the end go.
    EXPECT_EQ(metrics->activeMetrics, (std::set<std::string>{"Tested"}));
    EXPECT_EQ(views.activeView()->diagram, main_);
}

TEST_F(ConfigurationFileTest, AFileSavedWithoutMetricsLeavesLoadedMetricsAsTheyWere) {
    CanvasViews views(100, 100);
    const std::string text = save(views, nullptr);
    EXPECT_NE(text.find("[Metric properties]\n[Active metrics]\n<eol>\n"), std::string::npos);

    auto metrics = threeMetrics();
    metrics->activeMetrics = {"NOM"};
    metrics->properties["NOM"]->viz = findGlyph(glyphs_, "2D Pie");
    std::istringstream in(text);
    const ConfigurationReadResult read =
        readConfiguration(in, targets(views, metrics.get(), global_));
    // "[Active metrics]" is taken as the count line, so no list of shown metrics follows.
    EXPECT_TRUE(read.metricProperties);
    EXPECT_FALSE(read.shownMetrics);
    EXPECT_EQ(metrics->activeMetrics, (std::set<std::string>{"NOM"}));
    EXPECT_EQ(metrics->properties["NOM"]->viz, findGlyph(glyphs_, "2D Pie"));
}

TEST_F(ConfigurationFileTest, CountsAndDamagedSectionsNeverRunPastTheFile) {
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"huge count", "[Global configuration]\n@ConfigurationKind\n@bool (0)\n@float (0)\n"
                       "@color (0)\n@colormap (0)\n[Window layout]\nleaf <Main><1><0 0><0 0>"
                       "<false><false>\n[Metric properties]\nCount (99999999999999999999999)\n"
                       "LOC\n2D Pie\n@ConfigurationKind\n@bool (1)\n<X><true>\n"},
        {"ends inside an entry", "x\ny\n[Metric properties]\nCount (2)\nLOC\n"},
        {"huge block count", "x\ny\n[Metric properties]\nCount (1)\nLOC\n2D Pie\n"
                             "@ConfigurationKind\n@bool (18446744073709551615)\n<X><true>\n"},
        {"split tree without leaves", "x\n[Window layout]\nvertical <0.5>\nhorizontal <0.5>\n"},
    };
    for (const Case& c : cases) {
        CanvasViews views(100, 100);
        auto metrics = threeMetrics();
        std::istringstream in(c.text);
        readConfiguration(in, targets(views, metrics.get(), global_));
        EXPECT_TRUE(in.eof()) << c.what;
        EXPECT_FALSE(views.views().empty()) << c.what;
    }
}

TEST_F(ConfigurationFileTest, FilesThatCannotBeReadOrWrittenAreReportedAndChangeNothing) {
    TempFolder folder;
    CanvasViews views(100, 100);
    views.setDiagram(main_);
    auto metrics = threeMetrics();
    metrics->activeMetrics = {"LOC"};
    const std::string before = save(views, metrics.get());

    struct Case {
        const char* what;
        std::string path;
        const char* error;
    } cases[] = {
        {"missing", (folder.path / "absent.cfg").string(), "Could not read"},
        {"a folder", folder.path.string(), "configuration file"},
        {"empty", folder.file("empty.cfg", ""), "is not a configuration file"},
        {"foreign", folder.file("image.png", "\x89PNG\r\n\x1a\n[Global configuration"),
         "is not a configuration file"},
    };
    for (const Case& c : cases) {
        const ConfigurationFileStatus status =
            loadConfigurationFile(c.path, targets(views, metrics.get(), global_));
        EXPECT_FALSE(status.ok) << c.what;
        EXPECT_NE(status.error.find(c.error), std::string::npos) << c.what << ": " << status.error;
        EXPECT_EQ(save(views, metrics.get()), before) << c.what;
    }

    const ConfigurationFileStatus unwritable =
        saveConfigurationFile((folder.path / "no-such-folder" / "x.cfg").string(),
                              targets(views, metrics.get(), global_));
    EXPECT_FALSE(unwritable.ok);
    EXPECT_NE(unwritable.error.find("Could not write"), std::string::npos);

    // A saved file loads back, also with Windows line ends.
    const std::string saved = (folder.path / "saved.cfg").string();
    ASSERT_TRUE(saveConfigurationFile(saved, targets(views, metrics.get(), global_)).ok);
    std::string crlf;
    for (char ch : before)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    for (const std::string& path : {saved, folder.file("crlf.cfg", crlf)}) {
        CanvasViews fresh(100, 100);
        auto loaded = threeMetrics();
        const ConfigurationFileStatus status =
            loadConfigurationFile(path, targets(fresh, loaded.get(), global_));
        EXPECT_TRUE(status.ok) << path << ": " << status.error;
        EXPECT_EQ(fresh.activeView()->diagram, main_) << path;
        EXPECT_EQ(loaded->activeMetrics, metrics->activeMetrics) << path;
    }
}
