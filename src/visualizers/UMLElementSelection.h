#pragma once
// Which model elements the user has selected. Each element that was ever selected carries a
// UMLElementSelection record in its userData; the list keeps the selected elements in
// selection order and owns the records it created.
#include <memory>
#include <vector>

#include "uml/UMLModel.h"

class UMLElementSelection : public UMLUserData {
public:
    bool selected = false;
};

// One per loaded model. The records it made hang on the model's elements, so it must be
// destroyed together with that model (or before the elements are used again).
class UMLSelectionList {
public:
    UMLSelectionList() = default;
    UMLSelectionList(const UMLSelectionList&) = delete;
    UMLSelectionList& operator=(const UMLSelectionList&) = delete;

    const std::vector<UMLModelElement*>& elements() const { return elements_; }
    bool empty() const { return elements_.empty(); }
    std::size_t size() const { return elements_.size(); }

    void clearSelection();
    void selectElement(UMLModelElement* element);
    void selectOnly(UMLModelElement* element);
    void toggleSelection(UMLModelElement* element);
    void deselectElement(UMLModelElement* element);

private:
    UMLElementSelection& recordOf(UMLModelElement& element);
    bool contains(const UMLModelElement* element) const;

    std::vector<UMLModelElement*> elements_;
    std::vector<std::unique_ptr<UMLElementSelection>> records_;
};

// The first selection record of the element's userData; null if it has none.
UMLElementSelection* findSelectionRecord(const UMLModelElement* element);
// Whether the element is currently selected (false without a record).
bool isSelected(const UMLModelElement* element);
