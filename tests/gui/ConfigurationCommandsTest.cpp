// The configuration file and global metrics commands of the main frame.
#include <gtest/gtest.h>

#include <wx/cmdline.h>
#include <wx/listctrl.h>

#include "app/MainApplication.h"
#include "common/TestSupport.h"
#include "graphics/CanvasViews.h"
#include "graphics/CanvasWindow.h"
#include "gui/Canvas.h"
#include "gui/CountMetricsDialog.h"
#include "gui/GlobalOptionsDialog.h"
#include "gui/GuiTestSupport.h"
#include "gui/Ids.h"
#include "gui/MainFrame.h"
#include "metrics/MetricCollection.h"
#include "uml/UMLModel.h"
#include "xmi/XMIResult.h"

namespace {

const char* const webshop = BRENNIMORE_SOURCE_DIR "/examples/webshop.xmi";

class ConfigurationCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { frame = open(); }
    void TearDown() override {
        close(frame);
        globalConfiguration = Configuration();
        setDefaultConfiguration(globalConfiguration);
    }
    mainFrame* open() {
        auto* f = new mainFrame("Brennimore", wxDefaultPosition, wxSize(1000, 700));
        f->setFileChooser(&chooser);
        f->setDialogRunner([this](wxDialog& dialog) {
            shown.push_back(dialog.GetTitle().utf8_str().data());
            if (auto* counts = dynamic_cast<CountMetricsDialog*>(&dialog))
                for (long row = 0; row < counts->list()->GetItemCount(); ++row)
                    rows.push_back(counts->list()->GetItemText(row, 0).utf8_str().data() +
                                   std::string("=") +
                                   counts->list()->GetItemText(row, 1).utf8_str().data());
            if (auto* options = dynamic_cast<GlobalOptionsDialog*>(&dialog))
                preselected = options->selectedKey();
            return wxID_OK;
        });
        f->Show();
        flushEvents();
        return f;
    }
    void close(mainFrame* f) {
        f->Destroy();
        flushEvents();
    }
    UMLDiagram* diagram(mainFrame* f, const std::string& name) {
        for (UMLDiagram* d : f->getModelData()->diagrams)
            if (d->name == name)
                return d;
        return nullptr;
    }
    std::string layout(mainFrame* f) {
        std::ostringstream out;
        f->getCanvas()->views().writeLayout(out);
        return out.str();
    }

    MessageRecorder messages;
    ScriptedFileChooser chooser;
    std::vector<std::string> shown;
    std::vector<std::string> rows;
    std::string preselected = "(not opened)";
    mainFrame* frame = nullptr;
};

} // namespace

TEST_F(ConfigurationCommandsTest, SavedStateComesBackInAFreshFrame) {
    frame->loadModel(webshop);
    flushEvents();
    CanvasViews& views = frame->getCanvas()->views();
    views.setDiagram(diagram(frame, "Packages"));
    views.zoomIn();
    views.splitActiveWindow(false, 0.5f);
    views.activate(views.root().second.get());
    views.setDiagram(diagram(frame, "Checkout"));
    views.setStereo(true);
    MetricCollection* metrics = frame->getMetricCollection();
    ASSERT_NE(metrics, nullptr);
    metrics->properties.at("Lines of code")->viz = findGlyph(frame->getGlyphs(), "3D Cylinder");
    metrics->properties.at("Has tests")
        ->config()
        .setColor("FillColor", Color(1.0f, 0.5f, 0.0f, 1.0f));
    metrics->activeMetrics = {"Has tests", "Lines of code"};
    globalConfiguration.setBool("Visualizer.General.Legend.Enable", true);

    TempFile file("state.cfg");
    chooser.answers = {file.path()};
    sendCommand(frame, ID_TOOL_SAVE_CONFIG);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].title, "Save Configuration");
    EXPECT_EQ(chooser.asked[0].wildcard, "cfg files|*.cfg|All files|*.*");
    EXPECT_TRUE(chooser.asked[0].save);
    const std::string savedLayout = layout(frame);
    close(frame);
    globalConfiguration.setBool("Visualizer.General.Legend.Enable", false);

    frame = open();
    frame->loadModel(webshop);
    flushEvents();
    chooser.answers = {file.path()};
    sendCommand(frame, ID_MENU_LOAD_CONFIG);
    EXPECT_EQ(chooser.asked.back().title, "Load Configuration");
    EXPECT_FALSE(chooser.asked.back().save);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Configuration loaded.");
    EXPECT_EQ(messages.messages[0].caption, "Brennimore info");
    EXPECT_TRUE(messages.messages[0].style & MessageStyle::IconInformation);

    EXPECT_EQ(layout(frame), savedLayout);
    std::vector<CanvasWindow*> all = frame->getCanvas()->views().views();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]->diagram, diagram(frame, "Packages"));
    EXPECT_TRUE(all[1]->stereo);
    EXPECT_TRUE(globalConfiguration.getBool("Visualizer.General.Legend.Enable"));
    metrics = frame->getMetricCollection();
    EXPECT_EQ(metrics->properties.at("Lines of code")->viz->getName(), "3D Cylinder");
    EXPECT_EQ(metrics->properties.at("Has tests")->config().getColor("FillColor"),
              Color(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(metrics->activeMetrics, (std::set<std::string>{"Has tests", "Lines of code"}));
}

TEST_F(ConfigurationCommandsTest, FailuresAreReportedAndChangeNothing) {
    frame->loadModel(webshop);
    flushEvents();
    const std::string before = layout(frame);
    TempFile foreign("foreign.cfg", "not a configuration\n");
    struct Case {
        int command;
        std::string path;
    } cases[] = {
        {ID_TOOL_LOAD_CONFIG, foreign.folder() + "/absent.cfg"},
        {ID_TOOL_LOAD_CONFIG, foreign.path()},
        {ID_TOOL_SAVE_CONFIG, foreign.folder() + "/no/such/folder.cfg"},
    };
    for (const Case& c : cases) {
        messages.messages.clear();
        chooser.answers = {c.path};
        sendCommand(frame, c.command);
        ASSERT_EQ(messages.messages.size(), 1u) << c.path;
        EXPECT_EQ(messages.messages[0].caption, "Brennimore error") << c.path;
        EXPECT_TRUE(messages.messages[0].style & MessageStyle::IconError) << c.path;
        EXPECT_NE(messages.messages[0].text.find(c.path), std::string::npos) << c.path;
        EXPECT_EQ(layout(frame), before) << c.path;
    }
    // A cancelled dialog does nothing at all.
    messages.messages.clear();
    sendCommand(frame, ID_TOOL_LOAD_CONFIG);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ConfigurationCommandsTest, StartUpAppliesTheNamedFileAfterModelAndMetricsQuietly) {
    TempFile file("start.cfg",
                  "[Global configuration]\n@ConfigurationKind\n@bool (1)\n"
                  "<Visualizer.General.Comments><true>\n@float (0)\n@color (0)\n"
                  "@colormap (0)\n[Window layout]\n"
                  "leaf <Checkout><1.5><0 0><0 0><false><false>\n"
                  "[Metric properties]\nCount (0)\n[Active metrics]\nOpen issues\n<eol>\n");
    theMainFrame = frame;
    wxString args[] = {"brennimore", "-u", webshop, "-c", wxString::FromUTF8(file.path())};
    wxChar* argv[5];
    for (int i = 0; i < 5; ++i)
        argv[i] = const_cast<wxChar*>(static_cast<const wxChar*>(args[i].c_str()));
    wxCmdLineParser parser(5, argv);
    declareCommandLine(parser);
    ASSERT_EQ(parser.Parse(false), 0);
    std::string model, metricsFile, config;
    applyCommandLine(parser, model, metricsFile, config);
    theMainFrame = nullptr;

    EXPECT_EQ(config, file.path());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(globalConfiguration.getBool("Visualizer.General.Comments"));
    CanvasWindow* view = frame->getCanvas()->views().activeView();
    EXPECT_EQ(view->diagram, diagram(frame, "Checkout"));
    EXPECT_FLOAT_EQ(view->zoom, 1.5f);
    // The metrics beside the model were there when the file was read.
    ASSERT_NE(frame->getMetricCollection(), nullptr);
    EXPECT_EQ(frame->getMetricCollection()->activeMetrics, (std::set<std::string>{"Open issues"}));
}

TEST_F(ConfigurationCommandsTest, GlobalMetricsOverviewOrTheMessageSayingWhyNot) {
    sendCommand(frame, ID_TOOL_GLOBAL_METRICS);
    frame->loadModel(webshop);
    flushEvents();
    sendCommand(frame, ID_TOOL_GLOBAL_METRICS);
    EXPECT_EQ(rows, (std::vector<std::string>{"Classes=16", "Interfaces=1", "Packages=6",
                                              "Use cases=7"}));
    // The model alone (no metrics file beside it), then metrics without count blocks.
    TempFile model("alone.xmi", readWholeFile(webshop));
    TempFile elementsOnly("elements.txt", "[Lines of code %int]\ncls.Order,Order,620\n");
    frame->loadModel(model.path());
    flushEvents();
    frame->loadMetrics(elementsOnly.path());
    ASSERT_NE(frame->getMetricCollection(), nullptr);
    sendCommand(frame, ID_TOOL_GLOBAL_METRICS);

    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "No metrics are currently loaded");
    EXPECT_EQ(messages.messages[1].text, "No global metrics are currently available");
    for (const RecordedMessage& m : messages.messages) {
        EXPECT_EQ(m.caption, "Brennimore Error");
        EXPECT_EQ(m.style, MessageStyle::Ok | MessageStyle::IconError);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Global metrics overview"}));
}

TEST_F(ConfigurationCommandsTest, OptionsOpenOnTheGlobalStoreWithTheirGroup) {
    sendCommand(frame, ID_TOOL_OPTIONS);
    EXPECT_EQ(preselected, "");
    wxCommandEvent press(wxEVT_BUTTON, ID_VISUALIZER_OPTIONS);
    frame->ProcessWindowEvent(press);
    EXPECT_EQ(preselected, "Visualizer");
    EXPECT_EQ(shown, (std::vector<std::string>{"Global configuration options",
                                               "Global configuration options"}));
}
