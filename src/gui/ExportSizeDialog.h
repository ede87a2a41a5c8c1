#pragma once
// The second question of the image export: how large the image is to be (the size of the
// canvas, or a width and height of its own) and whether the view frames are drawn.
#include <functional>
#include <optional>

#include <wx/dialog.h>

class wxCheckBox;
class wxRadioButton;
class wxSpinCtrl;

// What the export is asked to write; a width or height of 0 stands for the canvas's.
struct ImageExportRequest {
    int width = 0;
    int height = 0;
    bool frames = false;
};

class ExportSizeDialog : public wxDialog {
public:
    ExportSizeDialog(wxWindow* parent, const wxSize& canvasSize);

    // The request as the controls show it.
    ImageExportRequest request() const;
    void chooseCanvasSize();
    void chooseSize(int width, int height);
    void setFrames(bool frames);

    // The largest side the dialog offers.
    static constexpr int largestSide = 65500;

private:
    void updateEnabled();

    wxRadioButton* canvasSize_ = nullptr;
    wxRadioButton* ownSize_ = nullptr;
    wxSpinCtrl* width_ = nullptr;
    wxSpinCtrl* height_ = nullptr;
    wxCheckBox* frames_ = nullptr;
};

// Asks the user through the dialog; empty when they cancelled. Tests replace the asking
// with setExportSizeAsker, which returns the previous asker.
using ExportSizeAsker =
    std::function<std::optional<ImageExportRequest>(wxWindow* parent, const wxSize& canvasSize)>;
std::optional<ImageExportRequest> askExportSize(wxWindow* parent, const wxSize& canvasSize);
ExportSizeAsker setExportSizeAsker(ExportSizeAsker asker);
