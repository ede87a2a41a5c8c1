// Runs the GUI tests inside a real toolkit application (under Xvfb in CI).
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "xmi/XMIParser.h"

// The toolkit's libraries are built without frame pointers: only the slow unwinder follows
// a leak's stack through them to the functions that scripts/lsan.supp names.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

namespace {
class TestApplication : public wxApp {
public:
    bool OnInit() override { return true; }
};
} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new TestApplication);
    if (!wxEntryStart(argc, argv))
        return 1;
    wxTheApp->CallOnInit();
    wxImage::AddHandler(new wxJPEGHandler);
    wxImage::AddHandler(new wxPNGHandler);
    int result;
    {
        XmlParserSession parserLibrary;
        result = RUN_ALL_TESTS();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
