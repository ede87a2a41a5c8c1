// The diagram reader: diagrams and their elements, the geometry and style texts, and the
// normalisation into centred, y-up coordinates and drawing order.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

#include "common/Exception.h"
#include "common/Numbers.h"
#include "xmi/XMIElementReaders.h"
#include "xmi/XMIReader.h"

namespace {
// One diagram unit is three units of the file: one third in single precision.
constexpr float fileUnitScale = 0.33333334f;

// A field that does not convert to a finite float reads as 0, like non-numeric text, so
// that one bad value cannot spoil the normalisation of the whole diagram.
float colourComponent(std::string_view value) {
    const double component = parseCDouble(value);
    return isFiniteFloat(component) ? static_cast<float>(component / 255.0) : 0.0f;
}

// A box side that overflowed although its fields were finite (x and width both near the
// float limit) is treated the same way.
float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

// The colour components a style sets: 8-bit intensities are divided by 255, the
// transparencies are taken as they are.
struct ColourProperty {
    std::string_view key;
    UMLStyle::RGBA UMLStyle::*colour;
    int component;
    bool intensity;
};
const ColourProperty colourProperties[] = {
    {"FillColor.Red", &UMLStyle::fillColor, 0, true},
    {"FillColor.Green", &UMLStyle::fillColor, 1, true},
    {"FillColor.Blue", &UMLStyle::fillColor, 2, true},
    {"FillColor.Transparent", &UMLStyle::fillColor, 3, false},
    {"Font.Red", &UMLStyle::fontColor, 0, true},
    {"Font.Green", &UMLStyle::fontColor, 1, true},
    {"Font.Blue", &UMLStyle::fontColor, 2, true},
    {"LineColor.Red", &UMLStyle::lineColor, 0, true},
    {"LineColor.Green", &UMLStyle::lineColor, 1, true},
    {"LineColor.Blue", &UMLStyle::lineColor, 2, true},
    {"LineColor.Transparent", &UMLStyle::lineColor, 3, false},
};

const std::pair<std::string_view, std::int32_t> fontFlags[] = {
    {"Font.Bold", UMLStyle::Bold},
    {"Font.Italic", UMLStyle::Italic},
    {"Font.Strikethrough", UMLStyle::Strikethrough},
    {"Font.Underline", UMLStyle::Underline},
};

// Applies one "key=value" property; unknown keys are ignored.
void applyStyleProperty(std::string_view key, std::string_view value, UMLStyle& style) {
    for (const ColourProperty& p : colourProperties) {
        if (key == p.key) {
            (style.*p.colour)[p.component] =
                p.intensity ? colourComponent(value) : parseFiniteFloat(value);
            return;
        }
    }
    for (const auto& [flagKey, flag] : fontFlags) {
        // Flags are only ever set by the style text, never cleared.
        if (key == flagKey) {
            if (parseCInt(value) != 0)
                style.fontStyle |= flag;
            return;
        }
    }
    if (key == "Font.FaceName")
        style.fontName = value;
    else if (key == "Font.Size")
        style.fontSize = parseCInt(value);
}

// Relations are drawn first, then nodes, then messages; elements without a subject lead.
int drawingRank(const UMLDiagramElement* element) {
    const UMLModelElement* subject = element->subject;
    if (!subject)
        return -2;
    const std::type_info& type = typeid(*subject);
    if (type == typeid(UMLAssociation) || type == typeid(UMLGeneralization) ||
        type == typeid(UMLDependency) || type == typeid(UMLAbstraction) ||
        type == typeid(UMLTransition))
        return -1;
    if (type == typeid(UMLMessage))
        return 1;
    return 0;
}
} // namespace

void parseDiagramGeometry(std::string_view text, UMLGeometry& geometry) {
    // Centre x, centre y, width and height, each followed by a comma.
    float fields[4];
    std::size_t start = 0;
    for (float& field : fields) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            throw XMIParseException("Invalid geometry data in UML diagram element node");
        field = parseFiniteFloat(text.substr(start, comma - start));
        start = comma + 1;
    }
    const float x = fields[0];
    const float y = fields[1];
    const float halfWidth = fields[2] * 0.5f;
    const float halfHeight = fields[3] * 0.5f;
    geometry.left = finiteOrZero((x - halfWidth) * fileUnitScale);
    geometry.top = finiteOrZero((y - halfHeight) * fileUnitScale);
    geometry.right = finiteOrZero((x + halfWidth) * fileUnitScale);
    geometry.bottom = finiteOrZero((y + halfHeight) * fileUnitScale);
}

void parseDiagramStyle(std::string_view text, UMLStyle& style) {
    // Only the pieces enclosed by two commas count: the text before the first comma and
    // after the last one is not read.
    std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return;
    for (;;) {
        const std::size_t start = comma + 1;
        const std::size_t next = text.find(',', start);
        if (next == std::string::npos)
            break;
        const std::string_view piece = text.substr(start, next - start);
        const std::size_t equals = piece.find('=');
        if (equals == std::string::npos)
            throw XMIParseException("Invalid style property in UML diagram element node");
        applyStyleProperty(piece.substr(0, equals), piece.substr(equals + 1), style);
        comma = next;
    }
}

void normaliseDiagram(UMLDiagram& diagram) {
    if (diagram.element.empty())
        return;
    const UMLGeometry& first = diagram.element.front()->geometry;
    float left = first.left;
    float top = first.top;
    float right = first.right;
    float bottom = first.bottom;
    for (const UMLDiagramElement* element : diagram.element) {
        const UMLGeometry& g = element->geometry;
        left = std::min(left, g.left);
        top = std::min(top, g.top);
        right = std::max(right, g.right);
        bottom = std::max(bottom, g.bottom);
    }
    const float halfHeight = (bottom - top) * 0.5f;
    const float cx = left + (right - left) * 0.5f;
    const float cy = top + halfHeight;
    for (UMLDiagramElement* element : diagram.element) {
        UMLGeometry& g = element->geometry;
        // Flip within the bounds so that y grows upwards, then centre on the origin.
        const float flippedTop = bottom - (g.bottom - top);
        const float flippedBottom = bottom - (g.top - top);
        g.left -= cx;
        g.right -= cx;
        g.top = flippedTop - cy;
        g.bottom = flippedBottom - cy;
    }
    diagram.bounds = {left - cx, top - cy, right - cx, bottom - cy};
    diagram.hasBounds = true;
}

void sortDiagramElements(UMLDiagram& diagram) {
    std::stable_sort(diagram.element.begin(), diagram.element.end(),
                     [](const UMLDiagramElement* a, const UMLDiagramElement* b) {
                         return drawingRank(a) < drawingRank(b);
                     });
}

UMLDiagram* readDiagram(XMIReader& reader, XMINode* node) {
    UMLDiagram* diagram = reader.create<UMLDiagram>();
    reader.registerId(node, diagram);
    if (const std::string_view* type = node->attribute("diagramType"))
        diagram->diagramType = *type;
    if (const std::string_view* name = node->attribute("name"))
        diagram->name = *name;
    for (const auto& child : node->children) {
        if (child->name == "UML:Diagram.owner") {
            xmiread::resolveSingle(reader, child, "Foundation.Core.ModelElement", &diagram->owner);
        } else if (child->name == "UML:Diagram.element") {
            for (const auto& elementNode : child->children) {
                if (elementNode->name == "UML:DiagramElement")
                    diagram->element.push_back(readDiagramElement(reader, elementNode));
            }
        }
    }
    xmiread::resolveAttributeSingle(reader, node, "UML:Diagram.owner", "owner", &diagram->owner);
    normaliseDiagram(*diagram);
    // Subjects are normally read before the diagrams that show them. A subject that comes
    // later in the file is still unresolved here and sorts like an element without one.
    sortDiagramElements(*diagram);
    return diagram;
}

UMLDiagramElement* readDiagramElement(XMIReader& reader, XMINode* node) {
    UMLDiagramElement* element = reader.create<UMLDiagramElement>();
    reader.registerId(node, element);
    if (const std::string_view* geometry = node->attribute("geometry"))
        parseDiagramGeometry(*geometry, element->geometry);
    if (const std::string_view* style = node->attribute("style"))
        parseDiagramStyle(*style, element->style);
    for (const auto& child : node->children) {
        if (child->name != "UML:PresentationElement.subject")
            continue;
        for (const auto& ref : child->children) {
            if (const std::string_view* id = ref->attribute("xmi.idref"))
                reader.resolveReference(*id, &element->subject);
        }
    }
    xmiread::resolveAttributeSingle(reader, node, "UML:PresentationElement.subject", "subject",
                                    &element->subject);
    return element;
}
