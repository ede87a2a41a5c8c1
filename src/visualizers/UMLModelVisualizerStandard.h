#pragma once
// "Standard UML": draws the UML notation of a diagram. Node elements (classifier boxes,
// interfaces, lifelines, notes, actors, use cases, pseudostates, states, packages) are drawn
// from their own box; relations (generalizations, dependencies, abstractions, associations,
// transitions, messages) are built between the boxes of their ends in the current diagram.
// Every size and colour is read from the element's style and box and from the global
// configuration at the moment it is drawn.
#include <functional>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "visualizers/UMLModelVisualizer.h"

class Color;
class spline;

class UMLModelVisualizerStandard : public UMLModelVisualizer {
public:
    using UMLModelVisualizer::UMLModelVisualizer;
    using UMLModelVisualizer::visit;

    void visit(UMLAbstraction* element) override;
    void visit(UMLActor* element) override;
    void visit(UMLAssociation* element) override;
    void visit(UMLClassifier* element) override;
    void visit(UMLClassifierRole* element) override;
    void visit(UMLComment* element) override;
    void visit(UMLDependency* element) override;
    void visit(UMLGeneralization* element) override;
    void visit(UMLInterface* element) override;
    void visit(UMLMessage* element) override;
    void visit(UMLPackage* element) override;
    void visit(UMLPseudostate* element) override;
    void visit(UMLSimpleState* element) override;
    void visit(UMLTransition* element) override;
    void visit(UMLUseCase* element) override;

    // A classifier box with the given title, its attribute and operation compartments.
    virtual void drawClassifier(UMLClassifier* element, const std::string& title);
    // Relations are drawn between their ends; nodes have a box of their own.
    virtual bool isRelation(const UMLModelElement* element) const;
    virtual bool isNode(const UMLModelElement* element) const;

protected:
    // Shadows of the node drawings.
    void drawBoxShadow(const Point& lowerLeft, const Point& upperRight) const;
    // Fills the body drawn by fill() marking the stencil, then the shadow outside it.
    void drawMaskedShadow(const std::function<void(const Color&)>& fill, const Color& body) const;

    // Relation helpers.
    void drawErrorMark(bool endMissing) const;
    void drawRelationName(const std::string& name, const Point& from, const Point& to) const;
    void drawStraightHighlight(const Point& p, const Point& q) const;
    void drawCurvedHighlight(const spline& curve) const;
    void drawOpenArrow(const Point& tip, const Point& direction, const Color& color) const;
    // Returns the point where the path meets the triangle's base.
    Point drawClosedArrow(const Point& tip, const Point& direction) const;
    // Returns the diamond's far corner, where the path ends.
    Point drawDiamond(const Point& tip, const Point& direction, bool composite) const;
    void drawStraightRelation(UMLModelElement* relation, UMLModelElement* from, UMLModelElement* to,
                              bool dashed);
};

// The concave outline of an actor's body, arms and legs inside the box.
std::vector<Point> actorBodyOutline(float left, float top, float right, float bottom);
// The label of an association end's multiplicity range: "*", "1..*", "1", "0..1", ...
std::string multiplicityText(bool hasRange, int lower, int upper);
// The angle of a segment from p to q, folded into [-pi/2, pi/2] so text along it is never
// upside down.
float readableAngle(const Point& p, const Point& q);
