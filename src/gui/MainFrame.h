#pragma once
// The single top-level window: splitters with the model tree, the options panel and the
// canvas; menus, toolbar and the control strip; it owns the loaded model.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/frame.h>

#include "gui/FileChooser.h"
#include "metrics/MetricCollection.h"
#include "visualizers/MetricViz.h"
#include "visualizers/UMLElementSelection.h"
#include "visualizers/VisualizerRegistry.h"

class wxDialog;
class wxSplitterWindow;
class wxPanel;
class wxToolBar;
class UMLModelTree;
class UMLModelElement;
class XMIResult;
class Canvas;
class OptionsPanel;
class Configuration;
struct ConfigurationTargets;

class mainFrame : public wxFrame {
public:
    mainFrame(const wxString& title, const wxPoint& pos, const wxSize& size);
    ~mainFrame() override;

    // Loads an XMI file, replacing the current model; failures are shown to the user.
    void loadModel(const std::string& fileName);
    // Drops the current model and everything that hangs on it.
    void unloadModel();
    // Loads a metrics file for the current model; failures are shown to the user.
    void loadMetrics(const std::string& fileName);
    void unloadMetrics();
    // Reads a configuration file and applies it to the settings, the views and the current
    // metrics; showMessage confirms a successful load to the user. A file that cannot be
    // read is reported and changes nothing.
    void loadConfiguration(const std::string& fileName, bool showMessage);
    // Writes the settings, the views and the current metrics' properties and shown metrics;
    // a file that cannot be written is reported.
    void saveConfiguration(const std::string& fileName);
    // The shown metrics (the current collection's activeMetrics) or their properties
    // changed wholesale: the metric list and the canvas follow.
    void metricsShownChanged();

    // The options dialog on a store, modal; group names the top-level item to preselect
    // ("" for none). Repaints when it closes.
    void openOptionsDialog(Configuration* store, const std::string& group);
    // The overview of the global metrics, or the message saying why there is none.
    void showGlobalMetrics();
    // Runs the frame's modal dialogs; tests replace it so that nothing blocks. Null
    // restores ShowModal.
    void setDialogRunner(std::function<int(wxDialog&)> runner);

    XMIResult* getModelData() const { return modelData.get(); }
    UMLSelectionList* getSelectionList() const { return selectionList.get(); }
    UMLModelTree* getModelTree() const { return modelTree; }
    Canvas* getCanvas() const { return canvas; }
    OptionsPanel* getOptionsPanel() const { return optionsPanel; }
    bool isMetricsCommandEnabled() const;
    // The current metrics, or null when none are loaded.
    MetricCollection* getMetricCollection() const { return metrics.current(); }

    const VisualizerRegistry& getVisualizers() const { return visualizers; }
    const GlyphRegistry& getGlyphs() const { return glyphs; }
    // Brings the control strip in line with the active view.
    void syncControlStrip();

    // Replaces the file dialogs (tests answer them); null restores the standard ones.
    void setFileChooser(FileChooser* chooser);

    wxSplitterWindow* mainSplitter = nullptr; // child windows are owned by wx
    wxSplitterWindow* leftSplitter = nullptr;

private:
    void buildContents();
    OptionsPanel* buildOptionsPanel(wxWindow* parent);
    void buildMenuBar();
    void buildToolBar();
    void setMetricsCommandEnabled(bool enabled);
    ConfigurationTargets configurationTargets();
    std::string choose(const std::string& title, const std::string& defaultName,
                       const std::string& defaultExtension, const std::string& wildcard, bool save);

    void onFileCommand(wxCommandEvent& event);
    void onAbout(wxCommandEvent& event);
    void onToolCommand(wxCommandEvent& event);
    void onViewCommand(wxCommandEvent& event);
    void onOpacitySlider(wxScrollEvent& event);

    // The registries outlive every view that points at their instances.
    VisualizerRegistry visualizers;
    GlyphRegistry glyphs;
    std::unique_ptr<XMIResult> modelData;
    unsigned modelGeneration = 0; // counts loads, so late work knows its model is still there
    std::unique_ptr<UMLSelectionList> selectionList;
    // Every collection loaded for the current model: their records hang on its elements,
    // so they go together with the model.
    MetricCollectionHolder metrics;

    UMLModelTree* modelTree = nullptr;
    OptionsPanel* optionsPanel = nullptr;
    Canvas* canvas = nullptr;
    wxToolBar* toolBar = nullptr;

    WxFileChooser standardChooser;
    FileChooser* fileChooser = &standardChooser;
    std::function<int(wxDialog&)> runDialog;

    wxDECLARE_EVENT_TABLE();
};

// The one main frame, reachable from everywhere; null before it exists and after it closed.
extern mainFrame* theMainFrame;
