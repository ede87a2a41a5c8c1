#include "resources/Sketch.h"

#include <algorithm>
#include <cmath>

#include <wx/graphics.h>

namespace palette {
const wxColour ink(44, 52, 68);
const wxColour paper(255, 255, 255);
const wxColour none(0, 0, 0, wxALPHA_TRANSPARENT);
const wxColour classFill(255, 238, 170);
const wxColour interfaceFill(196, 236, 204);
const wxColour packageFill(232, 186, 110);
const wxColour stateFill(190, 216, 250);
const wxColour noteFill(255, 250, 196);
const wxColour componentFill(214, 200, 240);
const wxColour nodeFill(200, 208, 220);
const wxColour useCaseFill(250, 210, 200);
const wxColour lens(220, 240, 255);
const wxColour red(204, 40, 36);
const wxColour green(44, 150, 68);
const wxColour blue(40, 100, 200);
const wxColour amber(236, 160, 20);
const wxColour grey(120, 128, 140);
const wxColour sky(150, 200, 245);
const wxColour lightGrey(222, 226, 232);
} // namespace palette

namespace {
constexpr double pi = 3.14159265358979323846;

bool visible(const wxColour& c) {
    return c.IsOk() && c.Alpha() != wxALPHA_TRANSPARENT;
}
} // namespace

wxColour Sketch::faded(const wxColour& colour) const {
    return wxColour(colour.Red(), colour.Green(), colour.Blue(),
                    static_cast<unsigned char>(std::lround(colour.Alpha() * opacity_)));
}

namespace {
void paint(wxGraphicsContext& gc, const wxGraphicsPath& path, const wxColour& fill,
           const wxColour& edge, double width) {
    if (visible(fill)) {
        gc.SetBrush(wxBrush(fill));
        gc.FillPath(path);
    }
    if (visible(edge)) {
        gc.SetPen(
            gc.CreatePen(wxGraphicsPenInfo(edge).Width(width).Cap(wxCAP_ROUND).Join(wxJOIN_ROUND)));
        gc.StrokePath(path);
    }
}
} // namespace

void Sketch::placeGrid(double dx, double dy, double scale) {
    gc_.PushState();
    gc_.Translate(dx, dy);
    gc_.Scale(scale, scale);
}

void Sketch::restore() {
    gc_.PopState();
}

void Sketch::box(double x, double y, double w, double h, const wxColour& fill,
                 const wxColour& edge) {
    wxGraphicsPath path = gc_.CreatePath();
    path.AddRectangle(x + 0.5, y + 0.5, w - 1, h - 1);
    paint(gc_, path, faded(fill), faded(edge), 1.0);
}

void Sketch::roundBox(double x, double y, double w, double h, double radius, const wxColour& fill,
                      const wxColour& edge) {
    wxGraphicsPath path = gc_.CreatePath();
    path.AddRoundedRectangle(x + 0.5, y + 0.5, w - 1, h - 1, radius);
    paint(gc_, path, faded(fill), faded(edge), 1.0);
}

void Sketch::oval(double x, double y, double w, double h, const wxColour& fill,
                  const wxColour& edge) {
    wxGraphicsPath path = gc_.CreatePath();
    path.AddEllipse(x + 0.5, y + 0.5, w - 1, h - 1);
    paint(gc_, path, faded(fill), faded(edge), 1.0);
}

void Sketch::cells(double x, double y, double w, double h, const wxColour& fill) {
    wxGraphicsPath path = gc_.CreatePath();
    path.AddRectangle(x, y, w, h);
    paint(gc_, path, faded(fill), palette::none, 1.0);
}

void Sketch::line(double x0, double y0, double x1, double y1, const wxColour& colour,
                  double width) {
    wxGraphicsPath path = gc_.CreatePath();
    path.MoveToPoint(x0 + 0.5, y0 + 0.5);
    path.AddLineToPoint(x1 + 0.5, y1 + 0.5);
    paint(gc_, path, palette::none, faded(colour), width);
}

void Sketch::shape(std::initializer_list<wxPoint2DDouble> points, const wxColour& fill,
                   const wxColour& edge, bool closed) {
    if (points.size() < 2)
        return;
    wxGraphicsPath path = gc_.CreatePath();
    bool first = true;
    for (const wxPoint2DDouble& p : points) {
        if (first)
            path.MoveToPoint(p.m_x + 0.5, p.m_y + 0.5);
        else
            path.AddLineToPoint(p.m_x + 0.5, p.m_y + 0.5);
        first = false;
    }
    if (closed)
        path.CloseSubpath();
    paint(gc_, path, closed ? faded(fill) : palette::none, faded(edge), 1.0);
}

void Sketch::arc(double cx, double cy, double radius, double from, double to,
                 const wxColour& colour, double width) {
    wxGraphicsPath path = gc_.CreatePath();
    double start = -from * pi / 180, end = -to * pi / 180;
    path.MoveToPoint(cx + 0.5 + radius * std::cos(start), cy + 0.5 + radius * std::sin(start));
    path.AddArc(cx + 0.5, cy + 0.5, radius, start, end, false);
    paint(gc_, path, palette::none, faded(colour), width);
}

void Sketch::pie(double cx, double cy, double radius, double from, double to, const wxColour& fill,
                 const wxColour& edge) {
    wxGraphicsPath path = gc_.CreatePath();
    path.MoveToPoint(cx + 0.5, cy + 0.5);
    path.AddArc(cx + 0.5, cy + 0.5, radius, -from * pi / 180, -to * pi / 180, false);
    path.CloseSubpath();
    paint(gc_, path, faded(fill), faded(edge), 1.0);
}

void Sketch::arrowHead(double x, double y, double dx, double dy, const wxColour& colour,
                       double length) {
    double norm = std::hypot(dx, dy);
    if (norm == 0)
        return;
    double ux = dx / norm * length, uy = dy / norm * length;
    shape({{x - ux - uy * 0.6, y - uy + ux * 0.6}, {x, y}, {x - ux + uy * 0.6, y - uy - ux * 0.6}},
          colour, colour);
}

namespace motif {
using namespace palette;

void classBox(Sketch& s, double x, double y, double w, double h, const wxColour& fill) {
    s.box(x, y, w, h, fill);
    double first = y + std::floor(h * 0.4), second = y + std::floor(h * 0.7);
    s.line(x, first, x + w - 1, first);
    s.line(x, second, x + w - 1, second);
}

void folder(Sketch& s, double x, double y, double w, double h, const wxColour& fill) {
    s.box(x, y, std::ceil(w * 0.45), 3, fill);
    s.box(x, y + 2, w, h - 2, fill);
}

void openFolder(Sketch& s) {
    s.shape({{0, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {0, 13}}, packageFill);
    s.shape({{3, 7}, {15, 7}, {12, 13}, {0, 13}}, wxColour(246, 210, 140));
}

void sheet(Sketch& s, double x, double y, double w, double h) {
    double r = x + w - 1, b = y + h - 1;
    s.shape({{x, y}, {r - 3, y}, {r, y + 3}, {r, b}, {x, b}}, paper);
    s.shape({{r - 3, y}, {r - 3, y + 3}, {r, y + 3}}, lightGrey);
}

void note(Sketch& s, double x, double y, double w, double h) {
    double r = x + w - 1, b = y + h - 1;
    s.shape({{x, y}, {r - 3, y}, {r, y + 3}, {r, b}, {x, b}}, noteFill);
    s.shape({{r - 3, y}, {r - 3, y + 3}, {r, y + 3}}, noteFill);
}

void state(Sketch& s, double x, double y, double w, double h, const wxColour& fill) {
    s.roundBox(x, y, w, h, std::min(w, h) / 3, fill);
}

void actor(Sketch& s, double cx, double top, double height) {
    double unit = height / 14;
    s.oval(cx - 2 * unit, top, 5 * unit, 5 * unit, classFill);
    s.line(cx, top + 4 * unit, cx, top + 9 * unit, ink, 1.2);
    s.line(cx - 4 * unit, top + 6 * unit, cx + 4 * unit, top + 6 * unit, ink, 1.2);
    s.line(cx, top + 9 * unit, cx - 3.5 * unit, top + 13 * unit, ink, 1.2);
    s.line(cx, top + 9 * unit, cx + 3.5 * unit, top + 13 * unit, ink, 1.2);
}

void lollipop(Sketch& s, double x, double y) {
    s.line(x, y + 9, x, y + 15, ink, 1.4);
    s.oval(x - 4.5, y, 10, 10, interfaceFill);
}

void component(Sketch& s, double x, double y, double w, double h) {
    s.box(x + 2, y, w - 2, h, componentFill);
    s.box(x, y + h / 4 - 1, 5, 3, componentFill);
    s.box(x, y + h * 3 / 4 - 2, 5, 3, componentFill);
}

void node(Sketch& s, double x, double y, double w, double h) {
    double d = std::max(2.0, std::floor(w / 4));
    s.shape({{x, y + d},
             {x + d, y},
             {x + w - 1, y},
             {x + w - 1, y + h - 1 - d},
             {x + w - 1 - d, y + h - 1},
             {x, y + h - 1}},
            nodeFill);
    s.line(x, y + d, x + w - 1 - d, y + d);
    s.line(x + w - 1 - d, y + d, x + w - 1, y);
    s.line(x + w - 1 - d, y + d, x + w - 1 - d, y + h - 1);
}

void lifeline(Sketch& s, double x, double top, double bottom) {
    s.box(x - 2, top, 5, 3, classFill);
    for (double y = top + 3; y < bottom; y += 2)
        s.line(x, y, x, y);
}

void initialState(Sketch& s, double cx, double cy, double radius) {
    s.oval(cx - radius, cy - radius, 2 * radius + 1, 2 * radius + 1, ink);
}

void finalState(Sketch& s, double cx, double cy, double radius) {
    s.oval(cx - radius, cy - radius, 2 * radius + 1, 2 * radius + 1, paper);
    initialState(s, cx, cy, radius - 2);
}

void magnifier(Sketch& s) {
    s.line(9, 9, 14, 14, ink, 2.6);
    s.oval(0, 0, 12, 12, lens);
}

void floppy(Sketch& s, double x, double y, double size) {
    double u = size / 14;
    s.shape({{x, y},
             {x + 11 * u, y},
             {x + 13 * u, y + 2 * u},
             {x + 13 * u, y + 13 * u},
             {x, y + 13 * u}},
            blue);
    s.cells(x + 3 * u, y + 1 * u, 7 * u, 4 * u, lightGrey);
    s.cells(x + 7 * u, y + 1.5 * u, 2 * u, 3 * u, ink);
    s.cells(x + 2 * u, y + 8 * u, 10 * u, 5 * u, paper);
}

void sliders(Sketch& s, double x, double y, double w, double h) {
    double step = (w - 1) / 2;
    const double knobs[] = {0.3, 0.7, 0.45};
    for (int i = 0; i < 3; ++i) {
        double lx = x + std::round(i * step);
        s.line(lx, y, lx, y + h - 1, grey, 1.0);
        double ky = y + std::round(knobs[i] * (h - 3));
        s.box(lx - 1, ky, 3, 3, amber);
    }
}

void bars(Sketch& s, double x, double y, double w, double h) {
    const double heights[] = {0.45, 0.8, 0.6};
    const wxColour* colours[] = {&green, &blue, &red};
    double width = std::floor((w - 2) / 3);
    for (int i = 0; i < 3; ++i) {
        double bh = std::round(heights[i] * h);
        s.box(x + i * (width + 1), y + h - bh, width, bh, *colours[i]);
    }
}

void window(Sketch& s) {
    s.box(0, 1, 16, 14, paper);
    s.cells(1, 2, 14, 2, sky);
    s.line(0, 4, 15, 4);
}

void operation(Sketch& s) {
    s.roundBox(0, 3, 16, 10, 3.5, green);
    s.arc(9, 7.5, 5, 145, 215, paper, 1.4);
    s.arc(6, 7.5, 5, -35, 35, paper, 1.4);
}

void attribute(Sketch& s) {
    s.box(1, 4, 14, 8, blue);
    s.line(4, 7, 11, 7, paper, 1.2);
    s.line(4, 9, 9, 9, paper, 1.2);
}

void pentagon(Sketch& s, double x, double y, double w, double h, bool notched,
              const wxColour& fill) {
    double r = x + w - 1, b = y + h - 1, mid = y + (h - 1) / 2, tip = std::floor(w / 3);
    if (notched)
        s.shape({{x, y}, {r, y}, {r - tip, mid}, {r, b}, {x, b}}, fill);
    else
        s.shape({{x, y}, {r - tip, y}, {r, mid}, {r - tip, b}, {x, b}}, fill);
}

void lockBadge(Sketch& s) {
    s.arc(12, 10, 2, 0, 180, ink, 1.2);
    s.box(9, 10, 7, 6, red);
}

void hashBadge(Sketch& s) {
    s.box(9, 9, 7, 7, amber);
    s.line(11, 10, 11, 14, ink);
    s.line(13, 10, 13, 14, ink);
    s.line(10, 11.5, 14, 11.5, ink);
    s.line(10, 13, 14, 13, ink);
}

void plusBadge(Sketch& s, double cx, double cy, double half) {
    s.line(cx - half, cy, cx + half, cy, ink, 1.8);
    s.line(cx, cy - half, cx, cy + half, ink, 1.8);
}

void crossBadge(Sketch& s, double cx, double cy, double half) {
    s.line(cx - half, cy - half, cx + half, cy + half, red, 2.2);
    s.line(cx - half, cy + half, cx + half, cy - half, red, 2.2);
}
} // namespace motif
