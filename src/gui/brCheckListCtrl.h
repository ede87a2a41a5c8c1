#pragma once
// The "Available metrics" list: one row per metric with a picture of its check box, its
// colour and a letter for its kind, and the metric's name. The rows live here, not in the
// control, so that a file with hundreds of metrics fills the list at once.
#include <string>
#include <vector>

#include <wx/colour.h>
#include <wx/image.h>
#include <wx/listctrl.h>

class wxImageList;

class brCheckListCtrl : public wxListCtrl {
public:
    enum Kind { OtherKind = 0, BoolKind = 1, IntKind = 2 };
    struct Row {
        std::string name;
        int kind = OtherKind;
        bool checked = false;
        wxColour colour;
        int image = -1; // index into the list's image list
    };

    static constexpr int imageWidth = 40;
    static constexpr int imageHeight = 15;

    brCheckListCtrl(wxWindow* parent, wxWindowID id);
    ~brCheckListCtrl() override;

    // Drops every row and (re)creates the two columns.
    void clearRows();
    // Rows are shown once finishRows() has run, which also sizes the columns.
    void addRow(const std::string& name, const wxColour& colour, int kind, bool checked);
    void finishRows();

    int rowCount() const { return static_cast<int>(rows.size()); }
    const Row& row(int index) const { return rows[static_cast<std::size_t>(index)]; }
    // The row of that metric, or -1.
    int findRow(const std::string& name) const;

    void setChecked(int index, bool checked);
    void toggleChecked(int index) { setChecked(index, !row(index).checked); }
    void setColour(int index, const wxColour& colour);

    // The row the options act on, -1 when none.
    int getSelectedRow() const { return selectedRow; }
    void setSelectedRow(int index) { selectedRow = index; }
    // Highlights the row in the control and scrolls it into view, without a selection event.
    void showSelected(int index);
    bool isShowingSelection() const { return showingSelection; }

    // Whether the last button press landed on that row's check-box picture; a press counts
    // once, so a selection by keyboard or from elsewhere never toggles a check box.
    bool takePictureClick(int index);
    // Where a press on the picture of that row lands, in the coordinates of the window that
    // receives the list's mouse events (tests press there).
    wxPoint picturePoint(int index) const;
    wxPoint labelPoint(int index) const;
    wxWindow* mouseWindow() const;

    // The row picture: the check box, the colour swatch and the kind letter, in black or
    // white whichever reads better on the swatch.
    static wxImage rowImage(bool checked, const wxColour& colour, int kind);

protected:
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;
    int OnGetItemColumnImage(long item, long column) const override;

private:
    void onMouseDown(wxMouseEvent& event);
    void redrawImage(int index);
    wxPoint rowPoint(int index, int x) const;

    std::vector<Row> rows;
    int selectedRow = -1;
    bool showingSelection = false;
    // The row whose picture was pressed last, until a selection takes it.
    int pressedPicture = -1;
    wxImageList* images = nullptr; // owned here; the control only shows it
};
