#include "gui/MainFrame.h"

#include <wx/artprov.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/splitter.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "common/DataFiles.h"
#include "common/Exception.h"
#include "common/FileNames.h"
#include "common/UserMessages.h"
#include "gui/AboutDialog.h"
#include "gui/Canvas.h"
#include "gui/Ids.h"
#include "gui/UMLModelTree.h"
#include "metrics/MetricsReader.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

mainFrame* theMainFrame = nullptr;

// clang-format off
wxBEGIN_EVENT_TABLE(mainFrame, wxFrame)
    EVT_MENU(ID_MENU_OPEN_MODEL, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_OPEN_METRICS, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_LOAD_CONFIG, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_SAVE_CONFIG, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_EXPORT, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_CLOSE_MODEL, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_EXIT, mainFrame::onFileCommand)
    EVT_MENU(ID_MENU_ABOUT, mainFrame::onAbout)
    EVT_MENU_RANGE(ID_TOOL_OPEN_MODEL, ID_TOOL_GLOBAL_METRICS, mainFrame::onToolCommand)
wxEND_EVENT_TABLE()
// clang-format on

mainFrame::mainFrame(const wxString& title, const wxPoint& pos, const wxSize& size)
    : wxFrame(nullptr, wxID_ANY, title, pos, size, wxDEFAULT_FRAME_STYLE) {
    buildContents();
    buildMenuBar();
    buildToolBar();
    SetIcon(wxArtProvider::GetIcon(wxART_EXECUTABLE_FILE, wxART_FRAME_ICON, wxSize(32, 32)));
}

mainFrame::~mainFrame() {
    if (theMainFrame == this)
        theMainFrame = nullptr;
}

namespace {
wxBitmap toolBitmap(const wxArtID& id, int size) {
    return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxSize(size, size));
}

wxBitmapButton* stripButton(wxWindow* parent, wxWindowID id, const wxArtID& art,
                            const wxString& tip) {
    auto* button = new wxBitmapButton(parent, id, toolBitmap(art, 16));
    button->SetToolTip(tip);
    return button;
}
} // namespace

void mainFrame::buildContents() {
    mainSplitter = new wxSplitterWindow(this, ID_MAIN_SPLITTER, wxDefaultPosition, wxDefaultSize,
                                        wxSP_3D | wxSP_LIVE_UPDATE);
    mainSplitter->SetMinimumPaneSize(64);

    leftSplitter = new wxSplitterWindow(mainSplitter, ID_LEFT_SPLITTER, wxDefaultPosition,
                                        wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE);
    leftSplitter->SetMinimumPaneSize(64);
    modelTree = new UMLModelTree(leftSplitter, ID_MODEL_TREE);
    optionsPanel = new wxPanel(leftSplitter, wxID_ANY);
    leftSplitter->SplitHorizontally(modelTree, optionsPanel);

    auto* right = new wxPanel(mainSplitter, wxID_ANY);
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* strip = new wxBoxSizer(wxHORIZONTAL);

    auto* viewGroup = new wxStaticBoxSizer(wxHORIZONTAL, right, "View control");
    wxWindow* viewBox = viewGroup->GetStaticBox();
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_FIT, wxART_FULL_SCREEN, "Zoom to fit diagram"));
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_RESET, wxART_UNDO, "Reset zoom factor"));
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_IN, wxART_PLUS, "Zoom in"));
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_OUT, wxART_MINUS, "Zoom out"));
    viewGroup->Add(
        stripButton(viewBox, ID_RESET_CAMERA, wxART_GO_HOME, "Reset camera orientation"));
    viewGroup->Add(stripButton(viewBox, ID_REFRESH, wxART_REDO, "Refresh display"));
    viewGroup->Add(new wxCheckBox(viewBox, ID_PERSPECTIVE, "Perspective"), 0,
                   wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    viewGroup->Add(new wxCheckBox(viewBox, ID_STEREO, "Stereo"), 0,
                   wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    strip->Add(viewGroup, 0, wxALL, 2);

    auto* visualizerGroup = new wxStaticBoxSizer(wxHORIZONTAL, right, "Visualizer");
    wxWindow* visualizerBox = visualizerGroup->GetStaticBox();
    visualizerGroup->Add(
        new wxChoice(visualizerBox, ID_VISUALIZER_CHOICE, wxDefaultPosition, wxSize(100, -1)), 0,
        wxALIGN_CENTER_VERTICAL);
    visualizerGroup->Add(
        stripButton(visualizerBox, ID_VISUALIZER_OPTIONS, wxART_HELP_SETTINGS, "Options"));
    strip->Add(visualizerGroup, 0, wxALL, 2);

    auto* windowGroup = new wxStaticBoxSizer(wxHORIZONTAL, right, "Window Management");
    wxWindow* windowBox = windowGroup->GetStaticBox();
    windowGroup->Add(stripButton(windowBox, ID_SPLIT_VERTICAL, wxART_GO_FORWARD,
                                 "Vertically split active window"));
    windowGroup->Add(stripButton(windowBox, ID_SPLIT_HORIZONTAL, wxART_GO_DOWN,
                                 "Horizontally split active window"));
    windowGroup->Add(stripButton(windowBox, ID_DELETE_VIEW, wxART_DELETE, "Delete active window"));
    strip->Add(windowGroup, 0, wxALL, 2);

    auto* opacityGroup = new wxStaticBoxSizer(wxVERTICAL, right, "Tranparency");
    wxWindow* opacityBox = opacityGroup->GetStaticBox();
    auto* grid = new wxFlexGridSizer(2, 2, 0, 4);
    grid->Add(new wxStaticText(opacityBox, ID_MODEL_LABEL, "Model"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(
        new wxSlider(opacityBox, ID_MODEL_SLIDER, 191, 0, 255, wxDefaultPosition, wxSize(120, -1)));
    grid->Add(new wxStaticText(opacityBox, ID_METRICS_LABEL, "Metrics"), 0,
              wxALIGN_CENTER_VERTICAL);
    auto* metricsSlider = new wxSlider(opacityBox, ID_METRICS_SLIDER, 128, 0, 255,
                                       wxDefaultPosition, wxSize(120, -1));
    // Enabled only while metrics are loaded.
    metricsSlider->Disable();
    grid->Add(metricsSlider);
    opacityGroup->Add(grid);
    strip->Add(opacityGroup, 0, wxALL, 2);

    column->Add(strip, 0, wxEXPAND);
    canvas = new Canvas(right, ID_CANVAS);
    column->Add(canvas, 1, wxEXPAND);
    right->SetSizer(column);

    mainSplitter->SplitVertically(leftSplitter, right);
}

void mainFrame::buildMenuBar() {
    auto* file = new wxMenu;
    file->Append(ID_MENU_OPEN_MODEL, "&Open UML model...\tCtrl-O");
    file->Append(ID_MENU_OPEN_METRICS, "Open &metrics file...\tCtrl-M");
    file->AppendSeparator();
    file->Append(ID_MENU_LOAD_CONFIG, "Load configuration...", "Load configuration settings");
    file->Append(ID_MENU_SAVE_CONFIG, "Save Configuration...", "Save configuration settings");
    file->Append(ID_MENU_EXPORT, "&Export to image\tCtrl-E", "Save the current view to an image");
    file->Append(ID_MENU_CLOSE_MODEL, "&Close model");
    file->AppendSeparator();
    file->Append(ID_MENU_EXIT, "&Exit\tCtrl-Q");
    auto* help = new wxMenu;
    help->Append(ID_MENU_ABOUT, "&About...");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(help, "&Help");
    SetMenuBar(bar);
    bar->Enable(ID_MENU_OPEN_METRICS, false);
}

void mainFrame::buildToolBar() {
    toolBar = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxNO_BORDER);
    toolBar->SetToolBitmapSize(wxSize(24, 24));
    struct Tool {
        int id;
        const char* tooltip;
        const char* label;
        wxArtID art;
    };
    const Tool tools[] = {
        {ID_TOOL_OPEN_MODEL, "Load UML model", "Load a UML model from an XMI file",
         wxART_FILE_OPEN},
        {ID_TOOL_OPEN_METRICS, "Load metrics file", "Load metrics file", wxART_REPORT_VIEW},
        {ID_TOOL_LOAD_CONFIG, "Load configuration settings", "Load configuration", wxART_GO_DIR_UP},
        {ID_TOOL_SAVE_CONFIG, "Save configuration settings", "Save configuration", wxART_FILE_SAVE},
        {ID_TOOL_EXPORT, "Save to image", "Save current view as image", wxART_FILE_SAVE_AS},
        {ID_TOOL_OPTIONS, "Options", "Change global application options", wxART_HELP_SETTINGS},
        {ID_TOOL_GLOBAL_METRICS, "Show global metrics overview", "Global metrics", wxART_LIST_VIEW},
    };
    for (const Tool& tool : tools)
        toolBar->AddTool(tool.id, tool.label, toolBitmap(tool.art, 24), tool.tooltip);
    toolBar->Realize();
    toolBar->EnableTool(ID_TOOL_OPEN_METRICS, false);
}

void mainFrame::setMetricsCommandEnabled(bool enabled) {
    GetMenuBar()->Enable(ID_MENU_OPEN_METRICS, enabled);
    toolBar->EnableTool(ID_TOOL_OPEN_METRICS, enabled);
}

bool mainFrame::isMetricsCommandEnabled() const {
    return GetMenuBar()->IsEnabled(ID_MENU_OPEN_METRICS) &&
           toolBar->GetToolEnabled(ID_TOOL_OPEN_METRICS);
}

void mainFrame::setFileChooser(FileChooser* chooser) {
    fileChooser = chooser ? chooser : &standardChooser;
}

std::string mainFrame::choose(const std::string& title, const std::string& defaultName,
                              const std::string& defaultExtension, const std::string& wildcard,
                              bool save) {
    return fileChooser->chooseFile(this, title, defaultName, defaultExtension, wildcard, save);
}

void mainFrame::loadModel(const std::string& fileName) {
    unloadModel();
    std::unique_ptr<XMINode> tree = parseFile(fileName);
    if (!tree)
        return;
    std::unique_ptr<XMIResult> loaded;
    {
        XMIReader reader;
        try {
            reader.read(tree.get());
        } catch (const XMIParseException& e) {
            showUserMessage(e.getMessage(), "Error loading model",
                            MessageStyle::Ok | MessageStyle::Centre | MessageStyle::ParentFrame);
            return;
        }
        loaded = reader.takeResult();
    }
    modelData = std::move(loaded);
    selectionList = std::make_unique<std::vector<UMLModelElement*>>();

    wxTreeItemId root = modelTree->AddRoot("root node");
    modelTree->addElement(root, modelData->model);
    for (UMLDiagram* diagram : modelData->diagrams)
        modelTree->addDiagram(root, diagram);
    modelTree->Expand(root);

    setMetricsCommandEnabled(true);
    tree.reset();

    std::string metricsName = companionMetricsFile(fileName);
    if (!metricsName.empty())
        loadMetrics(metricsName);
}

void mainFrame::unloadModel() {
    unloadMetrics();
    modelTree->clear();
    modelData.reset();
    selectionList.reset();
    setMetricsCommandEnabled(false);
}

void mainFrame::loadMetrics(const std::string& fileName) {
    // Metrics attach to the elements of a loaded model; without one there is nothing to do.
    if (!modelData)
        return;
    try {
        metrics.install(loadMetricsFile(fileName, *modelData));
    } catch (const MetricsParseException& e) {
        showUserMessage(e.getMessage(), "Brennimore error",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::IconError |
                            MessageStyle::ParentFrame);
        return;
    }
    // One metrics file per loaded model.
    setMetricsCommandEnabled(false);
    if (wxWindow* slider = FindWindow(ID_METRICS_SLIDER))
        slider->Enable(true);
}

void mainFrame::unloadMetrics() {
    metrics.clear();
    if (wxWindow* slider = FindWindow(ID_METRICS_SLIDER))
        slider->Enable(false);
}

void mainFrame::loadConfiguration(const std::string& fileName, bool showMessage) {
    // The configuration file format arrives with its own reader; until then nothing to apply.
    (void)fileName;
    (void)showMessage;
}

void mainFrame::onFileCommand(wxCommandEvent& event) {
    switch (event.GetId()) {
    case ID_MENU_OPEN_MODEL: {
        std::string path =
            choose("Open UML Model", "", "", "XMI/XML files|*.xmi;*.xml|All files|*.*", false);
        if (!path.empty())
            loadModel(path);
        break;
    }
    case ID_MENU_OPEN_METRICS: {
        std::string path = choose("Open Metrics", "", "", "txt files|*.txt|All files|*.*", false);
        if (!path.empty())
            loadMetrics(path);
        break;
    }
    case ID_MENU_EXPORT: {
        std::string path =
            choose("Save as image", "diagram", ".png", "PNG file|*.png|JPEG file|*.jpg", true);
        if (!path.empty())
            canvas->exportImage(path);
        break;
    }
    case ID_MENU_LOAD_CONFIG:
    case ID_MENU_SAVE_CONFIG:
        break;
    case ID_MENU_CLOSE_MODEL:
        unloadModel();
        break;
    case ID_MENU_EXIT:
        Close(false);
        break;
    default:
        break;
    }
}

void mainFrame::onAbout(wxCommandEvent&) {
    AboutDialog dialog(this);
    dialog.ShowModal();
}

void mainFrame::onToolCommand(wxCommandEvent& event) {
    static const int menuFor[] = {ID_MENU_OPEN_MODEL, ID_MENU_OPEN_METRICS, ID_MENU_LOAD_CONFIG,
                                  ID_MENU_SAVE_CONFIG, ID_MENU_EXPORT};
    int index = event.GetId() - ID_TOOL_OPEN_MODEL;
    if (index >= 0 && index < 5) {
        wxCommandEvent forwarded(wxEVT_MENU, menuFor[index]);
        onFileCommand(forwarded);
    }
}
