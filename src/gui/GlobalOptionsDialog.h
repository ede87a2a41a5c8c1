#pragma once
// Edits every entry of one configuration store: the global settings, or the properties of
// one metric. The keys form a tree by their dotted parts; the selected key's kind decides
// the editor page. Edits reach the store at once; Cancel puts back what the store held
// when the dialog opened.
#include <functional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/treectrl.h>

#include "config/Configuration.h"

class wxCheckBox;
class wxListBox;
class wxNotebook;
class wxBookCtrlEvent;
class wxPanel;
class wxSlider;
class wxSpinButton;
class wxSpinEvent;
class wxStaticBitmap;
class wxTextCtrl;

class GlobalOptionsDialog : public wxDialog {
public:
    // group names a top-level item to select at once ("Visualizer", a glyph's name); empty
    // selects nothing. The store must outlive the dialog.
    GlobalOptionsDialog(wxWindow* parent, Configuration* store, const std::string& group);

    // Asks the user for a colour, starting from the given one; false when cancelled. The
    // standard colour chooser unless replaced (tests answer it).
    using ColourChooser = std::function<bool(wxWindow* parent, wxColour& colour)>;
    void setColourChooser(ColourChooser chooser) { chooseColour_ = std::move(chooser); }

    // Notebook pages, in order.
    enum Page { NonePage, BoolPage, FloatPage, ColorPage, ColormapPage };

    wxTreeCtrl* keyTree() const { return tree_; }
    // The item for a dotted key; not ok when there is none.
    wxTreeItemId findItem(const std::string& key) const;
    // The key of the selected item (a group's path for a group item).
    const std::string& selectedKey() const { return key_; }
    int currentPage() const;
    // The colour-map entries being edited and the selected one.
    const std::vector<Color>& colormapEntries() const { return entries_; }

private:
    wxPanel* buildPage(Page page);
    void buildTree();
    std::string keyOf(wxTreeItemId item) const;
    void showPage(Page page);
    void showColor(const Color& color, wxPanel* swatch, wxSlider* alpha);
    void showEntry();
    void colormapChanged();
    void fillEntryLines();
    void drawPreview();
    void repaintOwner();
    void finish(int code);
    void restoreBackup();

    void onTreeSelection(wxTreeEvent& event);
    void onPageChanging(wxBookCtrlEvent& event);
    void onBool(wxCommandEvent& event);
    void onFloatText(wxCommandEvent& event);
    void onFloatSpin(wxSpinEvent& event);
    void onColorChange(wxCommandEvent& event);
    void onColorAlpha(wxCommandEvent& event);
    void onMapLine(wxCommandEvent& event);
    void onMapButton(wxCommandEvent& event);
    void onMapChange(wxCommandEvent& event);
    void onMapAlpha(wxCommandEvent& event);
    void onOk(wxCommandEvent& event);
    void onCancel(wxCommandEvent& event);
    void onApply(wxCommandEvent& event);
    void onClose(wxCloseEvent& event);

    Configuration* store_; // the edited store, owned by the caller
    Configuration backup_;
    std::string key_;
    std::vector<Color> entries_; // the colour map of the selected key, as edited
    int entry_ = 0;              // selected colour-map entry
    ColourChooser chooseColour_;

    wxTreeCtrl* tree_ = nullptr; // windows are owned by the dialog
    wxNotebook* pages_ = nullptr;
    wxCheckBox* boolBox_ = nullptr;
    wxTextCtrl* floatText_ = nullptr;
    wxSpinButton* floatSpin_ = nullptr;
    wxPanel* colorSwatch_ = nullptr;
    wxSlider* colorAlpha_ = nullptr;
    wxListBox* mapLines_ = nullptr;
    wxPanel* mapSwatch_ = nullptr;
    wxSlider* mapAlpha_ = nullptr;
    wxStaticBitmap* mapPreview_ = nullptr;

    wxDECLARE_EVENT_TABLE();
};

// Text forms of the dialog's fields; the decimal separator is always a point.
std::string formatFloatField(float value, int decimals);
// The spin position of a float: value x 100, truncated into the spin's range 0..100000.
int floatSpinPosition(float value);
// A colour-map entry as "[r g b a]", each component as an 8-bit intensity.
std::string formatColormapEntry(const Color& color);
