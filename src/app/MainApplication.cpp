#include "app/MainApplication.h"

bool mainApplication::OnInit() { return wxApp::OnInit(); }
void mainApplication::OnInitCmdLine(wxCmdLineParser& parser) { wxApp::OnInitCmdLine(parser); }
bool mainApplication::OnCmdLineParsed(wxCmdLineParser&) { return true; }
int mainApplication::OnExit() { return 0; }
