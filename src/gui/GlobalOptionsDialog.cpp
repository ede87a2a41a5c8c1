#include "gui/GlobalOptionsDialog.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/colordlg.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "config/ConfigurationText.h"
#include "gui/Ids.h"

// clang-format off
wxBEGIN_EVENT_TABLE(GlobalOptionsDialog, wxDialog)
    EVT_TREE_SEL_CHANGED(ID_CONFIG_TREE, GlobalOptionsDialog::onTreeSelection)
    EVT_NOTEBOOK_PAGE_CHANGING(ID_CONFIG_PAGES, GlobalOptionsDialog::onPageChanging)
    EVT_CHECKBOX(ID_CONFIG_BOOL, GlobalOptionsDialog::onBool)
    EVT_TEXT(ID_CONFIG_FLOAT_TEXT, GlobalOptionsDialog::onFloatText)
    EVT_SPIN(ID_CONFIG_FLOAT_SPIN, GlobalOptionsDialog::onFloatSpin)
    EVT_BUTTON(ID_CONFIG_COLOR_CHANGE, GlobalOptionsDialog::onColorChange)
    EVT_SLIDER(ID_CONFIG_COLOR_ALPHA, GlobalOptionsDialog::onColorAlpha)
    EVT_LISTBOX(ID_CONFIG_MAP_LIST, GlobalOptionsDialog::onMapLine)
    EVT_BUTTON(ID_CONFIG_MAP_UP, GlobalOptionsDialog::onMapButton)
    EVT_BUTTON(ID_CONFIG_MAP_DOWN, GlobalOptionsDialog::onMapButton)
    EVT_BUTTON(ID_CONFIG_MAP_ADD, GlobalOptionsDialog::onMapButton)
    EVT_BUTTON(ID_CONFIG_MAP_REMOVE, GlobalOptionsDialog::onMapButton)
    EVT_BUTTON(ID_CONFIG_MAP_CHANGE, GlobalOptionsDialog::onMapChange)
    EVT_SLIDER(ID_CONFIG_MAP_ALPHA, GlobalOptionsDialog::onMapAlpha)
    EVT_BUTTON(ID_CONFIG_OK, GlobalOptionsDialog::onOk)
    EVT_BUTTON(ID_CONFIG_CANCEL, GlobalOptionsDialog::onCancel)
    EVT_BUTTON(ID_CONFIG_APPLY, GlobalOptionsDialog::onApply)
    EVT_CLOSE(GlobalOptionsDialog::onClose)
wxEND_EVENT_TABLE()
// clang-format on

std::string formatFloatField(float value, int decimals) {
    char buffer[512];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

int floatSpinPosition(float value) {
    const float scaled = value * 100.0f;
    if (!(scaled > 0.0f))
        return 0;
    if (scaled >= 100000.0f)
        return 100000;
    return static_cast<int>(scaled);
}

std::string formatColormapEntry(const Color& c) {
    return "[" + std::to_string(colorByte(c.r)) + " " + std::to_string(colorByte(c.g)) + " " +
           std::to_string(colorByte(c.b)) + " " + std::to_string(colorByte(c.a)) + "]";
}

namespace {

constexpr int previewWidth = 256;
constexpr int previewHeight = 24;

wxColour swatchColour(const Color& c) {
    return wxColour(colorByte(c.r), colorByte(c.g), colorByte(c.b));
}

bool standardColourChooser(wxWindow* parent, wxColour& colour) {
    wxColour chosen = wxGetColourFromUser(parent, colour);
    if (!chosen.IsOk())
        return false;
    colour = chosen;
    return true;
}

wxPanel* makeSwatch(wxWindow* parent, wxWindowID id) {
    return new wxPanel(parent, id, wxDefaultPosition, wxSize(48, 24), wxBORDER_SIMPLE);
}

} // namespace

GlobalOptionsDialog::GlobalOptionsDialog(wxWindow* parent, Configuration* store,
                                         const std::string& group)
    : wxDialog(parent, wxID_ANY, "Global configuration options", wxDefaultPosition,
               wxSize(512, 512), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      store_(store), backup_(*store), chooseColour_(standardColourChooser) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    tree_ = new wxTreeCtrl(this, ID_CONFIG_TREE, wxDefaultPosition, wxSize(200, 280),
                           wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE);
    row->Add(tree_, 0, wxEXPAND | wxALL, 5);
    pages_ = new wxNotebook(this, ID_CONFIG_PAGES);
    const char* titles[] = {"None", "Boolean", "Float", "Color", "Colormap"};
    for (int page = NonePage; page <= ColormapPage; ++page)
        pages_->AddPage(buildPage(static_cast<Page>(page)), titles[page]);
    row->Add(pages_, 1, wxEXPAND | wxALL, 5);
    column->Add(row, 1, wxEXPAND);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, ID_CONFIG_OK, "OK"), 0, wxALL, 5);
    buttons->Add(new wxButton(this, ID_CONFIG_CANCEL, "Cancel"), 0, wxALL, 5);
    buttons->Add(new wxButton(this, ID_CONFIG_APPLY, "Apply"), 0, wxALL, 5);
    column->Add(buttons, 0, wxALIGN_RIGHT);
    SetSizer(column);
    // Escape and the window's close box cancel, so they put the backup back as well.
    SetEscapeId(ID_CONFIG_CANCEL);
    SetAffirmativeId(ID_CONFIG_OK);

    buildTree();
    // The tree control may pick an item by itself; only the group is preselected.
    tree_->UnselectAll();
    key_.clear();
    showPage(NonePage);
    if (!group.empty()) {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = tree_->GetFirstChild(tree_->GetRootItem(), cookie); item.IsOk();
             item = tree_->GetNextChild(tree_->GetRootItem(), cookie))
            if (tree_->GetItemText(item).utf8_str().data() == group) {
                tree_->SelectItem(item);
                tree_->EnsureVisible(item);
                break;
            }
    }
}

wxPanel* GlobalOptionsDialog::buildPage(Page page) {
    auto* panel = new wxPanel(pages_);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    switch (page) {
    case NonePage:
        break;
    case BoolPage:
        boolBox_ = new wxCheckBox(panel, ID_CONFIG_BOOL, "invalid");
        sizer->Add(boolBox_, 0, wxALL, 5);
        break;
    case FloatPage: {
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        floatText_ = new wxTextCtrl(panel, ID_CONFIG_FLOAT_TEXT);
        floatSpin_ = new wxSpinButton(panel, ID_CONFIG_FLOAT_SPIN, wxDefaultPosition, wxDefaultSize,
                                      wxSP_VERTICAL);
        floatSpin_->SetRange(0, 100000);
        line->Add(floatText_, 1, wxALIGN_CENTER_VERTICAL);
        line->Add(floatSpin_, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
        sizer->Add(line, 0, wxEXPAND | wxALL, 5);
        break;
    }
    case ColorPage: {
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        colorSwatch_ = makeSwatch(panel, ID_CONFIG_COLOR_SWATCH);
        line->Add(colorSwatch_, 0, wxALIGN_CENTER_VERTICAL);
        line->Add(new wxButton(panel, ID_CONFIG_COLOR_CHANGE, "Change..."), 0,
                  wxALIGN_CENTER_VERTICAL | wxLEFT, 5);
        sizer->Add(line, 0, wxALL, 5);
        sizer->Add(new wxStaticText(panel, ID_CONFIG_COLOR_LABEL, "Transparency"), 0,
                   wxLEFT | wxTOP, 5);
        colorAlpha_ = new wxSlider(panel, ID_CONFIG_COLOR_ALPHA, 255, 0, 255);
        sizer->Add(colorAlpha_, 0, wxEXPAND | wxALL, 5);
        break;
    }
    case ColormapPage: {
        auto* top = new wxBoxSizer(wxHORIZONTAL);
        mapLines_ = new wxListBox(panel, ID_CONFIG_MAP_LIST, wxDefaultPosition, wxSize(-1, 120));
        top->Add(mapLines_, 1, wxEXPAND);
        auto* moves = new wxBoxSizer(wxVERTICAL);
        moves->Add(new wxButton(panel, ID_CONFIG_MAP_UP, "Up"), 0, wxEXPAND | wxBOTTOM, 2);
        moves->Add(new wxButton(panel, ID_CONFIG_MAP_DOWN, "Down"), 0, wxEXPAND | wxBOTTOM, 2);
        moves->Add(new wxButton(panel, ID_CONFIG_MAP_ADD, "Add"), 0, wxEXPAND | wxBOTTOM, 2);
        moves->Add(new wxButton(panel, ID_CONFIG_MAP_REMOVE, "Remove"), 0, wxEXPAND);
        top->Add(moves, 0, wxLEFT, 5);
        sizer->Add(top, 1, wxEXPAND | wxALL, 5);
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        mapSwatch_ = makeSwatch(panel, ID_CONFIG_MAP_SWATCH);
        line->Add(mapSwatch_, 0, wxALIGN_CENTER_VERTICAL);
        line->Add(new wxButton(panel, ID_CONFIG_MAP_CHANGE, "Change..."), 0,
                  wxALIGN_CENTER_VERTICAL | wxLEFT, 5);
        sizer->Add(line, 0, wxLEFT | wxRIGHT, 5);
        mapAlpha_ = new wxSlider(panel, ID_CONFIG_MAP_ALPHA, 255, 0, 255);
        sizer->Add(mapAlpha_, 0, wxEXPAND | wxALL, 5);
        auto* preview = new wxStaticBoxSizer(wxVERTICAL, panel, "Preview");
        mapPreview_ = new wxStaticBitmap(preview->GetStaticBox(), ID_CONFIG_MAP_PREVIEW,
                                         wxBitmap(previewWidth, previewHeight));
        preview->Add(mapPreview_, 0, wxALL, 5);
        sizer->Add(preview, 0, wxEXPAND | wxALL, 5);
        break;
    }
    }
    panel->SetSizer(sizer);
    return panel;
}

void GlobalOptionsDialog::buildTree() {
    const wxTreeItemId root = tree_->AddRoot("root");
    auto insert = [&](const std::string& key) {
        // Keys starting with a dot are internal (thresholds) and never listed.
        if (key.empty() || key[0] == '.')
            return;
        wxTreeItemId parent = root;
        std::size_t start = 0;
        while (start <= key.size()) {
            std::size_t end = std::min(key.find('.', start), key.size());
            if (end > start) {
                const wxString part = wxString::FromUTF8(key.substr(start, end - start));
                wxTreeItemId found;
                wxTreeItemIdValue cookie;
                for (wxTreeItemId child = tree_->GetFirstChild(parent, cookie); child.IsOk();
                     child = tree_->GetNextChild(parent, cookie))
                    if (tree_->GetItemText(child) == part) {
                        found = child;
                        break;
                    }
                parent = found.IsOk() ? found : tree_->AppendItem(parent, part);
            }
            start = end + 1;
        }
    };
    for (const auto& entry : store_->bools())
        insert(entry.first);
    for (const auto& entry : store_->floats())
        insert(entry.first);
    for (const auto& entry : store_->colors())
        insert(entry.first);
    for (const auto& entry : store_->colormaps())
        insert(entry.first);
    tree_->ExpandAll();
}

std::string GlobalOptionsDialog::keyOf(wxTreeItemId item) const {
    std::string key;
    for (; item.IsOk() && item != tree_->GetRootItem(); item = tree_->GetItemParent(item)) {
        std::string part = tree_->GetItemText(item).utf8_str().data();
        key = key.empty() ? part : part + "." + key;
    }
    return key;
}

wxTreeItemId GlobalOptionsDialog::findItem(const std::string& key) const {
    wxTreeItemId item = tree_->GetRootItem();
    std::size_t start = 0;
    while (item.IsOk() && start <= key.size()) {
        std::size_t end = std::min(key.find('.', start), key.size());
        if (end > start) {
            const wxString part = wxString::FromUTF8(key.substr(start, end - start));
            wxTreeItemId found;
            wxTreeItemIdValue cookie;
            for (wxTreeItemId child = tree_->GetFirstChild(item, cookie); child.IsOk();
                 child = tree_->GetNextChild(item, cookie))
                if (tree_->GetItemText(child) == part) {
                    found = child;
                    break;
                }
            item = found;
        }
        start = end + 1;
    }
    return item.IsOk() && item != tree_->GetRootItem() ? item : wxTreeItemId();
}

int GlobalOptionsDialog::currentPage() const {
    return pages_->GetSelection();
}

void GlobalOptionsDialog::showPage(Page page) {
    // Only the program switches pages, so this does not go through the vetoed event.
    pages_->ChangeSelection(static_cast<size_t>(page));
}

void GlobalOptionsDialog::showColor(const Color& color, wxPanel* swatch, wxSlider* alpha) {
    swatch->SetBackgroundColour(swatchColour(color));
    swatch->Refresh();
    alpha->SetValue(colorByte(color.a));
}

void GlobalOptionsDialog::onTreeSelection(wxTreeEvent& event) {
    const wxTreeItemId item = event.GetItem();
    key_ = keyOf(item);
    if (auto b = store_->bools().find(key_); b != store_->bools().end()) {
        boolBox_->SetLabel(tree_->GetItemText(item));
        boolBox_->SetValue(b->second);
        showPage(BoolPage);
    } else if (auto f = store_->floats().find(key_); f != store_->floats().end()) {
        floatText_->ChangeValue(formatFloatField(f->second, 3));
        floatSpin_->SetValue(floatSpinPosition(f->second));
        showPage(FloatPage);
    } else if (auto c = store_->colors().find(key_); c != store_->colors().end()) {
        showColor(c->second, colorSwatch_, colorAlpha_);
        showPage(ColorPage);
    } else if (auto m = store_->colormaps().find(key_); m != store_->colormaps().end()) {
        entries_ = m->second.colors();
        entry_ = 0;
        fillEntryLines();
        showEntry();
        showPage(ColormapPage);
    } else {
        showPage(NonePage);
    }
}

void GlobalOptionsDialog::onPageChanging(wxBookCtrlEvent& event) {
    event.Veto();
}

void GlobalOptionsDialog::onBool(wxCommandEvent&) {
    store_->setBool(key_, boolBox_->GetValue());
}

void GlobalOptionsDialog::onFloatText(wxCommandEvent&) {
    float value = parseFloatValue(floatText_->GetValue().utf8_str().data());
    // Like any text that is no number, infinities and NaN are read as 0: a setting holding
    // them could be neither drawn with nor saved.
    if (!std::isfinite(value))
        value = 0.0f;
    floatSpin_->SetValue(floatSpinPosition(value));
    store_->setFloat(key_, value);
}

void GlobalOptionsDialog::onFloatSpin(wxSpinEvent&) {
    const float value = static_cast<float>(floatSpin_->GetValue()) / 100.0f;
    floatText_->ChangeValue(formatFloatField(value, 6));
    store_->setFloat(key_, value);
}

void GlobalOptionsDialog::onColorChange(wxCommandEvent&) {
    Color color = store_->getColor(key_);
    wxColour chosen = swatchColour(color);
    if (!chooseColour_(this, chosen))
        return;
    color.r = static_cast<float>(chosen.Red()) / 255.0f;
    color.g = static_cast<float>(chosen.Green()) / 255.0f;
    color.b = static_cast<float>(chosen.Blue()) / 255.0f;
    showColor(color, colorSwatch_, colorAlpha_);
    store_->setColor(key_, color);
}

void GlobalOptionsDialog::onColorAlpha(wxCommandEvent&) {
    Color color = store_->getColor(key_);
    color.a = static_cast<float>(colorAlpha_->GetValue()) / 255.0f;
    showColor(color, colorSwatch_, colorAlpha_);
    store_->setColor(key_, color);
}

void GlobalOptionsDialog::fillEntryLines() {
    mapLines_->Clear();
    for (const Color& c : entries_)
        mapLines_->Append(formatColormapEntry(c));
}

// Shows entry s with the buttons and the preview that go with it.
void GlobalOptionsDialog::showEntry() {
    if (entries_.empty())
        entries_.push_back(Color());
    const int count = static_cast<int>(entries_.size());
    entry_ = std::clamp(entry_, 0, count - 1);
    const auto s = static_cast<std::size_t>(entry_);
    mapLines_->SetString(static_cast<unsigned>(s), formatColormapEntry(entries_[s]));
    mapLines_->SetSelection(entry_);
    showColor(entries_[s], mapSwatch_, mapAlpha_);
    FindWindow(ID_CONFIG_MAP_UP)->Enable(entry_ != 0);
    FindWindow(ID_CONFIG_MAP_DOWN)->Enable(entry_ != count - 1);
    FindWindow(ID_CONFIG_MAP_REMOVE)->Enable(count > 1);
    drawPreview();
}

void GlobalOptionsDialog::colormapChanged() {
    showEntry();
    store_->setColormap(key_, Colormap(entries_));
}

void GlobalOptionsDialog::onMapLine(wxCommandEvent& event) {
    if (event.GetSelection() < 0)
        return;
    entry_ = event.GetSelection();
    colormapChanged();
}

void GlobalOptionsDialog::onMapButton(wxCommandEvent& event) {
    const auto s = static_cast<std::size_t>(entry_);
    switch (event.GetId()) {
    case ID_CONFIG_MAP_ADD:
        entries_.push_back(Color(0, 0, 0, 1));
        mapLines_->Append(formatColormapEntry(entries_.back()));
        entry_ = static_cast<int>(entries_.size()) - 1;
        break;
    case ID_CONFIG_MAP_REMOVE:
        if (entries_.size() <= 1)
            return;
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(s));
        mapLines_->Delete(static_cast<unsigned>(s));
        entry_ = std::min(entry_, static_cast<int>(entries_.size()) - 1);
        break;
    case ID_CONFIG_MAP_UP:
        if (s == 0)
            return;
        std::swap(entries_[s], entries_[s - 1]);
        mapLines_->SetString(static_cast<unsigned>(s), formatColormapEntry(entries_[s]));
        --entry_;
        break;
    case ID_CONFIG_MAP_DOWN:
        if (s + 1 >= entries_.size())
            return;
        std::swap(entries_[s], entries_[s + 1]);
        mapLines_->SetString(static_cast<unsigned>(s), formatColormapEntry(entries_[s]));
        ++entry_;
        break;
    default:
        return;
    }
    colormapChanged();
}

void GlobalOptionsDialog::onMapChange(wxCommandEvent&) {
    Color& color = entries_[static_cast<std::size_t>(entry_)];
    wxColour chosen = swatchColour(color);
    if (!chooseColour_(this, chosen))
        return;
    color.r = static_cast<float>(chosen.Red()) / 255.0f;
    color.g = static_cast<float>(chosen.Green()) / 255.0f;
    color.b = static_cast<float>(chosen.Blue()) / 255.0f;
    colormapChanged();
}

void GlobalOptionsDialog::onMapAlpha(wxCommandEvent&) {
    entries_[static_cast<std::size_t>(entry_)].a =
        static_cast<float>(mapAlpha_->GetValue()) / 255.0f;
    colormapChanged();
}

// The map as a horizontal gradient; translucent colours lie over a chequered ground so
// that their transparency shows.
void GlobalOptionsDialog::drawPreview() {
    const Colormap map(entries_);
    wxImage image(previewWidth, previewHeight);
    for (int x = 0; x < previewWidth; ++x) {
        const Color c = map.lookup(static_cast<float>(x) / static_cast<float>(previewWidth));
        const float alpha = std::clamp(c.a, 0.0f, 1.0f);
        for (int y = 0; y < previewHeight; ++y) {
            const float ground = ((x / 6 + y / 6) % 2) ? 1.0f : 0.8f;
            auto mix = [&](float v) { return colorByte(v * alpha + ground * (1.0f - alpha)); };
            image.SetRGB(x, y, mix(c.r), mix(c.g), mix(c.b));
        }
    }
    mapPreview_->SetBitmap(wxBitmap(image));
}

void GlobalOptionsDialog::repaintOwner() {
    wxWindow* owner = GetParent();
    if (!owner)
        return;
    if (wxWindow* canvas = owner->FindWindow(ID_CANVAS))
        canvas->Refresh(false);
    // The options panel's layout preview.
    if (wxWindow* preview = owner->FindWindow(ID_OPTIONS_FIRST))
        preview->Refresh();
}

void GlobalOptionsDialog::finish(int code) {
    if (IsModal()) {
        EndModal(code);
    } else {
        SetReturnCode(code);
        Hide();
    }
}

void GlobalOptionsDialog::restoreBackup() {
    for (const auto& [key, value] : backup_.bools())
        store_->setBool(key, value);
    for (const auto& [key, value] : backup_.floats())
        store_->setFloat(key, value);
    for (const auto& [key, value] : backup_.colors())
        store_->setColor(key, value);
    for (const auto& [key, value] : backup_.colormaps())
        store_->setColormap(key, value);
}

void GlobalOptionsDialog::onOk(wxCommandEvent&) {
    repaintOwner();
    finish(wxID_OK);
}

void GlobalOptionsDialog::onCancel(wxCommandEvent&) {
    restoreBackup();
    repaintOwner();
    finish(wxID_CANCEL);
}

void GlobalOptionsDialog::onApply(wxCommandEvent&) {
    repaintOwner();
}

void GlobalOptionsDialog::onClose(wxCloseEvent&) {
    restoreBackup();
    repaintOwner();
    finish(wxID_CANCEL);
}
