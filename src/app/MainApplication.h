#pragma once
// The application object: log, parser library, image handlers, main frame, command line.
#include <string>

#include <wx/app.h>
#include <wx/cmdline.h>

class mainFrame;

// Creates the main frame as start-up does (size, sashes, maximised, centred, shown) and
// makes it the main-frame pointer.
mainFrame* createMainFrame();

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
