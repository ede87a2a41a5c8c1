// Recognition of exporter dialects and the reader of the pixel-box diagram form.
#include "xmi/XMIExporterDialects.h"

#include <algorithm>
#include <utility>

#include "common/Numbers.h"
#include "common/TextLines.h"
#include "xmi/XMIElementReaders.h"
#include "xmi/XMIReader.h"

namespace {
std::string trimmed(std::string_view text) {
    return std::string(trimXmlBlanks(text));
}

const XMINode* childNamed(const XMINode* node, const char* tag) {
    for (const auto& child : node->children) {
        if (child->name == tag)
            return child;
    }
    return nullptr;
}

const std::string* propertyOf(const std::vector<std::pair<std::string, std::string>>& properties,
                              const char* key) {
    for (const auto& [name, value] : properties) {
        if (name == key)
            return &value;
    }
    return nullptr;
}

float numberOf(const std::vector<std::pair<std::string, std::string>>& properties,
               const char* key) {
    const std::string* value = propertyOf(properties, key);
    return value ? parseFiniteFloat(*value) : 0.0f;
}

// The two elements a relation joins, in the direction it is drawn; null where it has none.
std::pair<const UMLModelElement*, const UMLModelElement*> endsOf(const UMLModelElement* relation) {
    if (const auto* g = dynamic_cast<const UMLGeneralization*>(relation))
        return {g->child, g->parent};
    if (const auto* d = dynamic_cast<const UMLDependency*>(relation))
        return {d->client.empty() ? nullptr : d->client.front(),
                d->supplier.empty() ? nullptr : d->supplier.front()};
    if (const auto* a = dynamic_cast<const UMLAssociation*>(relation)) {
        if (a->connection.size() >= 2 && a->connection[0] && a->connection[1])
            return {a->connection[0]->type, a->connection[1]->type};
    }
    if (const auto* t = dynamic_cast<const UMLTransition*>(relation))
        return {t->source, t->target};
    return {nullptr, nullptr};
}

// A connector's own box: small, since it only marks the point a relation's lines bend
// towards (and where its error marks go).
constexpr float connectorHalfSize = 5.0f;
// How far beside its box the point of a relation from an element to itself lies.
constexpr float selfLoopReach = 40.0f;
} // namespace

XMIDialect dialectOf(const XMINode* root) {
    if (!root || root->children.empty() || root->children.front()->name != "XMI.header")
        return XMIDialect::Standard;
    const XMINode* documentation = childNamed(root->children.front(), "XMI.documentation");
    const XMINode* exporter = documentation ? childNamed(documentation, "XMI.exporter") : nullptr;
    if (exporter && trimmed(exporter->text) == "Enterprise Architect")
        return XMIDialect::EnterpriseArchitect;
    return XMIDialect::Standard;
}

bool hasAcceptedRootChildren(const XMINode* root, XMIDialect dialect) {
    const auto& children = root->children;
    if (dialect == XMIDialect::Standard || children.size() < 2)
        return children.size() == 2;
    return std::all_of(children.begin() + 2, children.end(), [](const auto& child) {
        return child->name == "XMI.difference" || child->name == "XMI.extensions";
    });
}

std::vector<std::pair<std::string, std::string>> semicolonProperties(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> properties;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::size_t equals = text.find('=', start);
        if (equals < end)
            properties.emplace_back(text.substr(start, equals - start),
                                    text.substr(equals + 1, end - equals - 1));
        start = end + 1;
    }
    return properties;
}

UMLDiagram* PixelDiagramReader::read(XMIReader& reader, XMINode* node) {
    UMLDiagram* diagram = reader.create<UMLDiagram>();
    reader.registerId(node, diagram);
    if (const std::string_view* type = node->attribute("diagramType"))
        diagram->diagramType = *type;
    if (const std::string_view* name = node->attribute("name"))
        diagram->name = *name;
    Diagram entry{diagram, {}, {}};
    for (const auto& child : node->children) {
        if (child->name == "UML:Diagram.owner") {
            xmiread::resolveSingle(reader, child, "Foundation.Core.ModelElement", &diagram->owner);
        } else if (child->name == "UML:Diagram.element") {
            for (const auto& elementNode : child->children) {
                if (elementNode->name != "UML:DiagramElement")
                    continue;
                if (UMLDiagramElement* element = readElement(reader, elementNode, entry))
                    diagram->element.push_back(element);
            }
        }
    }
    xmiread::resolveAttributeSingle(reader, node, "UML:Diagram.owner", "owner", &diagram->owner);
    diagrams.push_back(std::move(entry));
    return diagram;
}

UMLDiagramElement* PixelDiagramReader::readElement(XMIReader& reader, XMINode* node,
                                                   Diagram& diagram) {
    const std::string_view* styleText = node->attribute("style");
    const auto style = semicolonProperties(styleText ? *styleText : std::string_view());
    // A connector hidden in the tool is not part of the picture.
    if (const std::string* hidden = propertyOf(style, "Hidden"); hidden && parseCInt(*hidden))
        return nullptr;

    UMLDiagramElement* element = reader.create<UMLDiagramElement>();
    reader.registerId(node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:PresentationElement.subject") {
            if (const std::string_view* id = xmiread::firstIdref(child))
                reader.resolveReference(*id, &element->subject);
        }
    }
    xmiread::resolveAttributeSingle(reader, node, "UML:PresentationElement.subject", "subject",
                                    &element->subject);

    const std::string_view* geometryText = node->attribute("geometry");
    const auto geometry = semicolonProperties(geometryText ? *geometryText : std::string_view());
    const std::string* duid = propertyOf(style, "DUID");
    if (propertyOf(geometry, "Left") && propertyOf(geometry, "Top") &&
        propertyOf(geometry, "Right") && propertyOf(geometry, "Bottom")) {
        const float left = numberOf(geometry, "Left");
        const float top = numberOf(geometry, "Top");
        const float right = numberOf(geometry, "Right");
        const float bottom = numberOf(geometry, "Bottom");
        // Pixels, y down like the standard form before its normalisation.
        element->geometry.left = std::min(left, right);
        element->geometry.right = std::max(left, right);
        element->geometry.top = std::min(top, bottom);
        element->geometry.bottom = std::max(top, bottom);
        diagram.nodes.push_back({element, duid ? *duid : std::string()});
    } else {
        Connector connector{element, {}, {}};
        if (const std::string* start = propertyOf(style, "SOID"))
            connector.startDuid = *start;
        if (const std::string* end = propertyOf(style, "EOID"))
            connector.endDuid = *end;
        connector.startX = numberOf(geometry, "SX");
        connector.startY = numberOf(geometry, "SY");
        connector.endX = numberOf(geometry, "EX");
        connector.endY = numberOf(geometry, "EY");
        diagram.connectors.push_back(std::move(connector));
    }
    return element;
}

const UMLGeometry* PixelDiagramReader::endBox(const Diagram& diagram, const std::string& duid,
                                              const UMLModelElement* end) {
    if (!duid.empty()) {
        for (const Node& node : diagram.nodes) {
            if (node.duid == duid)
                return &node.element->geometry;
        }
    }
    if (end) {
        for (const Node& node : diagram.nodes) {
            if (node.element->subject == end)
                return &node.element->geometry;
        }
    }
    return nullptr;
}

void PixelDiagramReader::place(const Diagram& diagram, Connector& connector) {
    const auto [from, to] = endsOf(connector.element->subject);
    const UMLGeometry* start = endBox(diagram, connector.startDuid, from);
    const UMLGeometry* end = endBox(diagram, connector.endDuid, to);
    auto centreX = [](const UMLGeometry& g) { return (g.left + g.right) * 0.5f; };
    auto centreY = [](const UMLGeometry& g) { return (g.top + g.bottom) * 0.5f; };
    float x = 0.0f;
    float y = 0.0f;
    if (start && end && start == end) {
        x = start->right + selfLoopReach;
        y = centreY(*start);
    } else if (start && end) {
        x = (centreX(*start) + connector.startX + centreX(*end) + connector.endX) * 0.5f;
        y = (centreY(*start) + connector.startY + centreY(*end) + connector.endY) * 0.5f;
    } else if (start || end) {
        const UMLGeometry& known = start ? *start : *end;
        x = centreX(known);
        y = centreY(known);
    } else if (!diagram.nodes.empty()) {
        // Nothing to join: the middle of the nodes keeps the diagram's bounds as they are.
        const UMLGeometry& first = diagram.nodes.front().element->geometry;
        float left = first.left, top = first.top, right = first.right, bottom = first.bottom;
        for (const Node& node : diagram.nodes) {
            const UMLGeometry& g = node.element->geometry;
            left = std::min(left, g.left);
            top = std::min(top, g.top);
            right = std::max(right, g.right);
            bottom = std::max(bottom, g.bottom);
        }
        x = (left + right) * 0.5f;
        y = (top + bottom) * 0.5f;
    }
    UMLGeometry& own = connector.element->geometry;
    own.left = x - connectorHalfSize;
    own.right = x + connectorHalfSize;
    own.top = y - connectorHalfSize;
    own.bottom = y + connectorHalfSize;
}

void PixelDiagramReader::finish() {
    for (Diagram& diagram : diagrams) {
        for (Connector& connector : diagram.connectors)
            place(diagram, connector);
        normaliseDiagram(*diagram.diagram);
        sortDiagramElements(*diagram.diagram);
    }
    diagrams.clear();
}
