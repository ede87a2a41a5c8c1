#include "app/MainApplication.h"

#include <wx/image.h>
#include <wx/msgdlg.h>

#include "common/DataFiles.h"
#include "common/Log.h"
#include "common/UserMessages.h"
#include "gui/Ids.h"
#include "gui/MainFrame.h"
#include "gui/WxUserMessages.h"
#include "xmi/XMIParser.h"

#include <wx/splitter.h>

namespace {
WxUserMessages messageBoxes;
}

mainFrame* createMainFrame() {
    auto* frame = new mainFrame("Brennimore", wxDefaultPosition, wxSize(1024, 768));
    theMainFrame = frame;
    wxSize size = frame->GetSize();
    frame->mainSplitter->SetSashPosition(static_cast<int>(0.3 * size.GetWidth()));
    frame->leftSplitter->SetSashPosition(static_cast<int>(0.5 * size.GetHeight()));
    frame->Maximize(true);
    frame->Centre(wxBOTH);
    frame->Show(true);
    return frame;
}

bool mainApplication::OnInit() {
    processLog().open("log.txt");
    installUserMessages(&messageBoxes);

    std::string problem;
    if (!initializeXmlParser(problem)) {
        wxMessageBox("Error during initialization! :\n" + wxString::FromUTF8(problem),
                     "Brennimore error",
                     wxMessageBoxStyle(MessageStyle::Ok | MessageStyle::Centre));
        return false;
    }

    wxImage::AddHandler(new wxJPEGHandler);
    wxImage::AddHandler(new wxPNGHandler);

    SetTopWindow(createMainFrame());
    return wxApp::OnInit();
}

void declareCommandLine(wxCmdLineParser& parser) {
    parser.AddOption("u", "uml-model", "Load specified UML model on startup");
    parser.AddOption("m", "metrics", "Load specified metrics file on startup (requires UML model)");
    parser.AddOption("c", "config", "Load specified global configuration file on startup");
}

void applyCommandLine(const wxCmdLineParser& parser, std::string& umlModelFile,
                      std::string& metricsFile, std::string& configFile) {
    umlModelFile.clear();
    metricsFile.clear();
    configFile = "default.cfg";
    wxString value;
    if (parser.Found("u", &value)) {
        umlModelFile = value.utf8_str();
        if (parser.Found("m", &value))
            metricsFile = value.utf8_str();
    }
    if (parser.Found("c", &value))
        configFile = value.utf8_str();

    if (theMainFrame && !umlModelFile.empty()) {
        theMainFrame->loadModel(umlModelFile);
        if (!metricsFile.empty())
            theMainFrame->loadMetrics(metricsFile);
    }
    // The configuration file is applied after the model and the metrics; a missing one
    // (the usual "default.cfg") is skipped silently.
    if (theMainFrame && fileIsReadable(configFile))
        theMainFrame->loadConfiguration(configFile, false);
}

void mainApplication::OnInitCmdLine(wxCmdLineParser& parser) {
    wxApp::OnInitCmdLine(parser);
    declareCommandLine(parser);
}

bool mainApplication::OnCmdLineParsed(wxCmdLineParser& parser) {
    applyCommandLine(parser, umlModelFile, metricsFile, configFile);
    return true;
}

int mainApplication::OnExit() {
    terminateXmlParser();
    installUserMessages(nullptr);
    processLog().close();
    return 0;
}
