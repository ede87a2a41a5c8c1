// The relations of the standard drawing. A relation is never drawn from its stored path: its
// ends are looked up in the current diagram and the line is built between their boxes. The
// relation's own box only serves as a via point for curves and loops and as the place of the
// error marks.
#include <cmath>
#include <string>
#include <vector>

#include "config/Configuration.h"
#include "graphics/Graphics.h"
#include "graphics/Spline.h"
#include "visualizers/UMLElementSelection.h"
#include "visualizers/UMLModelVisualizerStandard.h"

namespace {

constexpr float pi = 3.14159265358979f;
// Curves are sampled finely enough to look smooth at any zoom the camera allows.
constexpr int curveSamples = 256;
// How far the two sides of a loop swing out from the relation's own centre.
constexpr float loopHalfWidth = 16.0f;
// Where along a loop the arrow head takes its direction: late enough to follow the returning
// stroke, early enough that the curve still bends there.
constexpr float loopArrowParameter = 0.85f;
constexpr float dependencyDash = 8.0f;
constexpr float dependencyGap = 5.0f;

Color toColor(const UMLStyle::RGBA& c) {
    return Color(c[0], c[1], c[2], c[3]);
}

Point operator+(const Point& a, const Point& b) {
    return Point(a.x + b.x, a.y + b.y);
}
Point operator-(const Point& a, const Point& b) {
    return Point(a.x - b.x, a.y - b.y);
}
Point operator*(float s, const Point& p) {
    return Point(s * p.x, s * p.y);
}
Point operator-(const Point& p) {
    return Point(-p.x, -p.y);
}
// The vector turned a quarter to the left.
Point perpendicular(const Point& p) {
    return Point(-p.y, p.x);
}
Point rotated(const Point& p, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return Point(c * p.x - s * p.y, s * p.x + c * p.y);
}

bool finite(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}
bool finite(const UMLGeometry& g) {
    return std::isfinite(g.left) && std::isfinite(g.top) && std::isfinite(g.right) &&
           std::isfinite(g.bottom);
}

Point centreOf(const UMLGeometry& g) {
    return Point((g.left + g.right) * 0.5f, (g.top + g.bottom) * 0.5f);
}

// The unit vector from a to b; false where the two points (nearly) coincide, so that callers
// draw nothing along a segment without a direction.
bool unitVector(const Point& a, const Point& b, Point& out) {
    const Point d = b - a;
    const float length = std::hypot(d.x, d.y);
    if (!(length > 1e-6f) || !std::isfinite(length))
        return false;
    out = (1.0f / length) * d;
    return true;
}

// Where the segment a-b crosses the box's edge; when it crosses none (the boxes of the two
// ends overlap, or the box has no area) the relation ends at fallback, one of its own
// centres.
Point edgePoint(const Point& a, const Point& b, const UMLGeometry& box, const Point& fallback) {
    Point out;
    if (Graphics::clipToRectangle(a, b, box, out) && finite(out))
        return out;
    return fallback;
}

bool sameElement(const UMLModelElement* a, const UMLModelElement* b) {
    return a == b || (a && b && !a->id.empty() && a->id == b->id);
}

// The loop of a relation from an element to itself: it leaves the box at q, swings out on
// both sides of via and comes back to q. False when q and via coincide, which leaves the
// loop without a direction to swing out in.
bool buildLoop(const Point& q, const Point& via, TCBSpline& loop) {
    Point u;
    if (!unitVector(q, via, u))
        return false;
    const Point n = perpendicular(u);
    const Point a = via - loopHalfWidth * n;
    const Point b = via + loopHalfWidth * n;
    loop.tension = -0.5f;
    for (const Point& p : {q, q, a, b, q, q})
        loop.addPoint(p.x, p.y);
    return true;
}

// The two wing points of an arrow head or diamond at tip.
void arrowWings(const Point& tip, const Point& direction, Point& wingLeft, Point& wingRight) {
    const float size = globalConfiguration.getFloat("Visualizer.UMLModel.ArrowSize");
    const float angle = globalConfiguration.getFloat("Visualizer.UMLModel.ArrowAngle");
    wingLeft = tip - rotated(size * direction, angle);
    wingRight = tip - rotated(size * direction, -angle);
}

// Line smoothing for the duration of one relation's drawing, switched off on every way out.
class SmoothingScope {
public:
    SmoothingScope() { Graphics::setSmoothing(true); }
    ~SmoothingScope() { release(); }
    SmoothingScope(const SmoothingScope&) = delete;
    SmoothingScope& operator=(const SmoothingScope&) = delete;

    void release() {
        if (on_)
            Graphics::setSmoothing(false);
        on_ = false;
    }

private:
    bool on_ = true;
};

} // namespace

std::string multiplicityText(bool hasRange, int lower, int upper) {
    if (!hasRange)
        return std::string();
    if (lower == -1 && upper == -1)
        return "*";
    if (upper == -1)
        return std::to_string(lower) + "..*";
    if (lower == upper)
        return std::to_string(lower);
    return std::to_string(lower) + ".." + std::to_string(upper);
}

float readableAngle(const Point& p, const Point& q) {
    const float dx = q.x - p.x;
    const float dy = q.y - p.y;
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return 0.0f;
    float angle = std::atan2(dy, dx);
    if (angle < -pi / 2.0f)
        angle += pi;
    else if (angle > pi / 2.0f)
        angle -= pi;
    return angle;
}

bool UMLModelVisualizerStandard::isRelation(const UMLModelElement* element) const {
    return dynamic_cast<const UMLAssociation*>(element) ||
           dynamic_cast<const UMLGeneralization*>(element) ||
           dynamic_cast<const UMLDependency*>(element) ||
           dynamic_cast<const UMLMessage*>(element) || dynamic_cast<const UMLTransition*>(element);
}

bool UMLModelVisualizerStandard::isNode(const UMLModelElement* element) const {
    return dynamic_cast<const UMLInterface*>(element) || dynamic_cast<const UMLClass*>(element) ||
           dynamic_cast<const UMLClassifierRole*>(element) ||
           dynamic_cast<const UMLComment*>(element) || dynamic_cast<const UMLActor*>(element) ||
           dynamic_cast<const UMLUseCase*>(element) || dynamic_cast<const UMLPackage*>(element) ||
           dynamic_cast<const UMLPseudostate*>(element) ||
           dynamic_cast<const UMLSimpleState*>(element);
}

// Helpers.

bool UMLModelVisualizerStandard::findEndGeometry(const UMLModelElement* end,
                                                 UMLGeometry& box) const {
    return findGeometry(end, box) && finite(box);
}

void UMLModelVisualizerStandard::drawErrorMark(bool endMissing) const {
    const UMLGeometry& own = currentGeometry();
    if (!finite(own))
        return;
    const Color mark(endMissing ? 0x8800ff00u : 0x88ff0000u);
    Graphics::rectFill(Point(own.left, own.top), Point(own.right, own.bottom), mark);
}

void UMLModelVisualizerStandard::drawRelationName(const std::string& name, const Point& from,
                                                  const Point& to) const {
    if (name.empty() || !globalConfiguration.getBool("Visualizer.General.RelationNames"))
        return;
    const UMLStyle& style = currentStyle();
    const Point middle = 0.5f * (from + to);
    Graphics::drawText(name, middle, readableAngle(from, to), static_cast<float>(style.fontSize),
                       Graphics::CenterHorizontal, toColor(style.fontColor));
}

void UMLModelVisualizerStandard::drawCurvedRelationName(const std::string& name,
                                                        const Point& at) const {
    if (name.empty() || !globalConfiguration.getBool("Visualizer.General.RelationNames"))
        return;
    const UMLStyle& style = currentStyle();
    Graphics::drawText(name, at, static_cast<float>(style.fontSize),
                       Graphics::CenterHorizontal | Graphics::CenterVertical,
                       toColor(style.fontColor));
}

void UMLModelVisualizerStandard::drawStraightHighlight(const Point& p, const Point& q) const {
    Point u;
    if (!unitVector(p, q, u))
        return;
    const float width = globalConfiguration.getFloat("Visualizer.General.RelationWidth");
    const Point side = (0.5f * width) * perpendicular(u);
    Graphics::fillConvexPolygon({p + side, q + side, q - side, p - side},
                                globalConfiguration.getColor("Visualizer.General.SelectColor"));
}

void UMLModelVisualizerStandard::drawCurvedHighlight(const spline& curve) const {
    Graphics::setLineWidth(globalConfiguration.getFloat("Visualizer.General.RelationWidth"));
    Graphics::drawSpline(curve, globalConfiguration.getColor("Visualizer.General.SelectColor"),
                         curveSamples);
    Graphics::setLineWidth(1.0f);
}

void UMLModelVisualizerStandard::drawOpenArrow(const Point& tip, const Point& direction) const {
    Point wingLeft;
    Point wingRight;
    arrowWings(tip, direction, wingLeft, wingRight);
    const Color line = toColor(currentStyle().lineColor);
    Graphics::drawLine(tip, wingLeft, line);
    Graphics::drawLine(tip, wingRight, line);
}

bool UMLModelVisualizerStandard::drawClosedArrow(const Point& start, const Point& tip,
                                                 const Point& direction, const Color& fill,
                                                 Point& base) const {
    Point wingLeft;
    Point wingRight;
    arrowWings(tip, direction, wingLeft, wingRight);
    const std::vector<Point> head = {tip, wingLeft, wingRight, tip};
    Graphics::fillConvexPolygon(head, fill);
    Graphics::drawPolygon(head, toColor(currentStyle().lineColor));
    return segmentIntersection(start, tip, wingLeft, wingRight, base);
}

Point UMLModelVisualizerStandard::drawDiamond(const Point& tip, const Point& direction,
                                              bool composite) const {
    Point wingLeft;
    Point wingRight;
    arrowWings(tip, direction, wingLeft, wingRight);
    const float size = globalConfiguration.getFloat("Visualizer.UMLModel.ArrowSize");
    const float angle = globalConfiguration.getFloat("Visualizer.UMLModel.ArrowAngle");
    const Point farCorner = tip - (2.0f * size * std::cos(angle)) * direction;
    const std::vector<Point> diamond = {tip, wingLeft, farCorner, wingRight};
    Graphics::fillConvexPolygon(diamond, composite ? Color(0, 0, 0, 1) : Color(1, 1, 1, 1));
    Graphics::drawPolygon(diamond, toColor(currentStyle().lineColor));
    return farCorner;
}

void UMLModelVisualizerStandard::drawStraightRelation(const UMLModelElement* relation,
                                                      const UMLModelElement* from,
                                                      const UMLModelElement* to, bool dependency) {
    SmoothingScope smoothing;
    if (!from || !to) {
        drawErrorMark(true);
        return;
    }
    UMLGeometry fromBox;
    UMLGeometry toBox;
    if (!findEndGeometry(from, fromBox) || !findEndGeometry(to, toBox)) {
        drawErrorMark(false);
        return;
    }
    const UMLStyle& style = currentStyle();
    const Color line = toColor(style.lineColor);
    const Point fromCentre = centreOf(fromBox);
    const Point toCentre = centreOf(toBox);
    // Where the centre line leaves the one box and enters the other.
    const Point p = edgePoint(fromCentre, toCentre, fromBox, fromCentre);
    const Point q = edgePoint(fromCentre, toCentre, toBox, toCentre);
    Point u;
    const bool hasDirection = unitVector(p, q, u);
    if (hasDirection) {
        if (dependency) {
            Graphics::drawDashedLine(p, q, dependencyDash, dependencyGap, line);
            drawOpenArrow(q, u);
        } else {
            Point base;
            if (drawClosedArrow(p, q, u, toColor(style.fillColor), base))
                Graphics::drawLine(p, base, line);
        }
    }
    drawRelationName(relation->name, p, q);
    if (hasDirection && isSelected(relation))
        drawStraightHighlight(p, q);
}

// The kinds.

void UMLModelVisualizerStandard::visit(UMLGeneralization* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Generalizations"))
        return;
    drawStraightRelation(element, element->child, element->parent, false);
}

void UMLModelVisualizerStandard::visit(UMLDependency* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Dependencies"))
        return;
    drawStraightRelation(element, element->client.empty() ? nullptr : element->client.front(),
                         element->supplier.empty() ? nullptr : element->supplier.front(), true);
}

void UMLModelVisualizerStandard::visit(UMLAbstraction* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Abstractions"))
        return;
    drawStraightRelation(element, element->client.empty() ? nullptr : element->client.front(),
                         element->supplier.empty() ? nullptr : element->supplier.front(), true);
}

void UMLModelVisualizerStandard::visit(UMLAssociation* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Associations"))
        return;
    const std::vector<UMLAssociationEnd*>& ends = element->connection;
    if (ends.empty())
        return;
    SmoothingScope smoothing;
    if (ends.size() < 2) {
        drawErrorMark(true);
        return;
    }
    for (const UMLAssociationEnd* end : ends) {
        if (!end || !end->type) {
            drawErrorMark(true);
            return;
        }
    }
    std::vector<UMLGeometry> boxes(ends.size());
    for (std::size_t i = 0; i < ends.size(); ++i) {
        if (!findEndGeometry(ends[i]->type, boxes[i])) {
            drawErrorMark(false);
            return;
        }
    }
    const UMLGeometry& own = currentGeometry();
    if (!finite(own))
        return;
    const UMLStyle& style = currentStyle();
    const Color line = toColor(style.lineColor);
    const Point ownCentre = centreOf(own);

    if (ends.size() >= 2 && sameElement(ends[0]->type, ends[1]->type)) {
        const Point centre = centreOf(boxes[0]);
        const Point q = edgePoint(centre, ownCentre, boxes[0], centre);
        TCBSpline loop;
        const bool hasLoop = buildLoop(q, ownCentre, loop);
        if (hasLoop)
            Graphics::drawSpline(loop, line, curveSamples);
        drawCurvedRelationName(element->name, ownCentre);
        if (hasLoop && isSelected(element))
            drawCurvedHighlight(loop);
        return;
    }

    // Each end attaches where the line from its participant towards the association's own
    // centre leaves the participant; the lines meet at the average of these points.
    std::vector<Point> attachments;
    Point hub;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const Point centre = centreOf(boxes[i]);
        attachments.push_back(edgePoint(centre, ownCentre, boxes[i], centre));
        hub = hub + attachments.back();
    }
    hub = (1.0f / static_cast<float>(attachments.size())) * hub;

    const float labelDistance =
        globalConfiguration.getFloat("Visualizer.UMLModel.MultiplicityDistance");
    const float diamondLength =
        2.0f * globalConfiguration.getFloat("Visualizer.UMLModel.ArrowSize") *
        std::cos(globalConfiguration.getFloat("Visualizer.UMLModel.ArrowAngle"));
    std::vector<bool> hasLine(ends.size(), false);
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const UMLAssociationEnd& end = *ends[i];
        const Point& attachment = attachments[i];
        Point d;
        if (!unitVector(attachment, hub, d))
            continue;
        hasLine[i] = true;
        const UMLMultiplicityRange* range = end.multiplicity ? end.multiplicity->range : nullptr;
        if (range) {
            Graphics::drawText(multiplicityText(true, range->lower, range->upper),
                               attachment + labelDistance * (d + perpendicular(d)),
                               static_cast<float>(style.fontSize),
                               Graphics::CenterHorizontal | Graphics::CenterVertical,
                               toColor(style.fontColor));
        }
        const bool composite = end.aggregation == "composite";
        if (composite || end.aggregation == "aggregate") {
            const Point farCorner = drawDiamond(attachment, -d, composite);
            // An end closer to the hub than the diamond is long keeps only the diamond.
            if (std::hypot(hub.x - attachment.x, hub.y - attachment.y) > diamondLength)
                Graphics::drawLine(hub, farCorner, line);
        } else {
            if (end.isNavigable)
                drawOpenArrow(attachment, -d);
            Graphics::drawLine(hub, attachment, line);
        }
    }

    smoothing.release();
    if (attachments.size() == 2)
        drawRelationName(element->name, attachments[0], attachments[1]);
    else
        drawCurvedRelationName(element->name, hub);
    if (isSelected(element)) {
        for (std::size_t i = 0; i < ends.size(); ++i)
            if (hasLine[i])
                drawStraightHighlight(hub, attachments[i]);
    }
}

void UMLModelVisualizerStandard::visit(UMLTransition* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Transitions"))
        return;
    SmoothingScope smoothing;
    if (!element->source || !element->target) {
        drawErrorMark(true);
        return;
    }
    UMLGeometry sourceBox;
    UMLGeometry targetBox;
    if (!findEndGeometry(element->source, sourceBox) ||
        !findEndGeometry(element->target, targetBox)) {
        drawErrorMark(false);
        return;
    }
    const UMLGeometry& own = currentGeometry();
    if (!finite(own))
        return;
    const Color line = toColor(currentStyle().lineColor);
    const Point via = centreOf(own);

    TCBSpline curve;
    bool hasCurve = false;
    if (!sameElement(element->source, element->target)) {
        const Point sourceCentre = centreOf(sourceBox);
        const Point targetCentre = centreOf(targetBox);
        const Point start = edgePoint(sourceCentre, via, sourceBox, sourceCentre);
        const Point end = edgePoint(targetCentre, via, targetBox, targetCentre);
        for (const Point& p : {sourceCentre, start, via, end, targetCentre})
            curve.addPoint(p.x, p.y);
        Point u;
        const bool arrives = unitVector(via, end, u);
        Point leaves;
        // Both ends and the via point in one place leave nothing to see.
        hasCurve = arrives || unitVector(start, via, leaves);
        if (hasCurve)
            Graphics::drawSpline(curve, line, curveSamples);
        if (arrives)
            drawOpenArrow(end, u);
    } else {
        const Point centre = centreOf(sourceBox);
        const Point q = edgePoint(centre, via, sourceBox, centre);
        hasCurve = buildLoop(q, via, curve);
        if (hasCurve) {
            Graphics::drawSpline(curve, line, curveSamples);
            const Point u = curve.tangent(loopArrowParameter);
            if (finite(u) && (u.x != 0.0f || u.y != 0.0f))
                drawOpenArrow(q, u);
        }
    }
    drawCurvedRelationName(element->name, via);
    if (hasCurve && isSelected(element))
        drawCurvedHighlight(curve);
}

void UMLModelVisualizerStandard::visit(UMLMessage* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Messages"))
        return;
    SmoothingScope smoothing;
    if (!element->sender || !element->receiver) {
        drawErrorMark(true);
        return;
    }
    UMLGeometry senderBox;
    UMLGeometry receiverBox;
    if (!findEndGeometry(element->sender, senderBox) ||
        !findEndGeometry(element->receiver, receiverBox)) {
        drawErrorMark(false);
        return;
    }
    const UMLGeometry& own = currentGeometry();
    if (!finite(own))
        return;
    // The message runs at the height of its own box, between the lifelines, which hang
    // from the middle of the roles' boxes.
    const float y = (own.top + own.bottom) * 0.5f;
    const Point sender((senderBox.left + senderBox.right) * 0.5f, y);
    const Point receiver((receiverBox.left + receiverBox.right) * 0.5f, y);
    if (sameElement(element->sender, element->receiver))
        drawSelfMessage(element, sender);
    else
        drawMessageBetween(element, sender, receiver);
}

namespace {

// The activation box on a lifeline where a message leaves or arrives: half as wide as a
// message loop is high.
struct Activation {
    Point lowerLeft;
    Point upperRight;
};

Activation activationAt(const Point& lifeline, float size) {
    return {Point(lifeline.x - 0.25f * size, lifeline.y - 0.5f * size),
            Point(lifeline.x + 0.25f * size, lifeline.y + 0.5f * size)};
}

// A style without a fill colour would leave the activation boxes see-through, and the
// lifeline would show through them.
Color activationFill(const UMLStyle& style) {
    return style.fillColor[3] == 0.0f ? Color(1, 1, 1, 1) : toColor(style.fillColor);
}

void drawActivation(const Activation& box, const Color& fill, const Color& line) {
    Graphics::rectFill(box.lowerLeft, box.upperRight, fill);
    Graphics::rectOutline(box.lowerLeft, box.upperRight, line);
}

} // namespace

void UMLModelVisualizerStandard::drawMessageBetween(const UMLModelElement* message,
                                                    const Point& sender, const Point& receiver) {
    const UMLStyle& style = currentStyle();
    const Color line = toColor(style.lineColor);
    const Color fill = activationFill(style);
    const float size = globalConfiguration.getFloat("Visualizer.UMLModel.MessageSize");
    const float spacing = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
    drawActivation(activationAt(sender, size), fill, line);
    drawActivation(activationAt(receiver, size), fill, line);

    // From the sender's activation box to the receiver's; roles so close that their boxes
    // meet leave no line.
    const float side = receiver.x >= sender.x ? 1.0f : -1.0f;
    const Point start(sender.x + side * 0.25f * size, sender.y);
    const Point tip(receiver.x - side * 0.25f * size, receiver.y);
    Point u;
    const bool hasLine = (tip.x - start.x) * side > 0.0f && unitVector(start, tip, u);
    if (hasLine) {
        Point base;
        if (drawClosedArrow(start, tip, u, toColor(style.fillColor), base))
            Graphics::drawLine(start, base, line);
    }

    if (!message->name.empty() && globalConfiguration.getBool("Visualizer.General.RelationNames")) {
        const float textSize = static_cast<float>(style.fontSize);
        float width = 0.0f;
        float height = 0.0f;
        Graphics::textSize(message->name, textSize, width, height);
        // The name begins at the sender: after it going right, before it going left.
        const float x = side > 0.0f ? start.x + spacing : start.x - spacing - width;
        Graphics::drawText(message->name, Point(x, start.y + spacing), textSize, 0,
                           toColor(style.fontColor));
    }
    if (hasLine && isSelected(message))
        drawStraightHighlight(start, tip);
}

void UMLModelVisualizerStandard::drawSelfMessage(const UMLModelElement* message,
                                                 const Point& lifeline) {
    const UMLStyle& style = currentStyle();
    const Color line = toColor(style.lineColor);
    const float size = globalConfiguration.getFloat("Visualizer.UMLModel.MessageSize");
    const float spacing = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
    const Activation box = activationAt(lifeline, size);
    drawActivation(box, activationFill(style), line);

    // A loop out of the box's upper right corner, size to the right, back into its lower
    // right corner.
    const Point leave(box.upperRight.x, box.upperRight.y);
    const Point back(box.upperRight.x, box.lowerLeft.y);
    const Point out(leave.x + size, leave.y);
    const Point in(back.x + size, back.y);
    TCBSpline loop;
    loop.tension = -0.5f;
    for (const Point& p : {leave, leave, out, in, back, back})
        loop.addPoint(p.x, p.y);
    Graphics::drawSpline(loop, line, curveSamples);
    const Point u = loop.tangent(loopArrowParameter);
    Point base;
    if (finite(u) && (u.x != 0.0f || u.y != 0.0f))
        drawClosedArrow(back, back, u, toColor(style.fillColor), base);

    if (!message->name.empty() && globalConfiguration.getBool("Visualizer.General.RelationNames")) {
        Graphics::drawText(message->name, Point(out.x + spacing, lifeline.y),
                           static_cast<float>(style.fontSize), Graphics::CenterVertical,
                           toColor(style.fontColor));
    }
    if (isSelected(message))
        drawCurvedHighlight(loop);
}
