// Runs the toolkit tests inside an initialised wx application (no event loop of its own;
// tests drive the windows with events). Needs a display: run under xvfb-run.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

namespace {

class TestApplication : public wxApp {
public:
    bool OnInit() override { return true; }
};

class WxEnvironment : public ::testing::Environment {
public:
    WxEnvironment(int argc, char** argv) : argc_(argc), argv_(argv) {}

    void SetUp() override {
        wxApp::SetInstance(new TestApplication);
        ASSERT_TRUE(wxEntryStart(argc_, argv_)) << "no display for the toolkit";
        ASSERT_TRUE(wxTheApp->CallOnInit());
        // As the application does at start-up.
        wxImage::AddHandler(new wxPNGHandler);
        wxImage::AddHandler(new wxJPEGHandler);
    }
    void TearDown() override { wxEntryCleanup(); }

private:
    int argc_;
    char** argv_;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new WxEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
