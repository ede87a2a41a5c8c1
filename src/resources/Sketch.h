#pragma once
// A small pen for the program's pictures: shapes on a 16 by 16 grid of cells, drawn with
// anti-aliasing at whatever pixel size the picture is made, plus the recurring motifs of
// UML notation (class boxes, package folders, diagram sheets, stick figures).
#include <initializer_list>

#include <wx/colour.h>
#include <wx/geometry.h>

class wxGraphicsContext;

namespace palette {
extern const wxColour ink, paper, none, classFill, interfaceFill, packageFill, stateFill, noteFill,
    componentFill, nodeFill, useCaseFill, lens, red, green, blue, amber, grey, sky, lightGrey;
} // namespace palette

class Sketch {
public:
    explicit Sketch(wxGraphicsContext& gc) : gc_(gc) {}

    // Shapes that cover the cells x..x+w-1 and y..y+h-1; the edge runs through the outer cells.
    void box(double x, double y, double w, double h, const wxColour& fill,
             const wxColour& edge = palette::ink);
    void roundBox(double x, double y, double w, double h, double radius, const wxColour& fill,
                  const wxColour& edge = palette::ink);
    void oval(double x, double y, double w, double h, const wxColour& fill,
              const wxColour& edge = palette::ink);
    // Fills whole cells without an edge.
    void cells(double x, double y, double w, double h, const wxColour& fill);
    // Lines and outlines through cell centres.
    void line(double x0, double y0, double x1, double y1, const wxColour& colour = palette::ink,
              double width = 1.0);
    void shape(std::initializer_list<wxPoint2DDouble> points, const wxColour& fill,
               const wxColour& edge = palette::ink, bool closed = true);
    // An arc around a cell centre, angles in degrees counter-clockwise from three o'clock
    // (the screen's y axis points down).
    void arc(double cx, double cy, double radius, double from, double to,
             const wxColour& colour = palette::ink, double width = 1.0);
    void pie(double cx, double cy, double radius, double from, double to, const wxColour& fill,
             const wxColour& edge = palette::ink);
    // An arrow head at (x, y) pointing along the direction (dx, dy).
    void arrowHead(double x, double y, double dx, double dy, const wxColour& colour = palette::ink,
                   double length = 3.0);
    // Draws what follows on a grid moved by (dx, dy) cells and scaled, until restore().
    void placeGrid(double dx, double dy, double scale);
    void restore();
    // Fades everything drawn afterwards (1 = opaque).
    void setOpacity(double opacity) { opacity_ = opacity; }

private:
    wxColour faded(const wxColour& colour) const;
    wxGraphicsContext& gc_;
    double opacity_ = 1.0;
};

// Motifs shared by several pictures.
namespace motif {
void classBox(Sketch& s, double x, double y, double w, double h,
              const wxColour& fill = palette::classFill);
void folder(Sketch& s, double x, double y, double w, double h,
            const wxColour& fill = palette::packageFill);
void openFolder(Sketch& s);
void sheet(Sketch& s, double x, double y, double w, double h);
void note(Sketch& s, double x, double y, double w, double h);
void state(Sketch& s, double x, double y, double w, double h,
           const wxColour& fill = palette::stateFill);
void actor(Sketch& s, double cx, double top, double height);
void lollipop(Sketch& s, double x, double y);
void component(Sketch& s, double x, double y, double w, double h);
void node(Sketch& s, double x, double y, double w, double h);
void lifeline(Sketch& s, double x, double top, double bottom);
void initialState(Sketch& s, double cx, double cy, double radius);
void finalState(Sketch& s, double cx, double cy, double radius);
void magnifier(Sketch& s);
void floppy(Sketch& s, double x, double y, double size);
void sliders(Sketch& s, double x, double y, double w, double h);
void bars(Sketch& s, double x, double y, double w, double h);
void window(Sketch& s);
void operation(Sketch& s);
void attribute(Sketch& s);
void pentagon(Sketch& s, double x, double y, double w, double h, bool notched,
              const wxColour& fill);
// Small marks in the lower right corner that qualify the picture under them.
void lockBadge(Sketch& s);
void hashBadge(Sketch& s);
void plusBadge(Sketch& s, double cx, double cy, double half);
void crossBadge(Sketch& s, double cx, double cy, double half);
} // namespace motif
