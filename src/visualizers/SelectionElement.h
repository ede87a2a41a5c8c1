#pragma once
// What a pick hands out: one object per named thing that was drawn under the pick region.
// They carry only a non-owning pointer; the model and the metric collection own the targets.
class UMLModelElement;
class ElementMetric;

class SelectionElement {
public:
    virtual ~SelectionElement() = default;
};

// A model element drawn by a visualizer.
class UMLModelSelectionElement : public SelectionElement {
public:
    explicit UMLModelSelectionElement(UMLModelElement* e) : element(e) {}
    UMLModelElement* element; // owned by the model
};

// A metric glyph drawn on an element.
class MetricSelectionElement : public SelectionElement {
public:
    explicit MetricSelectionElement(ElementMetric* m) : metric(m) {}
    ElementMetric* metric; // owned by the metric collection
};
