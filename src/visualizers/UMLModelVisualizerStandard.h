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

struct Color;
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

    // Relation helpers. Directions are unit vectors along the path, pointing at the tip.

    // Finds where an end of a relation is drawn in the current diagram; false when it is not
    // shown there, or only at a box without finite coordinates.
    bool findEndGeometry(const UMLModelElement* end, UMLGeometry& box) const;
    // The translucent box over the relation's own geometry: green when the model relation
    // lacks an end, red when an end is not shown in this diagram.
    void drawErrorMark(bool endMissing) const;
    // The name at the middle of a straight segment, along it and never upside down.
    void drawRelationName(const std::string& name, const Point& from, const Point& to) const;
    // The name of a curved relation, centred on its via point.
    void drawCurvedRelationName(const std::string& name, const Point& at) const;
    void drawStraightHighlight(const Point& p, const Point& q) const;
    void drawCurvedHighlight(const spline& curve) const;
    void drawOpenArrow(const Point& tip, const Point& direction) const;
    // A triangle head filled in fill. base receives the point where the straight path from
    // start meets the head's base; false when start lies within the head, so that no line is
    // left to draw.
    bool drawClosedArrow(const Point& start, const Point& tip, const Point& direction,
                         const Color& fill, Point& base) const;
    // Returns the diamond's far corner, where the path ends.
    Point drawDiamond(const Point& tip, const Point& direction, bool composite) const;
    // Generalizations (solid line, hollow triangle at to) and dependencies (dashed line, open
    // arrow at to). A null end is a missing end.
    void drawStraightRelation(const UMLModelElement* relation, const UMLModelElement* from,
                              const UMLModelElement* to, bool dependency);
    void drawSelfMessage(const UMLModelElement* message, const Point& lifeline);
    void drawMessageBetween(const UMLModelElement* message, const Point& sender,
                            const Point& receiver);
};

// The concave outline of an actor's body, arms and legs inside the box.
std::vector<Point> actorBodyOutline(float left, float top, float right, float bottom);
// The label of an association end's multiplicity range: "*", "1..*", "1", "0..1", ...
std::string multiplicityText(bool hasRange, int lower, int upper);
// The angle of a segment from p to q, folded into [-pi/2, pi/2] so text along it is never
// upside down.
float readableAngle(const Point& p, const Point& q);
