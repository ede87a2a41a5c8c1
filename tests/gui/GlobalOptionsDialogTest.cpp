// The options dialog on a store: the key tree, the editor pages in both directions, the
// colour-map editing and Cancel putting the store back.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include "gui/GlobalOptionsDialog.h"
#include "gui/GuiTestSupport.h"
#include "gui/Ids.h"

namespace {

class GlobalOptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { setDefaultConfiguration(store); }
    void TearDown() override {
        if (dialog)
            dialog->Destroy();
        flushEvents();
    }
    GlobalOptionsDialog& open(const std::string& group = "") {
        dialog = new GlobalOptionsDialog(nullptr, &store, group);
        dialog->setColourChooser([this](wxWindow*, wxColour& colour) {
            offered = colour;
            if (!answer.IsOk())
                return false;
            colour = answer;
            return true;
        });
        return *dialog;
    }
    void select(const std::string& key) {
        wxTreeItemId item = dialog->findItem(key);
        ASSERT_TRUE(item.IsOk()) << key;
        dialog->keyTree()->SelectItem(item);
    }
    template <class T> T* control(int id) { return static_cast<T*>(dialog->FindWindow(id)); }
    void press(int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        dialog->ProcessWindowEvent(event);
    }
    void slide(int id, int value) {
        control<wxSlider>(id)->SetValue(value);
        wxCommandEvent event(wxEVT_SLIDER, id);
        event.SetInt(value);
        dialog->ProcessWindowEvent(event);
    }
    std::vector<std::string> topLevel() {
        std::vector<std::string> names;
        wxTreeCtrl* tree = dialog->keyTree();
        wxTreeItemIdValue cookie;
        for (wxTreeItemId i = tree->GetFirstChild(tree->GetRootItem(), cookie); i.IsOk();
             i = tree->GetNextChild(tree->GetRootItem(), cookie))
            names.push_back(tree->GetItemText(i).utf8_str().data());
        return names;
    }

    Configuration store;
    GlobalOptionsDialog* dialog = nullptr;
    wxColour answer;  // what the colour chooser answers; invalid = cancelled
    wxColour offered; // what it was opened with
};

} // namespace

TEST_F(GlobalOptionsDialogTest, TreeListsTheDottedKeysInInsertionOrder) {
    store.setBool(".Hidden", true);
    store.setFloat("Visualizer.General.Shadows", 4.0f); // also a bool: the bool page wins
    open();
    EXPECT_EQ(topLevel(), (std::vector<std::string>{"Visualizer", "Canvas", "HoverInfo"}));
    EXPECT_EQ(dialog->GetTitle(), "Global configuration options");
    EXPECT_EQ(dialog->currentPage(), GlobalOptionsDialog::NonePage);
    EXPECT_EQ(dialog->selectedKey(), "");

    select("Visualizer.General.Shadows");
    EXPECT_EQ(dialog->currentPage(), GlobalOptionsDialog::BoolPage);
    EXPECT_EQ(control<wxCheckBox>(ID_CONFIG_BOOL)->GetLabel(), "Shadows");
    EXPECT_TRUE(control<wxCheckBox>(ID_CONFIG_BOOL)->GetValue());
    select("Visualizer.General");
    EXPECT_EQ(dialog->currentPage(), GlobalOptionsDialog::NonePage);

    // The user cannot turn the pages.
    wxBookCtrlEvent turn(wxEVT_NOTEBOOK_PAGE_CHANGING, ID_CONFIG_PAGES, 2, 0);
    dialog->ProcessWindowEvent(turn);
    EXPECT_FALSE(turn.IsAllowed());
    EXPECT_EQ(store.bools().size(), 14u) << "listing the keys inserted nothing";
}

TEST_F(GlobalOptionsDialogTest, GroupIsPreselected) {
    open("HoverInfo");
    EXPECT_EQ(dialog->selectedKey(), "HoverInfo");
    EXPECT_EQ(dialog->keyTree()->GetItemText(dialog->keyTree()->GetSelection()), "HoverInfo");
}

TEST_F(GlobalOptionsDialogTest, FloatTextAndSpinFollowEachOther) {
    open();
    select("Visualizer.UMLModel.ArrowAngle");
    auto* text = control<wxTextCtrl>(ID_CONFIG_FLOAT_TEXT);
    auto* spin = control<wxSpinButton>(ID_CONFIG_FLOAT_SPIN);
    EXPECT_EQ(dialog->currentPage(), GlobalOptionsDialog::FloatPage);
    EXPECT_EQ(text->GetValue(), "0.270");
    EXPECT_EQ(spin->GetValue(), 27);
    EXPECT_FLOAT_EQ(store.getFloat("Visualizer.UMLModel.ArrowAngle"), 0.27f)
        << "showing a value does not round it";

    struct Case {
        const char* typed;
        int spin;
        float stored;
    } cases[] = {{"2.5", 250, 2.5f}, {"abc", 0, 0.0f}, {"1e9", 100000, 1e9f}, {"inf", 0, 0.0f}};
    for (const Case& c : cases) {
        text->SetValue(c.typed);
        EXPECT_EQ(spin->GetValue(), c.spin) << c.typed;
        EXPECT_FLOAT_EQ(store.getFloat("Visualizer.UMLModel.ArrowAngle"), c.stored) << c.typed;
    }

    spin->SetValue(1234);
    wxSpinEvent step(wxEVT_SPIN, ID_CONFIG_FLOAT_SPIN);
    step.SetPosition(1234);
    dialog->ProcessWindowEvent(step);
    EXPECT_EQ(text->GetValue(), "12.340000");
    EXPECT_FLOAT_EQ(store.getFloat("Visualizer.UMLModel.ArrowAngle"), 12.34f);
}

TEST_F(GlobalOptionsDialogTest, ColourPageKeepsAlphaApartAndClampsTheSwatch) {
    store.setColor("Canvas.Separator.Color", Color(2.0f, -1.0f, 0.5f, 0.25f));
    open();
    select("Canvas.Separator.Color");
    EXPECT_EQ(dialog->currentPage(), GlobalOptionsDialog::ColorPage);
    EXPECT_EQ(control<wxPanel>(ID_CONFIG_COLOR_SWATCH)->GetBackgroundColour(),
              wxColour(255, 0, 127));
    EXPECT_EQ(control<wxSlider>(ID_CONFIG_COLOR_ALPHA)->GetValue(), 63);

    answer = wxColour(0, 51, 255);
    press(ID_CONFIG_COLOR_CHANGE);
    EXPECT_EQ(offered, wxColour(255, 0, 127));
    EXPECT_EQ(store.getColor("Canvas.Separator.Color"), Color(0.0f, 0.2f, 1.0f, 0.25f));
    slide(ID_CONFIG_COLOR_ALPHA, 255);
    EXPECT_EQ(store.getColor("Canvas.Separator.Color"), Color(0.0f, 0.2f, 1.0f, 1.0f));
    answer = wxColour(); // cancelled
    press(ID_CONFIG_COLOR_CHANGE);
    EXPECT_EQ(store.getColor("Canvas.Separator.Color"), Color(0.0f, 0.2f, 1.0f, 1.0f));
}

TEST_F(GlobalOptionsDialogTest, ColormapEntriesMoveAndTheButtonsFollowTheSelection) {
    const Color red(1, 0, 0, 1), green(0, 1, 0, 1), blue(0, 0, 1, 0.5f);
    store.setColormap("2D Pie.Colormap", Colormap{red, green, blue});
    open("2D Pie");
    select("2D Pie.Colormap");
    auto* lines = control<wxListBox>(ID_CONFIG_MAP_LIST);
    auto enabled = [&](int id) { return dialog->FindWindow(id)->IsEnabled(); };
    ASSERT_EQ(dialog->currentPage(), GlobalOptionsDialog::ColormapPage);
    ASSERT_EQ(lines->GetCount(), 3u);
    EXPECT_EQ(lines->GetString(2), "[0 0 255 127]");
    EXPECT_EQ(lines->GetSelection(), 0);

    lines->SetSelection(2);
    wxCommandEvent pick(wxEVT_LISTBOX, ID_CONFIG_MAP_LIST);
    pick.SetInt(2);
    dialog->ProcessWindowEvent(pick);
    EXPECT_FALSE(enabled(ID_CONFIG_MAP_DOWN));
    EXPECT_TRUE(enabled(ID_CONFIG_MAP_UP));
    EXPECT_EQ(control<wxSlider>(ID_CONFIG_MAP_ALPHA)->GetValue(), 127);

    press(ID_CONFIG_MAP_UP);
    EXPECT_EQ(store.getColormap("2D Pie.Colormap"), (Colormap{red, blue, green}));
    EXPECT_EQ(lines->GetSelection(), 1);
    EXPECT_EQ(lines->GetString(1), "[0 0 255 127]");
    EXPECT_EQ(lines->GetString(2), "[0 255 0 255]");

    press(ID_CONFIG_MAP_ADD);
    EXPECT_EQ(lines->GetSelection(), 3);
    EXPECT_EQ(lines->GetString(3), "[0 0 0 255]");
    answer = wxColour(255, 255, 0);
    press(ID_CONFIG_MAP_CHANGE);
    slide(ID_CONFIG_MAP_ALPHA, 0);
    EXPECT_EQ(store.getColormap("2D Pie.Colormap"),
              (Colormap{red, blue, green, Color(1, 1, 0, 0)}));

    for (int i = 0; i < 5; ++i)
        press(ID_CONFIG_MAP_REMOVE);
    EXPECT_EQ(store.getColormap("2D Pie.Colormap").size(), 1u) << "one entry always stays";
    EXPECT_FALSE(enabled(ID_CONFIG_MAP_REMOVE));
    EXPECT_FALSE(enabled(ID_CONFIG_MAP_UP));
    EXPECT_FALSE(enabled(ID_CONFIG_MAP_DOWN));
}

TEST_F(GlobalOptionsDialogTest, CancelPutsTheStoreBackAndOkKeepsTheEdits) {
    for (int button : {ID_CONFIG_CANCEL, ID_CONFIG_OK}) {
        setDefaultConfiguration(store);
        open();
        select("Visualizer.General.Shadows");
        auto* box = control<wxCheckBox>(ID_CONFIG_BOOL);
        box->SetValue(false);
        wxCommandEvent toggle(wxEVT_CHECKBOX, ID_CONFIG_BOOL);
        toggle.SetInt(0);
        dialog->ProcessWindowEvent(toggle);
        select("HoverInfo.FontSize");
        control<wxTextCtrl>(ID_CONFIG_FLOAT_TEXT)->SetValue("20");
        EXPECT_FALSE(store.getBool("Visualizer.General.Shadows")) << "edits apply at once";
        press(ID_CONFIG_APPLY);
        press(button);
        const bool kept = button == ID_CONFIG_OK;
        EXPECT_EQ(dialog->GetReturnCode(), kept ? wxID_OK : wxID_CANCEL);
        EXPECT_EQ(store.getBool("Visualizer.General.Shadows"), !kept) << button;
        EXPECT_FLOAT_EQ(store.getFloat("HoverInfo.FontSize"), kept ? 20.0f : 8.0f) << button;
        dialog->Destroy();
        dialog = nullptr;
    }
}
