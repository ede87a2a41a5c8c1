#include "resources/ImageTable.h"

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

#include <wx/graphics.h>
#include <wx/imaglist.h>

#include "resources/Sketch.h"

namespace {
using namespace palette;
using namespace motif;

using Drawing = void (*)(Sketch&);
struct Picture {
    const char* name;
    Drawing draw;
};

// The small scenes that stand for each kind of diagram, on the full grid. A diagram item
// of the tree shows the scene shrunk onto a sheet.
void classScene(Sketch& s) {
    classBox(s, 0, 0, 8, 8);
    classBox(s, 8, 8, 8, 8);
    s.line(3, 8, 3, 11);
    s.line(3, 11, 8, 11);
}
void activityScene(Sketch& s) {
    s.roundBox(1, 0, 14, 5, 2.5, stateFill);
    s.line(7.5, 5, 7.5, 8);
    s.arrowHead(7.5, 9, 0, 1, ink, 2.5);
    s.roundBox(1, 10, 14, 5, 2.5, stateFill);
}
void collaborationScene(Sketch& s) {
    s.box(0, 0, 7, 6, classFill);
    s.box(9, 10, 7, 6, classFill);
    s.line(4, 6, 11, 10);
    s.line(9, 3, 13, 6, blue, 1.2);
    s.arrowHead(14, 7, 1.2, 1, blue, 2.5);
}
void deploymentScene(Sketch& s) {
    node(s, 0, 1, 16, 14);
    component(s, 2, 7, 8, 6);
}
void sequenceScene(Sketch& s) {
    lifeline(s, 3, 0, 16);
    lifeline(s, 12, 0, 16);
    s.line(3, 7, 11, 7);
    s.arrowHead(12, 7, 1, 0, ink, 2.5);
    s.line(12, 11, 4, 11, grey);
    s.arrowHead(3, 11, -1, 0, grey, 2.5);
}
void stateScene(Sketch& s) {
    state(s, 0, 0, 9, 6);
    state(s, 7, 10, 9, 6);
    s.line(4, 6, 9, 9);
    s.arrowHead(10, 10, 1.2, 1, ink, 2.5);
}
void useCaseScene(Sketch& s) {
    actor(s, 3, 1, 14);
    s.oval(6, 4, 10, 8, useCaseFill);
}
void componentScene(Sketch& s) {
    component(s, 1, 2, 14, 12);
}

void onSheet(Sketch& s, Drawing scene) {
    sheet(s, 0, 0, 16, 16);
    s.placeGrid(2, 3.5, 0.72);
    scene(s);
    s.restore();
}

void dashedCircle(Sketch& s, double cx, double cy, double r) {
    for (double a = 0; a < 360; a += 40)
        s.arc(cx, cy, r, a, a + 24);
}

void textLines(Sketch& s, double x, double y, double w, int count) {
    for (int i = 0; i < count; ++i)
        s.line(x, y + 3 * i, x + w - 1 - 2 * (i % 2), y + 3 * i, grey);
}

void historyLetter(Sketch& s, double x) {
    s.line(x, 4, x, 11, ink, 1.2);
    s.line(x + 4, 4, x + 4, 11, ink, 1.2);
    s.line(x, 7.5, x + 4, 7.5, ink, 1.2);
}

void blockArrow(Sketch& s, double x, double y, double w, double h, const wxColour& fill) {
    double r = x + w - 1, b = y + h - 1, mid = y + (h - 1) / 2, neck = x + std::floor(w / 2);
    double q = std::floor(h / 4);
    s.shape({{x, y + q}, {neck, y + q}, {neck, y}, {r, mid}, {neck, b}, {neck, b - q}, {x, b - q}},
            fill);
}

void tick(Sketch& s, double x, double y, double size, const wxColour& colour) {
    double u = size / 8;
    s.line(x, y + 4 * u, x + 3 * u, y + 7 * u, colour, 1.8);
    s.line(x + 3 * u, y + 7 * u, x + 8 * u, y, colour, 1.8);
}

// The table. The order is fixed: an image's number is its place here, and the tree's image
// list and the frame icon go by number.
const Picture pictures[] = {
    // Commands of the toolbar, the control strip and the menus.
    {"open-model",
     [](Sketch& s) {
         openFolder(s);
         classBox(s, 9, 0, 7, 8);
     }},
    {"open-metrics",
     [](Sketch& s) {
         openFolder(s);
         s.box(8, 0, 8, 8, paper);
         bars(s, 9, 1, 6, 6);
     }},
    {"load-config",
     [](Sketch& s) {
         openFolder(s);
         s.box(8, 0, 8, 9, lightGrey);
         sliders(s, 10, 1, 5, 7);
     }},
    {"save-config",
     [](Sketch& s) {
         floppy(s, 0, 0, 13);
         s.box(8, 6, 8, 10, lightGrey);
         sliders(s, 10, 7, 5, 8);
     }},
    {"brennimore",
     [](Sketch& s) {
         classBox(s, 0, 3, 12, 13);
         s.pie(10.5, 5, 5, 90, 360, amber);
         s.pie(10.5, 5, 5, 0, 90, red);
     }},
    {"export-image",
     [](Sketch& s) {
         s.box(0, 0, 13, 12, sky);
         s.shape({{1, 10}, {5, 5}, {8, 8}, {10, 6}, {12, 10}}, green, none);
         s.oval(8, 2, 3, 3, amber, none);
         s.line(6, 14, 13, 14, red, 1.6);
         s.arrowHead(15, 14, 1, 0, red, 3);
     }},
    {"global-options",
     [](Sketch& s) {
         s.box(0, 0, 16, 16, lightGrey);
         sliders(s, 3, 1, 11, 14);
     }},
    {"global-metrics",
     [](Sketch& s) {
         sheet(s, 1, 0, 14, 16);
         s.shape({{10, 3}, {4, 3}, {7, 7.5}, {4, 12}, {10, 12}}, none, blue, false);
     }},
    {"zoom-fit",
     [](Sketch& s) {
         classBox(s, 4, 4, 8, 8);
         for (double x : {0.0, 15.0})
             for (double y : {0.0, 15.0}) {
                 s.line(x, y, x == 0 ? 3 : 12, y, ink, 1.4);
                 s.line(x, y, x, y == 0 ? 3 : 12, ink, 1.4);
             }
     }},
    {"zoom-reset",
     [](Sketch& s) {
         magnifier(s);
         for (double x : {3.0, 7.5}) {
             s.shape({{x - 1, 3.5}, {x, 2.5}, {x, 8.5}}, none, ink, false);
             s.line(x, 2.5, x, 8.5, ink, 1.3);
         }
         s.cells(5, 4, 1, 1, ink);
         s.cells(5, 7, 1, 1, ink);
     }},
    {"zoom-in",
     [](Sketch& s) {
         magnifier(s);
         plusBadge(s, 5.5, 5.5, 3);
     }},
    {"zoom-out",
     [](Sketch& s) {
         magnifier(s);
         s.line(2.5, 5.5, 8.5, 5.5, ink, 1.8);
     }},
    {"camera-reset",
     [](Sketch& s) {
         s.arc(8, 7, 6.5, 200, 430, amber, 1.4);
         s.arrowHead(10.2, 0.9, 1, 0.4, amber, 3);
         s.line(5, 10, 14, 10, red, 1.4);
         s.line(5, 10, 5, 2, green, 1.4);
         s.line(5, 10, 1, 14, blue, 1.4);
     }},
    {"refresh",
     [](Sketch& s) {
         s.arc(7.5, 7.5, 5.5, 30, 165, green, 2);
         s.arrowHead(2.2, 7.5, -0.2, 1, green, 3.5);
         s.arc(7.5, 7.5, 5.5, 210, 345, green, 2);
         s.arrowHead(12.8, 7.5, 0.2, -1, green, 3.5);
     }},
    {"visualizer-options",
     [](Sketch& s) {
         s.box(0, 0, 12, 16, lightGrey);
         sliders(s, 2, 1, 9, 14);
         s.pie(11.5, 11.5, 4, 0, 270, green);
         s.pie(11.5, 11.5, 4, 270, 360, red);
     }},
    {"split-vertical",
     [](Sketch& s) {
         window(s);
         s.cells(1, 5, 7, 9, stateFill);
         s.line(7.5, 4, 7.5, 14, ink, 1.4);
     }},
    {"split-horizontal",
     [](Sketch& s) {
         window(s);
         s.cells(1, 9.5, 14, 4.5, stateFill);
         s.line(0, 9, 15, 9, ink, 1.4);
     }},
    {"delete-view",
     [](Sketch& s) {
         window(s);
         crossBadge(s, 7.5, 9.5, 3.5);
     }},
    {"close-model",
     [](Sketch& s) {
         classBox(s, 0, 0, 12, 12);
         crossBadge(s, 12, 12, 3);
     }},
    {"exit",
     [](Sketch& s) {
         s.box(1, 0, 10, 16, lightGrey);
         s.shape({{1, 0}, {7, 2}, {7, 15}, {1, 15}}, packageFill);
         s.cells(5, 8, 1, 1, ink);
         s.line(8, 8, 13, 8, red, 1.6);
         s.arrowHead(15, 8, 1, 0, red, 3);
     }},
    {"about",
     [](Sketch& s) {
         s.oval(0, 0, 16, 16, blue, none);
         s.cells(7, 3, 2, 2, paper);
         s.cells(7, 6, 2, 7, paper);
     }},
    {"perspective",
     [](Sketch& s) {
         s.shape({{4, 4}, {11, 4}, {15, 14}, {0, 14}}, lightGrey);
         s.line(7.5, 4, 7.5, 14);
         s.line(5.75, 4, 3.75, 14);
         s.line(9.25, 4, 11.25, 14);
         s.line(2, 9, 13, 9);
     }},
    {"stereo",
     [](Sketch& s) {
         s.line(0, 6, 3, 3, ink, 1.2);
         s.line(15, 6, 12, 3, ink, 1.2);
         s.oval(0, 5, 7, 6, red);
         s.oval(9, 5, 7, 6, wxColour(40, 200, 220));
         s.line(6, 7, 9, 7, ink, 1.2);
     }},

    // The model tree's pictures of model elements.
    {"tv-pkg-diagram", [](Sketch& s) { folder(s, 0, 2, 16, 13); }},
    {"tv-class", [](Sketch& s) { classBox(s, 1, 1, 14, 14); }},
    {"tv-interface", [](Sketch& s) { lollipop(s, 7.5, 0); }},
    {"tv-attrib", [](Sketch& s) { attribute(s); }},
    {"tv-operation", [](Sketch& s) { operation(s); }},
    {"tv-operation-private",
     [](Sketch& s) {
         operation(s);
         lockBadge(s);
     }},
    {"tv-operation-protected",
     [](Sketch& s) {
         operation(s);
         hashBadge(s);
     }},
    // An operation of package or unstated visibility: the operation, faint.
    {"Transparent",
     [](Sketch& s) {
         s.setOpacity(0.35);
         operation(s);
     }},
    {"tv-startState",
     [](Sketch& s) {
         initialState(s, 5, 5, 4.5);
         s.line(8, 8, 13, 13, ink, 1.2);
         s.arrowHead(15, 15, 1, 1, ink, 3.5);
     }},
    {"tv-state", [](Sketch& s) { state(s, 0, 2, 16, 12); }},
    {"tv-actor", [](Sketch& s) { actor(s, 7.5, 1, 14); }},
    {"tv-note",
     [](Sketch& s) {
         note(s, 1, 0, 14, 16);
         textLines(s, 3, 5, 9, 3);
     }},
    {"tv-component-diagram-node", [](Sketch& s) { onSheet(s, componentScene); }},
    {"tv-class-diagram-node", [](Sketch& s) { onSheet(s, classScene); }},
    {"tv-activity-diagram-node", [](Sketch& s) { onSheet(s, activityScene); }},
    {"tv-collab-diagram-node", [](Sketch& s) { onSheet(s, collaborationScene); }},
    {"tv-deployment-diagram-node", [](Sketch& s) { onSheet(s, deploymentScene); }},
    {"tv-seq-diagram-node", [](Sketch& s) { onSheet(s, sequenceScene); }},
    {"tv-state-diagram-node", [](Sketch& s) { onSheet(s, stateScene); }},
    {"tv-usecase-diagram-node", [](Sketch& s) { onSheet(s, useCaseScene); }},

    // Further pictures of model elements and diagrams.
    {"archive",
     [](Sketch& s) {
         s.box(1, 5, 14, 10, packageFill);
         s.box(0, 2, 16, 4, packageFill);
         s.cells(6, 8, 4, 2, ink);
     }},
    {"tv-activity",
     [](Sketch& s) {
         s.roundBox(0, 4, 16, 8, 4, stateFill);
         textLines(s, 4, 7, 8, 1);
     }},
    {"tv-seq-diagram", sequenceScene},
    {"tv-swimLane",
     [](Sketch& s) {
         s.box(0, 0, 8, 16, paper);
         s.box(7, 0, 9, 16, paper);
         s.cells(1, 1, 6, 2, lightGrey);
         s.cells(8, 1, 7, 2, lightGrey);
         s.line(0, 3, 15, 3);
         s.roundBox(1, 5, 6, 3, 1.5, stateFill);
         s.roundBox(8, 11, 7, 3, 1.5, stateFill);
         s.line(4, 8, 10, 11);
     }},
    {"tv-class-diagram", classScene},
    {"tv-usecase-diagram", useCaseScene},
    {"tv-collab-diagram", collaborationScene},
    {"tv-deployment-diagram", deploymentScene},
    {"tv-state-diagram", stateScene},
    {"tv-activity-diagram", activityScene},
    {"tv-component-diagram", componentScene},
    {"tv-diagram",
     [](Sketch& s) {
         sheet(s, 1, 0, 14, 16);
         s.box(3, 5, 5, 4, lightGrey, grey);
         s.box(8, 10, 5, 4, lightGrey, grey);
     }},
    {"tv-model",
     [](Sketch& s) {
         folder(s, 0, 2, 16, 13);
         s.shape({{7.5, 6}, {11.5, 13}, {3.5, 13}}, paper);
     }},
    {"tv-package",
     [](Sketch& s) {
         folder(s, 0, 2, 16, 13);
         s.box(4, 7, 8, 6, classFill);
         s.line(4, 9, 11, 9);
     }},
    {"tv-subsystem",
     [](Sketch& s) {
         folder(s, 0, 2, 16, 13);
         s.line(7.5, 6, 7.5, 9);
         s.line(4, 9, 11, 9);
         for (double x : {4.0, 7.5, 11.0})
             s.line(x, 9, x, 12);
     }},
    {"tv-datatype",
     [](Sketch& s) {
         s.box(1, 1, 14, 14, lightGrey);
         s.line(4, 4, 11, 4, ink, 1.6);
         s.line(7.5, 4, 7.5, 12, ink, 1.6);
     }},
    {"tv-stereotype",
     [](Sketch& s) {
         s.shape({{5, 4}, {2, 7.5}, {5, 11}}, none, ink, false);
         s.shape({{7, 4}, {4, 7.5}, {7, 11}}, none, ink, false);
         s.shape({{8, 4}, {11, 7.5}, {8, 11}}, none, ink, false);
         s.shape({{10, 4}, {13, 7.5}, {10, 11}}, none, ink, false);
     }},
    {"tv-association",
     [](Sketch& s) {
         s.line(5, 5, 10, 10, ink, 1.2);
         s.box(0, 0, 6, 6, classFill);
         s.box(10, 10, 6, 6, classFill);
     }},
    {"tv-association-end",
     [](Sketch& s) {
         s.line(6, 9, 15, 0, ink, 1.2);
         s.box(0, 9, 7, 7, classFill);
         s.line(9, 10, 13, 14, blue);
         s.line(9, 14, 13, 10, blue);
         s.line(11, 9.5, 11, 14.5, blue);
     }},
    {"tv-generalization",
     [](Sketch& s) {
         s.line(7.5, 15, 7.5, 7, ink, 1.2);
         s.shape({{7.5, 1}, {12.5, 7}, {2.5, 7}}, paper);
     }},
    {"tv-dependency",
     [](Sketch& s) {
         for (double t = 0; t < 9; t += 3)
             s.line(1 + t, 14 - t, 2.5 + t, 12.5 - t, ink, 1.2);
         s.shape({{8, 2}, {14, 1}, {13, 7}}, none, ink, false);
         s.line(14, 1, 11, 4, ink, 1.2);
     }},
    {"tv-abstraction",
     [](Sketch& s) {
         for (double t = 0; t < 7; t += 3)
             s.line(1 + t, 14 - t, 2.5 + t, 12.5 - t, ink, 1.2);
         s.shape({{14, 1}, {12.5, 8}, {7, 2.5}}, paper);
     }},
    {"tv-attrib-private",
     [](Sketch& s) {
         attribute(s);
         lockBadge(s);
     }},
    {"tv-attrib-protected",
     [](Sketch& s) {
         attribute(s);
         hashBadge(s);
     }},
    {"tv-parameter",
     [](Sketch& s) {
         s.arc(10, 7.5, 7, 135, 225, ink, 1.5);
         s.arc(5, 7.5, 7, -45, 45, ink, 1.5);
         s.oval(5, 5, 6, 6, blue, none);
     }},
    {"tv-signal", [](Sketch& s) { pentagon(s, 0, 3, 16, 10, false, amber); }},
    {"tv-component", [](Sketch& s) { component(s, 1, 1, 14, 14); }},
    {"tv-node", [](Sketch& s) { node(s, 0, 0, 16, 16); }},
    {"tv-usecase", [](Sketch& s) { s.oval(0, 3, 16, 10, useCaseFill); }},
    {"tv-collaboration",
     [](Sketch& s) {
         s.oval(1, 1, 14, 14, lightGrey, none);
         dashedCircle(s, 7.5, 7.5, 7);
         s.line(6, 6, 10, 10);
         s.box(3, 3, 5, 4, classFill);
         s.box(8, 9, 5, 4, classFill);
     }},
    {"tv-classifier-role",
     [](Sketch& s) {
         s.box(0, 3, 16, 10, classFill);
         s.line(3, 7, 12, 7, grey, 1.6);
         s.line(3, 9, 12, 9);
     }},
    {"tv-association-role",
     [](Sketch& s) {
         s.line(5, 8, 11, 8, ink, 1.2);
         s.line(7, 11, 9, 5, blue, 1.2);
         s.box(0, 5, 5, 6, classFill);
         s.box(11, 5, 5, 6, classFill);
     }},
    {"tv-message",
     [](Sketch& s) {
         s.oval(1, 2, 5, 5, amber, none);
         s.line(1, 10, 11, 10, ink, 1.4);
         s.arrowHead(15, 10, 1, 0, ink, 4);
     }},
    {"tv-interaction",
     [](Sketch& s) {
         s.box(0, 1, 16, 14, paper);
         s.shape({{0, 1}, {7, 1}, {7, 3}, {5, 5}, {0, 5}}, lightGrey);
         s.line(2, 10, 11, 10);
         s.arrowHead(13, 10, 1, 0, ink, 3);
     }},
    {"tv-state-machine",
     [](Sketch& s) {
         initialState(s, 2, 7.5, 2);
         s.line(4, 7.5, 5, 7.5);
         s.arrowHead(6.5, 7.5, 1, 0, ink, 2.5);
         state(s, 7, 2, 9, 12);
     }},
    {"tv-composite-state",
     [](Sketch& s) {
         state(s, 0, 0, 16, 16);
         s.line(0, 5, 15, 5);
         s.roundBox(2, 7, 5, 5, 1.5, paper);
         s.roundBox(9, 9, 5, 5, 1.5, paper);
         s.line(7, 10, 9, 11);
     }},
    {"tv-finalState", [](Sketch& s) { finalState(s, 7.5, 7.5, 6.5); }},
    {"tv-choice",
     [](Sketch& s) {
         s.shape({{7.5, 1}, {14, 7.5}, {7.5, 14}, {1, 7.5}}, paper);
     }},
    {"tv-junction",
     [](Sketch& s) {
         s.line(1, 1, 7.5, 7.5);
         s.line(1, 14, 7.5, 7.5);
         s.line(7.5, 7.5, 14, 7.5);
         initialState(s, 7.5, 7.5, 2.5);
     }},
    {"tv-fork",
     [](Sketch& s) {
         s.line(7.5, 0, 7.5, 6);
         s.line(4, 9, 2, 14);
         s.line(11, 9, 13, 14);
         s.cells(1, 6, 14, 3, ink);
     }},
    {"tv-join",
     [](Sketch& s) {
         s.line(2, 1, 4, 7);
         s.line(13, 1, 11, 7);
         s.line(7.5, 10, 7.5, 15);
         s.cells(1, 7, 14, 3, ink);
     }},
    {"tv-deepHistory",
     [](Sketch& s) {
         s.oval(0, 0, 16, 16, paper);
         historyLetter(s, 3);
         s.line(11, 3, 11, 7);
         s.line(9, 5, 13, 5);
         s.line(9.5, 3.5, 12.5, 6.5);
         s.line(9.5, 6.5, 12.5, 3.5);
     }},
    {"tv-shallowHistory",
     [](Sketch& s) {
         s.oval(0, 0, 16, 16, paper);
         historyLetter(s, 5.5);
     }},
    {"tv-transition",
     [](Sketch& s) {
         textLines(s, 2, 6, 9, 1);
         s.line(0, 11, 12, 11, ink, 1.4);
         s.arrowHead(15, 11, 1, 0, ink, 4);
     }},
    {"tv-guard",
     [](Sketch& s) {
         s.shape({{5, 2}, {2, 2}, {2, 13}, {5, 13}}, none, ink, false);
         s.shape({{10, 2}, {13, 2}, {13, 13}, {10, 13}}, none, ink, false);
         tick(s, 5, 5, 5, green);
     }},
    {"tv-event",
     [](Sketch& s) {
         s.shape({{9, 0}, {3, 9}, {7, 9}, {5, 15}, {13, 5}, {9, 5}}, amber);
     }},
    {"tv-signal-event", [](Sketch& s) { pentagon(s, 0, 3, 16, 10, true, amber); }},
    {"tv-action", [](Sketch& s) { blockArrow(s, 0, 1, 16, 14, green); }},
    {"tv-call-action",
     [](Sketch& s) {
         s.oval(7, 3, 9, 10, green);
         blockArrow(s, 0, 4, 9, 8, amber);
     }},
    {"tv-send-action",
     [](Sketch& s) {
         pentagon(s, 0, 3, 12, 10, false, stateFill);
         s.line(12, 8, 14, 8);
         s.arrowHead(15, 8, 1, 0, ink, 2.5);
     }},
    {"tv-action-sequence",
     [](Sketch& s) {
         for (double x : {0.0, 6.0, 12.0})
             s.box(x, 5, 4, 6, green);
         s.line(4, 8, 5, 8);
         s.line(10, 8, 11, 8);
     }},
    {"tv-activity-graph",
     [](Sketch& s) {
         initialState(s, 7.5, 1.5, 1.5);
         s.line(7.5, 3, 7.5, 4);
         s.roundBox(2, 5, 12, 5, 2.5, stateFill);
         s.line(7.5, 10, 7.5, 11);
         finalState(s, 7.5, 13, 2.5);
     }},

    // The metric glyphs, the visualizer pieces and the kinds of metric.
    {"glyph-checkbox",
     [](Sketch& s) {
         s.box(1, 1, 14, 14, paper);
         tick(s, 4, 4, 8, green);
     }},
    {"glyph-pie",
     [](Sketch& s) {
         s.pie(7.5, 7.5, 7, 90, 360, blue);
         s.pie(7.5, 7.5, 7, 0, 90, amber);
     }},
    {"glyph-heightbar",
     [](Sketch& s) {
         s.box(2, 0, 5, 16, paper);
         s.cells(3, 6, 3, 9, green);
         s.box(9, 0, 5, 16, paper);
         s.cells(10, 10, 3, 5, red);
     }},
    {"glyph-bar3d",
     [](Sketch& s) {
         s.shape({{3, 5}, {6, 2}, {12, 2}, {9, 5}}, sky);
         s.shape({{9, 5}, {12, 2}, {12, 12}, {9, 15}}, wxColour(30, 70, 150));
         s.box(3, 5, 7, 11, blue);
     }},
    {"glyph-cylinder",
     [](Sketch& s) {
         s.oval(2, 10, 12, 6, blue);
         s.cells(2.5, 3, 11, 10, blue);
         s.line(2, 3, 2, 13);
         s.line(13, 3, 13, 13);
         s.oval(2, 0, 12, 6, sky);
     }},
    {"glyph-radius-circle",
     [](Sketch& s) {
         s.oval(0, 0, 16, 16, paper, grey);
         s.oval(4, 4, 8, 8, red);
     }},
    {"glyph-colored-square",
     [](Sketch& s) {
         s.cells(1, 1, 7, 7, green);
         s.cells(8, 1, 7, 7, amber);
         s.cells(1, 8, 7, 7, amber);
         s.cells(8, 8, 7, 7, red);
         s.box(1, 1, 14, 14, none);
     }},
    {"metric-int",
     [](Sketch& s) {
         s.box(0, 4, 16, 8, amber);
         for (double x = 3; x < 15; x += 3)
             s.line(x, 4, x, x == 9 ? 8 : 6);
     }},
    {"metric-bool",
     [](Sketch& s) {
         s.box(0, 4, 7, 7, paper);
         tick(s, 1.5, 5.5, 4, green);
         s.box(9, 4, 7, 7, paper);
         crossBadge(s, 12, 7, 1.5);
     }},
    {"metric-global",
     [](Sketch& s) {
         s.oval(0, 0, 16, 16, sky);
         s.oval(4, 0, 8, 16, none);
         s.line(0, 7.5, 15, 7.5);
     }},
    {"legend",
     [](Sketch& s) {
         s.box(0, 1, 16, 14, paper);
         const wxColour* colours[] = {&red, &green, &blue};
         for (int i = 0; i < 3; ++i) {
             s.cells(2, 3 + 4 * i, 3, 3, *colours[i]);
             s.line(6, 4 + 4 * i, 13, 4 + 4 * i, grey);
         }
     }},
    {"hover-info",
     [](Sketch& s) {
         s.shape({{0, 1}, {15, 1}, {15, 10}, {6, 10}, {3, 14}, {3, 10}, {0, 10}}, noteFill);
         textLines(s, 2, 4, 11, 2);
     }},
};

static_assert(sizeof(pictures) / sizeof(pictures[0]) == imageTable::imageCount,
              "the image table has a fixed number of pictures");

const std::unordered_map<std::string, int>& numbersByName() {
    static const std::unordered_map<std::string, int> numbers = [] {
        std::unordered_map<std::string, int> map;
        for (int i = 0; i < imageTable::imageCount; ++i)
            map.emplace(pictures[i].name, i);
        return map;
    }();
    return numbers;
}
} // namespace

namespace imageTable {

const char* const* imageNames() {
    static const auto names = [] {
        std::array<const char*, imageCount + 1> list{};
        for (int i = 0; i < imageCount; ++i)
            list[i] = pictures[i].name;
        list[imageCount] = nullptr;
        return list;
    }();
    return names.data();
}

int imageIndex(const std::string& name) {
    auto found = numbersByName().find(name);
    return found == numbersByName().end() ? -1 : found->second;
}

wxImage drawImage(int index, int size) {
    if (index < 0 || index >= imageCount || size <= 0)
        return wxImage();
    wxImage image(size, size, true);
    image.InitAlpha();
    std::memset(image.GetAlpha(), wxALPHA_TRANSPARENT, static_cast<size_t>(size) * size);
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
        if (!gc)
            return image;
        gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
        gc->Scale(size / 16.0, size / 16.0);
        Sketch sketch(*gc);
        pictures[index].draw(sketch);
    } // the context hands its pixels back to the image when it goes
    return image;
}

wxBitmap bitmap(const std::string& name, int size) {
    int index = imageIndex(name);
    if (index < 0)
        return wxBitmap();
    return wxBitmap(drawImage(index, size));
}

wxImageList* createImageList() {
    auto* list = new wxImageList(treeImageSize, treeImageSize, true, imageCount);
    for (int i = 0; i < imageCount; ++i)
        list->Add(wxBitmap(drawImage(i, treeImageSize)));
    return list;
}
} // namespace imageTable
