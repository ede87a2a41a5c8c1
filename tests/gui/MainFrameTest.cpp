#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <wx/cmdline.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "app/MainApplication.h"
#include "common/TestSupport.h"
#include "gui/AboutDialog.h"
#include "gui/Canvas.h"
#include "gui/ExportSizeDialog.h"
#include "gui/GuiTestSupport.h"
#include "gui/Ids.h"
#include "gui/MainFrame.h"
#include "gui/UMLModelTree.h"
#include "gui/WxUserMessages.h"
#include "metrics/MetricCollection.h"
#include "xmi/XMIDocuments.h"
#include "xmi/XMIResult.h"

namespace {

const std::string goodModel =
    xmiDocument("<UML:Model xmi.id='m' name='Shop'><UML:Namespace.ownedElement>"
                "<UML:Package xmi.id='p' name='core'/></UML:Namespace.ownedElement></UML:Model>");

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = createMainFrame();
        frame->setFileChooser(&chooser);
        flushEvents();
    }
    void TearDown() override {
        frame->Destroy();
        flushEvents();
    }

    // Runs the application's command-line handling on the given arguments.
    void startWith(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "brennimore");
        std::vector<wxString> storage(arguments.begin(), arguments.end());
        std::vector<wxChar*> argv;
        for (auto& s : storage)
            argv.push_back(const_cast<wxChar*>(static_cast<const wxChar*>(s.c_str())));
        wxCmdLineParser parser(static_cast<int>(argv.size()), argv.data());
        declareCommandLine(parser);
        ASSERT_EQ(parser.Parse(false), 0);
        applyCommandLine(parser, files.umlModelFile, files.metricsFile, files.configFile);
    }

    size_t treeItems() const { return frame->getModelTree()->GetCount(); }

    // The start-up file names as the application keeps them.
    struct {
        std::string umlModelFile, metricsFile, configFile;
    } files;
    MessageRecorder messages;
    ScriptedFileChooser chooser;
    mainFrame* frame = nullptr;
};

} // namespace

TEST_F(MainFrameTest, StartsEmptyWithItsLayout) {
    startWith({});
    EXPECT_EQ(theMainFrame, frame);
    EXPECT_EQ(frame->GetTitle(), "Brennimore");
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(frame->getModelData(), nullptr);
    EXPECT_EQ(frame->getSelectionList(), nullptr);
    EXPECT_EQ(treeItems(), 0u);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(frame->isMetricsCommandEnabled());
    EXPECT_FALSE(wxWindow::FindWindowById(ID_METRICS_SLIDER, frame)->IsEnabled())
        << "enabled only while metrics are loaded";
    EXPECT_EQ(files.configFile, "default.cfg");

    EXPECT_EQ(frame->mainSplitter->GetId(), ID_MAIN_SPLITTER);
    EXPECT_EQ(frame->leftSplitter->GetId(), ID_LEFT_SPLITTER);
    EXPECT_EQ(frame->mainSplitter->GetMinimumPaneSize(), 64);
    EXPECT_EQ(frame->mainSplitter->GetSplitMode(), wxSPLIT_VERTICAL);
    EXPECT_EQ(frame->leftSplitter->GetSplitMode(), wxSPLIT_HORIZONTAL);
    EXPECT_NE(wxWindow::FindWindowById(ID_MODEL_TREE, frame), nullptr);
    EXPECT_NE(wxWindow::FindWindowById(ID_CANVAS, frame), nullptr);
    for (int id = ID_ZOOM_FIT; id <= ID_METRICS_SLIDER; ++id)
        EXPECT_NE(wxWindow::FindWindowById(id, frame), nullptr) << id;

    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 2u);
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->GetMenuLabel(1), "&Help");
    EXPECT_EQ(bar->FindItem(ID_MENU_OPEN_MODEL)->GetItemLabel(), "&Open UML model...\tCtrl-O");
    EXPECT_EQ(bar->FindItem(ID_MENU_EXPORT)->GetHelp(), "Save the current view to an image");
    wxToolBarBase* tools = frame->GetToolBar();
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->GetToolsCount(), 7u);
    EXPECT_EQ(tools->GetToolShortHelp(ID_TOOL_GLOBAL_METRICS), "Show global metrics overview");
}

TEST_F(MainFrameTest, MetricsOptionWithoutModelLoadsNothing) {
    TempFile metrics("m.txt", "anything\n");
    startWith({"-m", metrics.path()});
    EXPECT_EQ(frame->getModelData(), nullptr);
    EXPECT_TRUE(files.metricsFile.empty());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainFrameTest, ModelOptionLoadsTheModelIntoTheTree) {
    TempFile model("shop.xmi", goodModel);
    TempFile config("other.cfg", "");
    startWith({"-u", model.path(), "-c", config.path()});
    ASSERT_NE(frame->getModelData(), nullptr);
    EXPECT_EQ(files.configFile, config.path());
    EXPECT_NE(frame->getSelectionList(), nullptr);
    EXPECT_TRUE(frame->isMetricsCommandEnabled());
    UMLModelTree* tree = frame->getModelTree();
    wxTreeItemId root = tree->GetRootItem();
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(tree->GetItemText(root), "root node");
    wxTreeItemIdValue cookie;
    wxTreeItemId modelItem = tree->GetFirstChild(root, cookie);
    ASSERT_TRUE(modelItem.IsOk());
    EXPECT_EQ(tree->GetItemText(modelItem), "Shop");
    EXPECT_EQ(tree->GetChildrenCount(modelItem, false), 0u) << "filled when first expanded";
    tree->Expand(modelItem);
    EXPECT_EQ(tree->GetChildrenCount(modelItem, false), 1u);
}

TEST_F(MainFrameTest, FailedLoadAfterAGoodOneLeavesNothing) {
    TempFile good("good.xmi", goodModel);
    TempFile bad("bad.xmi", xmiDocument("<UML:Model/>", "1.0"));
    chooser.answers = {good.path(), bad.path()};
    sendCommand(frame, ID_MENU_OPEN_MODEL);
    ASSERT_NE(frame->getModelData(), nullptr);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].title, "Open UML Model");
    EXPECT_EQ(chooser.asked[0].wildcard, "XMI/XML files|*.xmi;*.xml|All files|*.*");
    EXPECT_FALSE(chooser.asked[0].save);

    sendCommand(frame, ID_TOOL_OPEN_MODEL); // the tool behaves as the menu item
    EXPECT_EQ(frame->getModelData(), nullptr);
    EXPECT_EQ(treeItems(), 0u);
    EXPECT_FALSE(frame->isMetricsCommandEnabled());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "XMI version too low");
    EXPECT_EQ(messages.messages[0].caption, "Error loading model");
}

TEST_F(MainFrameTest, UnparsableFileShowsTheParserBoxThenTheReaderBox) {
    TempFile broken("broken.xmi", "<XMI xmi.version='1.2'><XMI.header>");
    frame->loadModel(broken.path());
    EXPECT_EQ(frame->getModelData(), nullptr);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].caption, "Brennimore error");
    EXPECT_EQ(messages.messages[1].text, "Not an XMI document");
}

TEST_F(MainFrameTest, CancelledDialogAndCloseModel) {
    TempFile good("good.xmi", goodModel);
    frame->loadModel(good.path());
    ASSERT_NE(frame->getModelData(), nullptr);
    chooser.answers = {""};
    sendCommand(frame, ID_MENU_OPEN_MODEL);
    EXPECT_NE(frame->getModelData(), nullptr) << "cancelling changes nothing";

    sendCommand(frame, ID_MENU_CLOSE_MODEL);
    EXPECT_EQ(frame->getModelData(), nullptr);
    EXPECT_EQ(frame->getSelectionList(), nullptr);
    EXPECT_EQ(treeItems(), 0u);
    EXPECT_FALSE(frame->isMetricsCommandEnabled());
}

TEST_F(MainFrameTest, AboutBoxNamesVersionAndBuildDate) {
    AboutDialog dialog(frame);
    EXPECT_EQ(dialog.GetTitle(), "About Brennimore");
    auto* text = dynamic_cast<wxStaticText*>(wxWindow::FindWindowById(ID_ABOUT_TEXT, &dialog));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->GetLabel().StartsWith("Brennimore v0.09 (Dec 21 2004)\n\n"));
    EXPECT_NE(wxWindow::FindWindowById(ID_ABOUT_OK, &dialog), nullptr);
    EXPECT_NE(wxWindow::FindWindowById(ID_ABOUT_PICTURE, &dialog), nullptr);
}

namespace {
const std::string metricsText = "[Lines of code %int]\np,120\n\n\n[Classes]\n3\n";
}

TEST_F(MainFrameTest, MetricsBesideTheModelLoadWithoutAsking) {
    TempFile model("model.XmI", goodModel);
    std::string beside = model.folder() + "/model.txt";
    {
        std::ofstream out(beside);
        out << metricsText;
    }
    frame->loadModel(model.path());
    ASSERT_NE(frame->getModelData(), nullptr);
    ASSERT_NE(frame->getMetricCollection(), nullptr);
    EXPECT_EQ(frame->getMetricCollection()->globalMetrics.size(), 1u);
    EXPECT_FALSE(frame->isMetricsCommandEnabled()) << "one metrics file per model";
    EXPECT_TRUE(wxWindow::FindWindowById(ID_METRICS_SLIDER, frame)->IsEnabled());

    sendCommand(frame, ID_MENU_CLOSE_MODEL);
    EXPECT_EQ(frame->getMetricCollection(), nullptr);
    EXPECT_FALSE(wxWindow::FindWindowById(ID_METRICS_SLIDER, frame)->IsEnabled());
}

TEST_F(MainFrameTest, FolderNamedLikeTheMetricsFileBesideTheModelIsNotLoaded) {
    TempFile model("model.xmi", goodModel);
    ASSERT_TRUE(std::filesystem::create_directory(model.folder() + "/model.txt"));
    frame->loadModel(model.path());
    ASSERT_NE(frame->getModelData(), nullptr);
    EXPECT_EQ(frame->getMetricCollection(), nullptr);
    EXPECT_TRUE(frame->isMetricsCommandEnabled());
    EXPECT_FALSE(wxWindow::FindWindowById(ID_METRICS_SLIDER, frame)->IsEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainFrameTest, MetricsCommandLoadsOnceAndReportsUnreadableFiles) {
    TempFile model("shop.xmi", goodModel);
    TempFile metrics("shop-metrics.txt", metricsText);
    frame->loadModel(model.path());
    ASSERT_TRUE(frame->isMetricsCommandEnabled());
    ASSERT_EQ(frame->getMetricCollection(), nullptr);

    // A missing file and a folder are both unreadable.
    const std::string unreadable[] = {"/nonexistent/metrics.txt", metrics.folder()};
    chooser.answers = {unreadable[0], unreadable[1], metrics.path()};
    for (const std::string& path : unreadable) {
        SCOPED_TRACE(path);
        messages.messages.clear();
        sendCommand(frame, ID_TOOL_OPEN_METRICS);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, "Unable to open metrics file");
        EXPECT_EQ(messages.messages[0].caption, "Brennimore error");
        EXPECT_TRUE(messages.messages[0].style & MessageStyle::IconError);
        EXPECT_EQ(frame->getMetricCollection(), nullptr);
        EXPECT_TRUE(frame->isMetricsCommandEnabled()) << "a failed load leaves the command open";
        EXPECT_FALSE(wxWindow::FindWindowById(ID_METRICS_SLIDER, frame)->IsEnabled());
    }
    ASSERT_EQ(chooser.asked.size(), 2u);
    EXPECT_EQ(chooser.asked[0].title, "Open Metrics");
    EXPECT_EQ(chooser.asked[0].wildcard, "txt files|*.txt|All files|*.*");

    sendCommand(frame, ID_MENU_OPEN_METRICS);
    ASSERT_NE(frame->getMetricCollection(), nullptr);
    EXPECT_EQ(frame->getMetricCollection()->properties.count("Lines of code"), 1u);
    EXPECT_FALSE(frame->isMetricsCommandEnabled());
}

TEST_F(MainFrameTest, MetricsOptionAfterAFailedModelIsSkipped) {
    TempFile metrics("m.txt", metricsText);
    startWith({"-u", "/nonexistent/model.xmi", "-m", metrics.path()});
    EXPECT_EQ(frame->getModelData(), nullptr);
    EXPECT_EQ(frame->getMetricCollection(), nullptr);
    EXPECT_EQ(files.metricsFile, metrics.path());
}

TEST_F(MainFrameTest, ExportCommandSavesTheCanvasWhereAndAsLargeAsTheDialogsSay) {
    const wxSize canvasSize = frame->getCanvas()->GetClientSize();
    struct Case {
        std::optional<ImageExportRequest> answer; // empty: the size dialog is cancelled
        int width, height;                        // 0: no file
    };
    for (const Case& c :
         {Case{ImageExportRequest{}, canvasSize.GetWidth(), canvasSize.GetHeight()},
          Case{ImageExportRequest{610, 290, false}, 610, 290}, Case{std::nullopt, 0, 0}}) {
        TempFile target("view.png");
        std::remove(target.path().c_str());
        chooser.asked.clear();
        chooser.answers = {target.path()};
        std::vector<wxSize> askedWith;
        auto previous = setExportSizeAsker([&](wxWindow*, const wxSize& size) {
            askedWith.push_back(size);
            return c.answer;
        });
        flushEvents();
        sendCommand(frame, ID_TOOL_EXPORT);
        setExportSizeAsker(previous);
        ASSERT_EQ(chooser.asked.size(), 1u);
        EXPECT_EQ(chooser.asked[0].title, "Save as image");
        EXPECT_EQ(chooser.asked[0].defaultName, "diagram");
        EXPECT_EQ(chooser.asked[0].defaultExtension, ".png");
        EXPECT_EQ(chooser.asked[0].wildcard,
                  "PNG file|*.png|JPEG file|*.jpg|SVG file|*.svg|PDF file|*.pdf");
        EXPECT_TRUE(chooser.asked[0].save);
        EXPECT_EQ(askedWith, std::vector<wxSize>{canvasSize});
        EXPECT_TRUE(messages.messages.empty());
        wxImage image;
        if (c.width == 0) {
            EXPECT_FALSE(wxFileExists(target.path()));
            continue;
        }
        ASSERT_TRUE(image.LoadFile(target.path(), wxBITMAP_TYPE_PNG));
        EXPECT_EQ(image.GetWidth(), c.width);
        EXPECT_EQ(image.GetHeight(), c.height);
        EXPECT_EQ(image.GetRed(image.GetWidth() / 2, image.GetHeight() / 2), 255);
    }
    // The canvas is laid out as before.
    EXPECT_EQ(frame->getCanvas()->activeView()->width, canvasSize.GetWidth());
}

TEST_F(MainFrameTest, ExportSizeDialogAnswersWhatItsControlsShow) {
    ExportSizeDialog dialog(frame, wxSize(320, 200));
    EXPECT_EQ(dialog.request().width, 0); // the canvas's size unless changed
    EXPECT_FALSE(dialog.request().frames);
    dialog.chooseSize(4000, 3000);
    dialog.setFrames(true);
    EXPECT_EQ(dialog.request().width, 4000);
    EXPECT_EQ(dialog.request().height, 3000);
    EXPECT_TRUE(dialog.request().frames);
    dialog.chooseCanvasSize();
    EXPECT_EQ(dialog.request().width, 0);
    EXPECT_EQ(dialog.request().height, 0);
}

TEST(WxUserMessages, BoxesWithoutAnIconAskForNone) {
    struct Case {
        int style;
        long expected;
    };
    const Case cases[] = {
        {MessageStyle::Ok | MessageStyle::Centre, wxOK | wxCENTRE | wxICON_NONE},
        {MessageStyle::Ok | MessageStyle::Centre | MessageStyle::ParentFrame,
         wxOK | wxCENTRE | wxICON_NONE},
        {MessageStyle::Ok | MessageStyle::IconError, wxOK | wxICON_ERROR},
        {MessageStyle::Ok | MessageStyle::IconInformation | MessageStyle::ParentFrame,
         wxOK | wxICON_INFORMATION},
        {MessageStyle::Ok | MessageStyle::IconWarning, wxOK | wxICON_WARNING},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wxMessageBoxStyle(c.style), c.expected) << c.style;
}
