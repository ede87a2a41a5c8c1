#include "gui/brCheckListCtrl.h"

#include <algorithm>

#include <wx/dcmemory.h>
#include <wx/imaglist.h>

namespace {

// The picture and the margin the toolkit leaves before a report-mode image.
constexpr int pictureColumnWidth = brCheckListCtrl::imageWidth + 8;

// The check box occupies the left 15 by 15 pixels of the row picture.
void drawCheckBox(wxDC& dc, bool checked) {
    dc.SetPen(wxPen(wxColour(64, 64, 64)));
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(1, 1, 13, 13);
    if (!checked)
        return;
    dc.SetPen(wxPen(wxColour(0, 0, 0), 2));
    const wxPoint mark[] = {{4, 7}, {6, 10}, {11, 4}};
    dc.DrawLines(3, mark);
}

bool darkLetterOn(const wxColour& c) {
    const double luminance =
        0.212671 * c.Red() / 255.0 + 0.71516 * c.Green() / 255.0 + 0.072169 * c.Blue() / 255.0;
    return luminance > 0.5;
}

} // namespace

brCheckListCtrl::brCheckListCtrl(wxWindow* parent, wxWindowID id)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL),
      images(new wxImageList(imageWidth, imageHeight, false)) {
    SetImageList(images, wxIMAGE_LIST_SMALL);
    mouseWindow()->Bind(wxEVT_LEFT_DOWN, &brCheckListCtrl::onMouseDown, this);
    mouseWindow()->Bind(wxEVT_LEFT_DCLICK, &brCheckListCtrl::onMouseDown, this);
    clearRows();
}

brCheckListCtrl::~brCheckListCtrl() {
    SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    delete images;
}

wxWindow* brCheckListCtrl::mouseWindow() const {
    // The generic list control receives its mouse events in an inner window, whose class is
    // private to the toolkit: it is found among the children by its address.
    for (wxWindow* child : GetChildren())
        if (static_cast<const void*>(child) == static_cast<const void*>(m_mainWin))
            return child;
    return const_cast<brCheckListCtrl*>(this);
}

void brCheckListCtrl::clearRows() {
    SetItemCount(0);
    DeleteAllColumns();
    rows.clear();
    images->RemoveAll();
    selectedRow = -1;
    pressedPicture = -1;
    AppendColumn("Checkbox and Color", wxLIST_FORMAT_LEFT, pictureColumnWidth);
    AppendColumn("Metric", wxLIST_FORMAT_LEFT);
    Refresh();
}

void brCheckListCtrl::addRow(const std::string& name, const wxColour& colour, int kind,
                             bool checked) {
    Row r;
    r.name = name;
    r.kind = kind;
    r.checked = checked;
    r.colour = colour;
    r.image = images->Add(wxBitmap(rowImage(checked, colour, kind)));
    rows.push_back(std::move(r));
}

void brCheckListCtrl::finishRows() {
    SetItemCount(static_cast<long>(rows.size()));
    SetColumnWidth(0, pictureColumnWidth);
    // The virtual control cannot measure rows it has not drawn, so the names are measured
    // here: the column fits the longest name, or its title when there are none.
    int width = 0, height = 0;
    GetTextExtent("Metric", &width, &height);
    for (const Row& r : rows) {
        int w = 0;
        GetTextExtent(wxString::FromUTF8(r.name), &w, &height);
        width = std::max(width, w);
    }
    SetColumnWidth(1, width + 16);
    Refresh();
}

int brCheckListCtrl::findRow(const std::string& name) const {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void brCheckListCtrl::setChecked(int index, bool checked) {
    if (index < 0 || index >= rowCount())
        return;
    rows[static_cast<std::size_t>(index)].checked = checked;
    redrawImage(index);
}

void brCheckListCtrl::setColour(int index, const wxColour& colour) {
    if (index < 0 || index >= rowCount())
        return;
    rows[static_cast<std::size_t>(index)].colour = colour;
    redrawImage(index);
}

void brCheckListCtrl::redrawImage(int index) {
    const Row& r = row(index);
    images->Replace(r.image, wxBitmap(rowImage(r.checked, r.colour, r.kind)));
    RefreshItem(index);
}

void brCheckListCtrl::showSelected(int index) {
    if (index < 0 || index >= rowCount())
        return;
    showingSelection = true;
    SetItemState(index, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    showingSelection = false;
    EnsureVisible(index);
}

bool brCheckListCtrl::takePictureClick(int index) {
    const bool pressed = pressedPicture != -1 && pressedPicture == index;
    pressedPicture = -1;
    return pressed;
}

void brCheckListCtrl::onMouseDown(wxMouseEvent& event) {
    pressedPicture = -1;
    int flags = 0;
    const long hit = HitTest(event.GetPosition(), flags);
    wxRect rect;
    if (hit >= 0 && hit < rowCount() && GetItemRect(hit, rect) &&
        event.GetPosition().x - rect.x < GetColumnWidth(0))
        pressedPicture = static_cast<int>(hit);

    // A press on the row that is already selected brings no selection event, so the toggle
    // is delivered as an activation once the control has handled the press.
    const int row = static_cast<int>(hit);
    if (pressedPicture != -1 && row == selectedRow)
        CallAfter([this, row] {
            if (pressedPicture != row)
                return;
            wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, GetId());
            activated.SetEventObject(this);
            activated.m_itemIndex = row;
            GetEventHandler()->ProcessEvent(activated);
        });
    event.Skip();
}

wxPoint brCheckListCtrl::picturePoint(int index) const {
    return rowPoint(index, 8);
}

wxPoint brCheckListCtrl::labelPoint(int index) const {
    return rowPoint(index, GetColumnWidth(0) + 8);
}

wxPoint brCheckListCtrl::rowPoint(int index, int x) const {
    wxRect rect;
    const_cast<brCheckListCtrl*>(this)->GetItemRect(index, rect);
    // The item rectangle counts from the control's client area, above which the inner
    // window has the column header.
    const wxPoint inControl(rect.x + x, rect.y + rect.height / 2);
    return mouseWindow()->ScreenToClient(ClientToScreen(inControl));
}

wxString brCheckListCtrl::OnGetItemText(long item, long column) const {
    if (column != 1 || item < 0 || item >= rowCount())
        return wxString();
    return wxString::FromUTF8(row(static_cast<int>(item)).name);
}

int brCheckListCtrl::OnGetItemImage(long item) const {
    return OnGetItemColumnImage(item, 0);
}

int brCheckListCtrl::OnGetItemColumnImage(long item, long column) const {
    if (column != 0 || item < 0 || item >= rowCount())
        return -1;
    return row(static_cast<int>(item)).image;
}

wxImage brCheckListCtrl::rowImage(bool checked, const wxColour& colour, int kind) {
    wxBitmap bitmap(imageWidth, imageHeight, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        drawCheckBox(dc, checked);
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(wxBrush(colour));
        dc.DrawRectangle(20, 1, 19, 13);
        const wxString letter = kind == BoolKind ? "b" : kind == IntKind ? "i" : "?";
        dc.SetFont(wxFont(wxFontInfo(wxSize(0, 11)).Family(wxFONTFAMILY_SWISS).Bold()));
        dc.SetTextForeground(darkLetterOn(colour) ? *wxBLACK : *wxWHITE);
        dc.DrawText(letter, kind == IntKind ? 27 : 26, 1);
    }
    return bitmap.ConvertToImage();
}
