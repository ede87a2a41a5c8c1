#include "visualizers/UMLElementSelection.h"

#include <algorithm>

UMLElementSelection* findSelectionRecord(const UMLModelElement* element) {
    if (!element)
        return nullptr;
    for (UMLUserData* data : element->userData)
        if (auto* record = dynamic_cast<UMLElementSelection*>(data))
            return record;
    return nullptr;
}

bool isSelected(const UMLModelElement* element) {
    const UMLElementSelection* record = findSelectionRecord(element);
    return record && record->selected;
}

UMLElementSelection& UMLSelectionList::recordOf(UMLModelElement& element) {
    if (UMLElementSelection* record = findSelectionRecord(&element))
        return *record;
    records_.push_back(std::make_unique<UMLElementSelection>());
    element.userData.push_back(records_.back().get());
    return *records_.back();
}

bool UMLSelectionList::contains(const UMLModelElement* element) const {
    return std::find(elements_.begin(), elements_.end(), element) != elements_.end();
}

void UMLSelectionList::clearSelection() {
    for (UMLModelElement* element : elements_)
        if (UMLElementSelection* record = findSelectionRecord(element))
            record->selected = false;
    elements_.clear();
}

void UMLSelectionList::selectElement(UMLModelElement* element) {
    if (!element)
        return;
    recordOf(*element).selected = true;
    if (!contains(element))
        elements_.push_back(element);
}

void UMLSelectionList::selectOnly(UMLModelElement* element) {
    clearSelection();
    selectElement(element);
}

void UMLSelectionList::toggleSelection(UMLModelElement* element) {
    if (!element)
        return;
    if (contains(element))
        deselectElement(element);
    else
        selectElement(element);
}

void UMLSelectionList::deselectElement(UMLModelElement* element) {
    if (UMLElementSelection* record = findSelectionRecord(element))
        record->selected = false;
    elements_.erase(std::remove(elements_.begin(), elements_.end(), element), elements_.end());
}
