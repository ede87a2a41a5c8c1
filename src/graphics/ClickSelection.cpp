#include "graphics/ClickSelection.h"

#include "visualizers/UMLElementSelection.h"

void applyClickSelection(UMLSelectionList& list, const std::vector<UMLModelElement*>& hits, int x,
                         int y, bool control, bool shift, ClickCycle& cycle) {
    if (!shift)
        list.clearSelection();
    const bool samePixel = cycle.hasPress && cycle.pressX == x && cycle.pressY == y;
    if (hits.empty()) {
        cycle.index = -1;
    } else if (control && samePixel) {
        const int n = static_cast<int>(hits.size());
        // With Shift the previous step is still selected: undo it before taking the next.
        if (shift && cycle.index != -1)
            list.toggleSelection(hits[static_cast<std::size_t>(cycle.index % n)]);
        // Starting from -1 the first step lands on the nearest element.
        ++cycle.index;
        list.toggleSelection(hits[static_cast<std::size_t>(cycle.index % n)]);
    } else {
        cycle.index = 0;
        list.toggleSelection(hits.front());
    }
    cycle.hasPress = true;
    cycle.pressX = x;
    cycle.pressY = y;
}
