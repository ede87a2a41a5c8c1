#include "visualizers/UMLModelVisualizerStandard.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "config/Configuration.h"
#include "graphics/Graphics.h"
#include "visualizers/ClassifierLayout.h"
#include "visualizers/UMLElementSelection.h"

namespace {

constexpr int alignHangCentred = TextAlign::AlignTop | TextAlign::CenterHorizontal;   // 5
constexpr int alignHang = TextAlign::AlignTop;                                        // 4
constexpr int alignCentred = TextAlign::CenterHorizontal | TextAlign::CenterVertical; // 3
constexpr int ellipseSegments = -3; // one segment per 3 units of circumference

Color toColor(const UMLStyle::RGBA& c) {
    return Color(c[0], c[1], c[2], c[3]);
}

float textHeight(const std::string& text, float size) {
    float w = 0.0f;
    float h = 0.0f;
    Graphics::textSize(text, size, w, h);
    return h;
}

bool namesOn() {
    return globalConfiguration.getBool("Visualizer.General.ElementNames");
}
Color selectColor() {
    return globalConfiguration.getColor("Visualizer.General.SelectColor");
}

} // namespace

void UMLModelVisualizerStandard::drawBoxShadow(const Point& lowerLeft,
                                               const Point& upperRight) const {
    if (!globalConfiguration.getBool("Visualizer.General.Shadows"))
        return;
    const float s = globalConfiguration.getFloat("Visualizer.UMLModel.ShadowSize");
    const Color shadow = globalConfiguration.getColor("Visualizer.UMLModel.ShadowColor");
    Graphics::rectFill(Point(lowerLeft.x + s, lowerLeft.y - s), Point(upperRight.x, lowerLeft.y),
                       shadow);
    Graphics::rectFill(Point(upperRight.x, lowerLeft.y - s),
                       Point(upperRight.x + s, upperRight.y - s), shadow);
}

void UMLModelVisualizerStandard::drawMaskedShadow(const std::function<void(const Color&)>& fill,
                                                  const Color& body) const {
    if (Graphics::isRecordingVector()) {
        // A recording has no stencil buffer: the shadow goes first, the body over it, which
        // is the masked drawing wherever the body is opaque.
        if (globalConfiguration.getBool("Visualizer.General.Shadows")) {
            const float s = globalConfiguration.getFloat("Visualizer.UMLModel.ShadowSize");
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glTranslatef(s, -s, 0.0f);
            fill(globalConfiguration.getColor("Visualizer.UMLModel.ShadowColor"));
            glPopMatrix();
        }
        fill(body);
        return;
    }
    glPushAttrib(GL_STENCIL_BUFFER_BIT | GL_ENABLE_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0xff);
    glStencilFunc(GL_ALWAYS, 1, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    fill(body);
    if (globalConfiguration.getBool("Visualizer.General.Shadows")) {
        const float s = globalConfiguration.getFloat("Visualizer.UMLModel.ShadowSize");
        glStencilFunc(GL_NOTEQUAL, 1, 0xff);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glTranslatef(s, -s, 0.0f);
        fill(globalConfiguration.getColor("Visualizer.UMLModel.ShadowColor"));
        glPopMatrix();
    }
    glPopAttrib();
}

void UMLModelVisualizerStandard::visit(UMLClassifier* element) {
    drawClassifier(element, element->name);
}

void UMLModelVisualizerStandard::visit(UMLInterface* element) {
    drawClassifier(element, "<<" + element->name + ">>");
}

void UMLModelVisualizerStandard::drawClassifier(UMLClassifier* element, const std::string& title) {
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    const Point lowerLeft(g.left, g.top);
    const Point upperRight(g.right, g.bottom);
    const Color fill = toColor(style.fillColor);
    if (picking) {
        Graphics::rectFill(lowerLeft, upperRight, fill);
        return;
    }
    const Color line = toColor(style.lineColor);
    const Color font = toColor(style.fontColor);
    const float size = static_cast<float>(style.fontSize);

    drawBoxShadow(lowerLeft, upperRight);
    Graphics::rectFill(lowerLeft, upperRight, fill);
    Graphics::rectOutline(lowerLeft, upperRight, line);

    ClassifierLayoutInput in;
    in.left = g.left;
    in.top = g.top;
    in.right = g.right;
    in.bottom = g.bottom;
    in.textSpacing = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
    in.titleHeight = textHeight(title, size);
    for (const UMLFeature* feature : element->feature) {
        if (!feature)
            continue;
        in.featureHeight = std::max(in.featureHeight, textHeight(feature->name, size));
        if (dynamic_cast<const UMLAttribute*>(feature))
            in.attributes.push_back(feature->name);
        else if (dynamic_cast<const UMLOperation*>(feature))
            in.operations.push_back(feature->name);
    }
    in.showAttributes = globalConfiguration.getBool("Visualizer.General.Attributes");
    in.showOperations = globalConfiguration.getBool("Visualizer.General.Methods");
    const ClassifierLayout layout = layoutClassifier(in);

    if (namesOn())
        Graphics::drawText(title, layout.titleAt, size, alignHangCentred, font);
    Graphics::drawLine(Point(g.left, layout.firstSeparator), Point(g.right, layout.firstSeparator),
                       line);
    for (const auto& l : layout.attributes)
        Graphics::drawText(l.text, l.at, size, l.flags, font);
    if (layout.hasSecondSeparator)
        Graphics::drawLine(Point(g.left, layout.secondSeparator),
                           Point(g.right, layout.secondSeparator), line);
    for (const auto& l : layout.operations)
        Graphics::drawText(l.text, l.at, size, l.flags, font);

    if (isSelected(element))
        Graphics::rectFill(lowerLeft, upperRight, selectColor());
}

void UMLModelVisualizerStandard::visit(UMLClassifierRole* element) {
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    const float size = static_cast<float>(style.fontSize);
    const float ts = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
    const float cx = (g.left + g.right) / 2.0f;

    const float h1 = textHeight(element->name, size);
    float head = 2.0f * ts + h1;
    std::string baseText;
    if (element->base) {
        baseText = "(" + element->base->name + ")";
        head += textHeight(baseText, size) + ts;
    }
    head = std::max(head, g.bottom - g.top + 1.0f);

    const Point lowerLeft(g.left, g.bottom - head);
    const Point upperRight(g.right, g.bottom);
    drawBoxShadow(lowerLeft, upperRight);
    Graphics::rectFill(lowerLeft, upperRight, toColor(style.fillColor));
    Graphics::rectOutline(lowerLeft, upperRight, toColor(style.lineColor));

    // The lifeline runs down to the lowest point of the diagram.
    if (currentDiagram) {
        const float lowest = currentDiagram->bounds[1];
        if (lowest < lowerLeft.y)
            Graphics::drawDashedLine(Point(cx, lowerLeft.y), Point(cx, lowest), 8.0f, 5.0f,
                                     toColor(style.lineColor));
    }
    if (namesOn()) {
        const Color font = toColor(style.fontColor);
        Graphics::drawText(element->name, Point(cx, g.bottom - ts), size, alignHangCentred, font);
        if (element->base)
            Graphics::drawText(baseText, Point(cx, g.bottom - ts - h1 - ts), size, alignHangCentred,
                               font);
    }
    if (isSelected(element))
        Graphics::rectFill(lowerLeft, upperRight, selectColor());
}

void UMLModelVisualizerStandard::visit(UMLComment* element) {
    if (!globalConfiguration.getBool("Visualizer.General.Comments"))
        return;
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    const Color line = toColor(style.lineColor);
    const float w = g.right - g.left + 1.0f;
    const float h = g.bottom - g.top + 1.0f;
    const float fraction = globalConfiguration.getFloat("Visualizer.UMLModel.CommentNoteFraction");
    float f = fraction > 0.0f ? std::min(w, h) / fraction : 0.0f;
    f = std::max(f, 0.0f);
    const std::vector<Point> note = {Point(g.right, g.top), Point(g.left, g.top),
                                     Point(g.left, g.bottom), Point(g.right - f, g.bottom),
                                     Point(g.right, g.bottom - f)};

    if (globalConfiguration.getBool("Visualizer.General.Shadows")) {
        // The note moved by (s, -s), less the note itself: a strip below, a strip on the right
        // up to the cut corner, and the small triangle under the cut edge.
        const float s = globalConfiguration.getFloat("Visualizer.UMLModel.ShadowSize");
        const Color shadow = globalConfiguration.getColor("Visualizer.UMLModel.ShadowColor");
        Graphics::rectFill(Point(g.left + s, g.top - s), Point(g.right, g.top), shadow);
        Graphics::rectFill(Point(g.right, g.top - s), Point(g.right + s, g.bottom - f - s), shadow);
        if (s < f)
            Graphics::fillConvexPolygon({Point(g.right, g.bottom - f - s),
                                         Point(g.right + s, g.bottom - f - s),
                                         Point(g.right, g.bottom - f)},
                                        shadow);
    }
    Graphics::fillConvexPolygon(note, toColor(style.fillColor));
    Graphics::drawPolygon(note, line);
    Graphics::drawLine(Point(g.right - f, g.bottom), Point(g.right - f, g.bottom - f), line);
    Graphics::drawLine(Point(g.right - f, g.bottom - f), Point(g.right, g.bottom - f), line);

    if (namesOn()) {
        const float ts = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
        Graphics::drawWrappedText(element->name, Point(g.left + ts, g.bottom - ts), w - 2.0f * ts,
                                  static_cast<float>(style.fontSize), alignHang,
                                  toColor(style.fontColor));
    }

    UMLGeometry other;
    if (element->annotatedElement && findGeometry(element->annotatedElement, other)) {
        const Point a((g.left + g.right) / 2.0f, (g.top + g.bottom) / 2.0f);
        const Point b((other.left + other.right) / 2.0f, (other.top + other.bottom) / 2.0f);
        Point from;
        Point to;
        if (Graphics::clipToRectangle(a, b, g, from) &&
            Graphics::clipToRectangle(a, b, other, to)) {
            Graphics::setSmoothing(true);
            Graphics::drawDashedLine(from, to, 8.0f, 8.0f, line);
            Graphics::setSmoothing(false);
        }
    }
    if (isSelected(element))
        Graphics::fillConvexPolygon(note, selectColor());
}

std::vector<Point> actorBodyOutline(float left, float top, float right, float bottom) {
    const float w = right - left + 1.0f;
    const float h = bottom - top + 1.0f;
    const float m = std::min(w, h);
    const float hw = m / 24.0f; // half the stroke width
    const float cx = (left + right) / 2.0f;
    const float fifth = h / 5.0f;
    const float neck = bottom - fifth - m / 6.0f;
    const float arms = bottom - 2.0f * fifth;
    const float hip = bottom - 3.4f * fifth;
    const float span = w / 3.0f;
    const float feet = top;
    const float crotch = hip - 3.0f * hw;
    return {
        Point(cx, neck),
        Point(cx + hw, neck),
        Point(cx + hw, arms + hw),
        Point(cx + span, arms + hw),
        Point(cx + span, arms - hw),
        Point(cx + hw, arms - hw),
        Point(cx + hw, hip),
        Point(cx + span + hw, feet),
        Point(cx + span - 2.0f * hw, feet),
        Point(cx, crotch),
        Point(cx - span + 2.0f * hw, feet),
        Point(cx - span - hw, feet),
        Point(cx - hw, hip),
        Point(cx - hw, arms - hw),
        Point(cx - span, arms - hw),
        Point(cx - span, arms + hw),
        Point(cx - hw, arms + hw),
        Point(cx - hw, neck),
    };
}

void UMLModelVisualizerStandard::visit(UMLActor* element) {
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    const Color fill = toColor(style.fillColor);
    const Color line = toColor(style.lineColor);
    const float w = g.right - g.left + 1.0f;
    const float h = g.bottom - g.top + 1.0f;
    const float m = std::min(w, h);
    if (m > 0.0f) {
        const Point head((g.left + g.right) / 2.0f, g.bottom - h / 5.0f);
        Graphics::ellipseFill(head, m / 6.0f, m / 6.0f, ellipseSegments, fill);
        Graphics::ellipseOutline(head, m / 6.0f, m / 6.0f, ellipseSegments, line);
        const std::vector<Point> body = actorBodyOutline(g.left, g.top, g.right, g.bottom);
        drawMaskedShadow([&](const Color& c) { Graphics::polygonFill(body, c); }, fill);
        Graphics::drawPolygon(body, line);
    }
    if (isSelected(element))
        Graphics::rectFill(Point(g.left, g.top), Point(g.right, g.bottom), selectColor());
}

namespace {

void drawOval(
    const UMLGeometry& g, const UMLStyle& style,
    const std::function<void(const std::function<void(const Color&)>&, const Color&)>& masked) {
    const Point c((g.left + g.right) / 2.0f, (g.top + g.bottom) / 2.0f);
    const float rx = std::max(0.0f, (g.right - g.left + 1.0f) / 2.0f);
    const float ry = std::max(0.0f, (g.bottom - g.top + 1.0f) / 2.0f);
    masked([&](const Color& col) { Graphics::ellipseFill(c, rx, ry, ellipseSegments, col); },
           toColor(style.fillColor));
    Graphics::ellipseOutline(c, rx, ry, ellipseSegments, toColor(style.lineColor));
}

void fillOvalSelection(const UMLGeometry& g) {
    const Point c((g.left + g.right) / 2.0f, (g.top + g.bottom) / 2.0f);
    Graphics::ellipseFill(c, std::max(0.0f, (g.right - g.left + 1.0f) / 2.0f),
                          std::max(0.0f, (g.bottom - g.top + 1.0f) / 2.0f), ellipseSegments,
                          selectColor());
}

} // namespace

void UMLModelVisualizerStandard::visit(UMLUseCase* element) {
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    drawOval(g, style, [this](const auto& fill, const Color& c) { drawMaskedShadow(fill, c); });
    if (namesOn())
        Graphics::drawText(
            element->name, Point((g.left + g.right) / 2.0f, (g.top + g.bottom) / 2.0f),
            static_cast<float>(style.fontSize), alignCentred, toColor(style.fontColor));
    if (isSelected(element))
        fillOvalSelection(g);
}

void UMLModelVisualizerStandard::visit(UMLPseudostate* element) {
    const UMLGeometry& g = currentGeometry();
    drawOval(g, currentStyle(),
             [this](const auto& fill, const Color& c) { drawMaskedShadow(fill, c); });
    if (isSelected(element))
        fillOvalSelection(g);
}

void UMLModelVisualizerStandard::visit(UMLSimpleState* element) {
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    const float size = static_cast<float>(style.fontSize);
    const float ts = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
    const float rounding = globalConfiguration.getFloat("Visualizer.UMLModel.StateRounding");
    const float r = std::max(0.0f, rounding);
    const float band = rounding > 0.0f
                           ? std::max(0.0f, std::min(g.bottom - g.top, g.right - g.left) / rounding)
                           : 0.0f;
    const Point p1(g.left, g.top);
    const Point p2(g.right, g.bottom);
    drawMaskedShadow([&](const Color& c) { Graphics::fillRoundedRectangle(p1, p2, r, c); },
                     toColor(style.fillColor));
    Graphics::drawRoundedRectangle(p1, p2, r, toColor(style.lineColor));
    const float d = std::max(band, 2.0f * ts + textHeight(element->name, size));
    Graphics::drawLine(Point(g.left, g.bottom - d), Point(g.right, g.bottom - d),
                       toColor(style.lineColor));
    if (namesOn())
        Graphics::drawText(element->name, Point((g.left + g.right) / 2.0f, g.bottom - ts), size,
                           alignHangCentred, toColor(style.fontColor));
    if (isSelected(element))
        Graphics::fillRoundedRectangle(p1, p2, r, selectColor());
}

void UMLModelVisualizerStandard::visit(UMLPackage* element) {
    const UMLGeometry& g = currentGeometry();
    const UMLStyle& style = currentStyle();
    const float size = static_cast<float>(style.fontSize);
    const float ts = globalConfiguration.getFloat("Visualizer.UMLModel.TextSpacing");
    const float t = (g.bottom - g.top + 1.0f) * 0.25f;
    const float cx = (g.left + g.right) / 2.0f;
    const Point bodyLow(g.left, g.top);
    const Point bodyHigh(g.right, g.bottom - t);
    const Point tabLow(g.left, g.bottom - t);
    const Point tabHigh(cx, g.bottom);
    const Color fill = toColor(style.fillColor);
    const Color line = toColor(style.lineColor);

    if (globalConfiguration.getBool("Visualizer.General.Shadows")) {
        drawBoxShadow(bodyLow, bodyHigh);
        const float s = globalConfiguration.getFloat("Visualizer.UMLModel.ShadowSize");
        if (s < t)
            Graphics::rectFill(Point(cx, g.bottom - t), Point(cx + s, g.bottom - s),
                               globalConfiguration.getColor("Visualizer.UMLModel.ShadowColor"));
    }
    Graphics::rectFill(bodyLow, bodyHigh, fill);
    Graphics::rectFill(tabLow, tabHigh, fill);
    Graphics::rectOutline(bodyLow, bodyHigh, line);
    Graphics::rectOutline(tabLow, tabHigh, line);
    const float y = g.bottom - t - (2.0f * ts + textHeight(element->name, size));
    Graphics::drawLine(Point(g.left, y), Point(g.right, y), line);
    if (namesOn())
        Graphics::drawText(element->name, Point(cx, g.bottom - t), size, alignHangCentred,
                           toColor(style.fontColor));
    if (isSelected(element)) {
        Graphics::rectFill(bodyLow, bodyHigh, selectColor());
        Graphics::rectFill(tabLow, tabHigh, selectColor());
    }
}
