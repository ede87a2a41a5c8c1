#pragma once
// What a left click does to the selection: without Shift it starts afresh; Control-clicks
// that repeat on one pixel step through the elements stacked under the pointer.
#include <vector>

class UMLModelElement;
class UMLSelectionList;

// The cycling state of repeated clicks, one for the whole canvas.
struct ClickCycle {
    int index = -1; // -1 while no element was hit by the last press
    bool hasPress = false;
    int pressX = 0; // position of the previous press, window coordinates
    int pressY = 0;
};

// Applies one left press at (x, y) whose pick found hits (model elements, nearest first).
void applyClickSelection(UMLSelectionList& list, const std::vector<UMLModelElement*>& hits, int x,
                         int y, bool control, bool shift, ClickCycle& cycle);
