#pragma once
// Base of every visualizer: a visitor over the model that draws one diagram element by
// element. It walks the diagram in its drawing order, keeps the style and geometry of the
// element being drawn on two stacks for the visit overloads, names the drawn elements for
// picking, and finds where a model element is drawn in the current diagram.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "uml/UMLModel.h"
#include "uml/UMLModelVisitor.h"
#include "visualizers/SelectionElement.h"

class UMLModelVisualizer : public UMLModelVisitor {
public:
    // Every visualizer of the program is built with both flags false.
    explicit UMLModelVisualizer(bool drawWithoutSubject = false, bool drawUnknownKinds = false);
    ~UMLModelVisualizer() override;

    using UMLModelVisitor::visit;
    void visit(UMLModelElement* element) override;

    // Draws the whole diagram in the current OpenGL context, at this visualizer's opacity.
    virtual void draw(UMLDiagram* diagram);
    // Draws the diagram in selection mode (the caller has set up the pick matrix) and returns
    // what was hit, nearest first, each object once. The caller owns the result.
    virtual std::vector<std::unique_ptr<SelectionElement>> pick(UMLDiagram* diagram);
    // Draws one diagram element through its subject's visit overload.
    virtual void drawElement(UMLDiagramElement* element);

    // The box of the first element of the current diagram that shows this model element
    // (by id, or classifier roles of the same base); false when the diagram does not show it.
    virtual bool findGeometry(const UMLModelElement* element, UMLGeometry& out) const;

    float opacity = 0.75f;

    bool isPicking() const { return picking; }
    UMLDiagram* getCurrentDiagram() const { return currentDiagram; }

protected:
    // While a visit runs: the style and box of the diagram element being drawn.
    const UMLStyle& currentStyle() const;
    const UMLGeometry& currentGeometry() const;

    // While picking: gives obj the next selection name and pushes that name on the OpenGL
    // name stack; pair every call with popSelectionName.
    void pushSelectionName(std::unique_ptr<SelectionElement> obj);
    void popSelectionName();

    bool drawWithoutSubject;
    bool drawUnknownKinds;
    bool picking = false;
    std::uint32_t nameCounter = 0;
    // The objects named during the current pick, by selection name.
    std::map<std::uint32_t, std::unique_ptr<SelectionElement>> selectionNames;
    UMLDiagram* currentDiagram = nullptr; // owned by the loaded model
    std::vector<const UMLStyle*> styleStack;
    std::vector<const UMLGeometry*> geometryStack;
};

// One hit record of OpenGL's selection buffer.
struct PickHit {
    std::uint32_t minDepth = 0;
    std::vector<std::uint32_t> names;
};

// Parses count hit records from an OpenGL selection buffer of size words. Records that run
// past the end are dropped.
std::vector<PickHit> parseSelectionBuffer(const std::uint32_t* buffer, std::size_t size, int count);

// The selection buffer sizes tried in turn, in unsigned integers: the first size, doubled until
// the hit records fit, at most maxPickBufferSize.
constexpr std::size_t firstPickBufferSize = 1024;
constexpr std::size_t maxPickBufferSize = std::size_t(1) << 22;
