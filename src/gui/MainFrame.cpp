#include "gui/MainFrame.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/icon.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/splitter.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>
#include <wx/wrapsizer.h>

#include "common/DataFiles.h"
#include "common/Exception.h"
#include "common/FileNames.h"
#include "common/UserMessages.h"
#include "gui/AboutDialog.h"
#include "gui/Canvas.h"
#include "gui/CountMetricsDialog.h"
#include "gui/ExportSizeDialog.h"
#include "gui/GlobalOptionsDialog.h"
#include "gui/Ids.h"
#include "gui/OptionsPanel.h"
#include "gui/UMLModelTree.h"
#include "metrics/MetricsReader.h"
#include "resources/ImageTable.h"
#include "visualizers/ConfigurationFile.h"
#include "visualizers/MetricViews.h"
#include "visualizers/MetricsVisualizer.h"
#include "xmi/ModelFile.h"
#include "xmi/XMIResult.h"

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
    EVT_BUTTON(ID_ZOOM_FIT, mainFrame::onViewCommand)
    EVT_BUTTON(ID_ZOOM_RESET, mainFrame::onViewCommand)
    EVT_BUTTON(ID_ZOOM_IN, mainFrame::onViewCommand)
    EVT_BUTTON(ID_ZOOM_OUT, mainFrame::onViewCommand)
    EVT_BUTTON(ID_RESET_CAMERA, mainFrame::onViewCommand)
    EVT_BUTTON(ID_REFRESH, mainFrame::onViewCommand)
    EVT_BUTTON(ID_VISUALIZER_OPTIONS, mainFrame::onViewCommand)
    EVT_BUTTON(ID_SPLIT_VERTICAL, mainFrame::onViewCommand)
    EVT_BUTTON(ID_SPLIT_HORIZONTAL, mainFrame::onViewCommand)
    EVT_BUTTON(ID_DELETE_VIEW, mainFrame::onViewCommand)
    EVT_CHECKBOX(ID_PERSPECTIVE, mainFrame::onViewCommand)
    EVT_CHECKBOX(ID_STEREO, mainFrame::onViewCommand)
    EVT_CHOICE(ID_VISUALIZER_CHOICE, mainFrame::onViewCommand)
    EVT_COMMAND_SCROLL(ID_MODEL_SLIDER, mainFrame::onOpacitySlider)
    EVT_COMMAND_SCROLL(ID_METRICS_SLIDER, mainFrame::onOpacitySlider)
wxEND_EVENT_TABLE()
// clang-format on

mainFrame::mainFrame(const wxString& title, const wxPoint& pos, const wxSize& size)
    : wxFrame(nullptr, wxID_ANY, title, pos, size, wxDEFAULT_FRAME_STYLE),
      visualizers(makeVisualizerRegistry()), glyphs(makeGlyphRegistry()) {
    buildContents();
    buildMenuBar();
    buildToolBar();
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(imageTable::drawImage(imageTable::programImage, 32)));
    SetIcon(icon);

    auto* choice = static_cast<wxChoice*>(FindWindow(ID_VISUALIZER_CHOICE));
    for (const auto& [name, instance] : visualizers)
        choice->Append(name, static_cast<void*>(instance.get()));
    CanvasViews& views = canvas->views();
    installMetricViewHooks(views);
    views.setVisualizer(defaultVisualizer(visualizers));
    canvas->setActiveViewChangedHandler([this] { syncControlStrip(); });
    syncControlStrip();
}

mainFrame::~mainFrame() {
    if (theMainFrame == this)
        theMainFrame = nullptr;
}

namespace {
wxBitmapButton* stripButton(wxWindow* parent, wxWindowID id, const char* picture,
                            const wxString& tip) {
    auto* button =
        new wxBitmapButton(parent, id, imageTable::bitmap(picture, imageTable::buttonImageSize));
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
    optionsPanel = buildOptionsPanel(leftSplitter);
    leftSplitter->SplitHorizontally(modelTree, optionsPanel);

    auto* right = new wxPanel(mainSplitter, wxID_ANY);
    auto* column = new wxBoxSizer(wxVERTICAL);
    // The groups wrap to a second row when the frame is too narrow for all of them.
    auto* strip = new wxWrapSizer(wxHORIZONTAL);

    auto* viewGroup = new wxStaticBoxSizer(wxHORIZONTAL, right, "View control");
    wxWindow* viewBox = viewGroup->GetStaticBox();
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_FIT, "zoom-fit", "Zoom to fit diagram"));
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_RESET, "zoom-reset", "Reset zoom factor"));
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_IN, "zoom-in", "Zoom in"));
    viewGroup->Add(stripButton(viewBox, ID_ZOOM_OUT, "zoom-out", "Zoom out"));
    viewGroup->Add(
        stripButton(viewBox, ID_RESET_CAMERA, "camera-reset", "Reset camera orientation"));
    viewGroup->Add(stripButton(viewBox, ID_REFRESH, "refresh", "Refresh display"));
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
        stripButton(visualizerBox, ID_VISUALIZER_OPTIONS, "visualizer-options", "Options"));
    strip->Add(visualizerGroup, 0, wxALL, 2);

    auto* windowGroup = new wxStaticBoxSizer(wxHORIZONTAL, right, "Window Management");
    wxWindow* windowBox = windowGroup->GetStaticBox();
    windowGroup->Add(stripButton(windowBox, ID_SPLIT_VERTICAL, "split-vertical",
                                 "Vertically split active window"));
    windowGroup->Add(stripButton(windowBox, ID_SPLIT_HORIZONTAL, "split-horizontal",
                                 "Horizontally split active window"));
    windowGroup->Add(stripButton(windowBox, ID_DELETE_VIEW, "delete-view", "Delete active window"));
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
    // Choosing in the tree shows that diagram (or none) in the active view.
    modelTree->setDiagramChooser([this](UMLDiagram* diagram) {
        canvas->views().setDiagram(diagram);
        canvas->Refresh(false);
    });
    right->SetSizer(column);

    mainSplitter->SplitVertically(leftSplitter, right);
}

OptionsPanel* mainFrame::buildOptionsPanel(wxWindow* parent) {
    OptionsPanel::Host host;
    host.metrics = [this] { return metrics.current(); };
    host.visualizer = [this]() -> MetricsVisualizer* {
        CanvasWindow* view = canvas ? canvas->views().activeView() : nullptr;
        return view ? dynamic_cast<MetricsVisualizer*>(view->visualizer) : nullptr;
    };
    host.repaintCanvas = [this] {
        if (canvas)
            canvas->Refresh(false);
    };
    host.glyphs = &glyphs;
    auto* panel = new OptionsPanel(parent, std::move(host));
    // "Advanced options..." edits the metric's own settings, its glyph's group opened.
    panel->setAdvancedOptions([this](const std::string&, MetricProperties& properties) {
        openOptionsDialog(&properties.config(), properties.viz ? properties.viz->getName() : "");
    });
    return panel;
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
        const char* picture;
    };
    const Tool tools[] = {
        {ID_TOOL_OPEN_MODEL, "Load UML model", "Load a UML model from an XMI file", "open-model"},
        {ID_TOOL_OPEN_METRICS, "Load metrics file", "Load metrics file", "open-metrics"},
        {ID_TOOL_LOAD_CONFIG, "Load configuration settings", "Load configuration", "load-config"},
        {ID_TOOL_SAVE_CONFIG, "Save configuration settings", "Save configuration", "save-config"},
        {ID_TOOL_EXPORT, "Save to image", "Save current view as image", "export-image"},
        {ID_TOOL_OPTIONS, "Options", "Change global application options", "global-options"},
        {ID_TOOL_GLOBAL_METRICS, "Show global metrics overview", "Global metrics",
         "global-metrics"},
    };
    for (const Tool& tool : tools)
        toolBar->AddTool(tool.id, tool.label,
                         imageTable::bitmap(tool.picture, imageTable::toolImageSize), tool.tooltip);
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
    std::unique_ptr<XMIResult> loaded = readModelFile(fileName);
    if (!loaded)
        return;
    modelData = std::move(loaded);
    selectionList = std::make_unique<UMLSelectionList>();
    canvas->views().setSelectionList(selectionList.get());

    wxTreeItemId root = modelTree->AddRoot("root node");
    modelTree->addElement(root, modelData->model);
    wxTreeItemId firstShown;
    for (UMLDiagram* diagram : modelData->diagrams) {
        wxTreeItemId item = modelTree->addDiagram(root, diagram);
        if (!firstShown.IsOk() && item.IsOk() && !diagram->element.empty())
            firstShown = item;
    }
    modelTree->Expand(root);
    // A model opens on its first diagram with content, so there is something to see at once.
    // At start-up the canvas gets its size only when the frame is laid out, so the diagram is
    // chosen once the pending events have run.
    if (firstShown.IsOk())
        CallAfter([this, firstShown, generation = ++modelGeneration] {
            if (generation == modelGeneration && modelData &&
                !canvas->views().activeView()->diagram)
                modelTree->SelectItem(firstShown);
        });

    setMetricsCommandEnabled(true);

    std::string metricsName = companionMetricsFile(fileName);
    if (!metricsName.empty())
        loadMetrics(metricsName);
}

void mainFrame::unloadModel() {
    unloadMetrics();
    // No view, hover box or click cycle may point into the model once it is gone.
    canvas->views().forgetModel();
    modelTree->clear();
    modelData.reset();
    selectionList.reset();
    setMetricsCommandEnabled(false);
}

void mainFrame::loadMetrics(const std::string& fileName) {
    // Metrics attach to the elements of a loaded model; without one there is nothing to do.
    if (!modelData)
        return;
    canvas->views().clearHovers();
    MetricCollection* loaded = nullptr;
    try {
        loaded = metrics.install(loadMetricsFile(fileName, *modelData));
        setRegistryMetrics(visualizers, loaded);
    } catch (const MetricsParseException& e) {
        showUserMessage(e.getMessage(), "Brennimore error",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::IconError |
                            MessageStyle::ParentFrame);
        return;
    }
    optionsPanel->openMetrics(*loaded);
    // One metrics file per loaded model.
    setMetricsCommandEnabled(false);
    if (wxWindow* slider = FindWindow(ID_METRICS_SLIDER))
        slider->Enable(true);
}

void mainFrame::unloadMetrics() {
    canvas->views().clearHovers();
    setRegistryMetrics(visualizers, nullptr);
    optionsPanel->unloadMetrics();
    // The records go with their collections, so the elements must stop listing them first.
    if (modelData)
        detachElementMetrics(*modelData);
    metrics.clear();
    if (wxWindow* slider = FindWindow(ID_METRICS_SLIDER))
        slider->Enable(false);
}

ConfigurationTargets mainFrame::configurationTargets() {
    ConfigurationTargets targets;
    targets.global = &globalConfiguration;
    targets.views = &canvas->views();
    targets.model = modelData.get();
    targets.metrics = metrics.current();
    targets.glyphs = &glyphs;
    return targets;
}

void mainFrame::loadConfiguration(const std::string& fileName, bool showMessage) {
    const ConfigurationFileStatus status = loadConfigurationFile(fileName, configurationTargets());
    if (!status.ok) {
        showUserMessage(status.error, "Brennimore error",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::IconError |
                            MessageStyle::ParentFrame);
        return;
    }
    metricsShownChanged();
    syncControlStrip();
    canvas->Refresh(false);
    if (showMessage)
        showUserMessage("Configuration loaded.", "Brennimore info",
                        MessageStyle::Ok | MessageStyle::IconInformation |
                            MessageStyle::ParentFrame);
}

void mainFrame::saveConfiguration(const std::string& fileName) {
    const ConfigurationFileStatus status = saveConfigurationFile(fileName, configurationTargets());
    if (!status.ok)
        showUserMessage(status.error, "Brennimore error",
                        MessageStyle::Ok | MessageStyle::Centre | MessageStyle::IconError |
                            MessageStyle::ParentFrame);
}

void mainFrame::metricsShownChanged() {
    // The metric list follows activeMetrics: check boxes and row colours.
    optionsPanel->refreshFromMetrics();
    canvas->Refresh(false);
}

void mainFrame::setDialogRunner(std::function<int(wxDialog&)> runner) {
    runDialog = std::move(runner);
}

void mainFrame::openOptionsDialog(Configuration* store, const std::string& group) {
    if (!store)
        return;
    GlobalOptionsDialog dialog(this, store, group);
    if (runDialog)
        runDialog(dialog);
    else
        dialog.ShowModal();
    canvas->Refresh(false);
}

void mainFrame::showGlobalMetrics() {
    const int style = MessageStyle::Ok | MessageStyle::IconError;
    MetricCollection* current = metrics.current();
    if (!current) {
        showUserMessage("No metrics are currently loaded", "Brennimore Error", style);
        return;
    }
    if (current->globalMetrics.empty()) {
        showUserMessage("No global metrics are currently available", "Brennimore Error", style);
        return;
    }
    std::vector<CountMetric*> counts;
    for (const auto& metric : current->globalMetrics)
        counts.push_back(metric.get());
    CountMetricsDialog dialog(this, counts);
    if (runDialog)
        runDialog(dialog);
    else
        dialog.ShowModal();
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
            choose("Save as image", "diagram", ".png",
                   "PNG file|*.png|JPEG file|*.jpg|SVG file|*.svg|PDF file|*.pdf", true);
        if (path.empty())
            break;
        if (const auto request = askExportSize(this, canvas->GetClientSize()))
            canvas->exportImage(path, *request);
        break;
    }
    case ID_MENU_LOAD_CONFIG: {
        std::string path =
            choose("Load Configuration", "", "", "cfg files|*.cfg|All files|*.*", false);
        if (!path.empty())
            loadConfiguration(path, true);
        break;
    }
    case ID_MENU_SAVE_CONFIG: {
        std::string path =
            choose("Save Configuration", "", "", "cfg files|*.cfg|All files|*.*", true);
        if (!path.empty())
            saveConfiguration(path);
        break;
    }
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

void mainFrame::syncControlStrip() {
    CanvasViews& views = canvas->views();
    CanvasWindow* view = views.activeView();
    if (!view)
        return;
    auto* choice = static_cast<wxChoice*>(FindWindow(ID_VISUALIZER_CHOICE));
    choice->SetStringSelection(visualizerName(visualizers, view->visualizer));
    static_cast<wxCheckBox*>(FindWindow(ID_PERSPECTIVE))->SetValue(view->perspective);
    static_cast<wxCheckBox*>(FindWindow(ID_STEREO))->SetValue(view->stereo);
    FindWindow(ID_DELETE_VIEW)->Enable(!views.root().isLeaf());
    optionsPanel->syncWithActiveView();
}

void mainFrame::onViewCommand(wxCommandEvent& event) {
    CanvasViews& views = canvas->views();
    switch (event.GetId()) {
    case ID_ZOOM_FIT:
        views.zoomToFit();
        break;
    case ID_ZOOM_RESET:
        views.resetZoom();
        break;
    case ID_ZOOM_IN:
        views.zoomIn();
        break;
    case ID_ZOOM_OUT:
        views.zoomOut();
        break;
    case ID_RESET_CAMERA:
        views.resetCamera();
        break;
    case ID_PERSPECTIVE:
        views.setPerspective(event.IsChecked());
        break;
    case ID_STEREO:
        views.setStereo(event.IsChecked());
        break;
    case ID_VISUALIZER_CHOICE: {
        auto* choice = static_cast<wxChoice*>(FindWindow(ID_VISUALIZER_CHOICE));
        const int index = choice->GetSelection();
        if (index != wxNOT_FOUND)
            views.setVisualizer(static_cast<UMLModelVisualizer*>(choice->GetClientData(index)));
        break;
    }
    case ID_SPLIT_VERTICAL:
        views.splitActiveWindow(false);
        break;
    case ID_SPLIT_HORIZONTAL:
        views.splitActiveWindow(true);
        break;
    case ID_DELETE_VIEW:
        views.deleteActiveWindow();
        break;
    case ID_VISUALIZER_OPTIONS:
        openOptionsDialog(&globalConfiguration, "Visualizer");
        break;
    default:
        break;
    }
    syncControlStrip();
    canvas->Refresh(false);
}

void mainFrame::onOpacitySlider(wxScrollEvent& event) {
    CanvasWindow* view = canvas->views().activeView();
    if (!view || !view->visualizer)
        return;
    const float value = static_cast<float>(event.GetPosition()) / 255.0f;
    if (event.GetId() == ID_MODEL_SLIDER) {
        view->visualizer->opacity = value;
    } else if (auto* m = dynamic_cast<MetricsVisualizer*>(view->visualizer)) {
        m->inRangeOpacity = value;
    } else {
        return;
    }
    canvas->Refresh(false);
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
    } else if (event.GetId() == ID_TOOL_OPTIONS) {
        openOptionsDialog(&globalConfiguration, "");
    } else if (event.GetId() == ID_TOOL_GLOBAL_METRICS) {
        showGlobalMetrics();
    }
}
