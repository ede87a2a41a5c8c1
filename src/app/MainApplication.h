#pragma once
// The application object: log, parser library, image handlers, main frame, command line.
#include <string>

#include <wx/app.h>
#include <wx/cmdline.h>

class mainFrame;

// Creates the main frame as start-up does (size, sashes, maximised, centred, shown) and
// makes it the main-frame pointer.
mainFrame* createMainFrame();

// The three start-up options of the command line.
void declareCommandLine(wxCmdLineParser& parser);

// Takes the file names from a parsed command line (a metrics file only together with a
// model) and loads them into the main frame: model, metrics, then the configuration file
// if it can be opened.
void applyCommandLine(const wxCmdLineParser& parser, std::string& umlModelFile,
                      std::string& metricsFile, std::string& configFile);

class mainApplication : public wxApp {
public:
    bool OnInit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;
    int OnExit() override;

    std::string umlModelFile;
    std::string metricsFile;
    std::string configFile;
};
