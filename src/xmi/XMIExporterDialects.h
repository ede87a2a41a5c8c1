#pragma once
// Documents of exporters that write the XMI frame and the diagrams in their own form. Such a
// document is recognised by the exporter its header names, and only then read with the
// allowances and the diagram reader below; every other document gets the standard checks.
#include <string>
#include <string_view>
#include <vector>

#include "uml/UMLModel.h"
#include "xmi/XMINode.h"

class XMIReader;

enum class XMIDialect {
    Standard,
    // "Enterprise Architect": extra root children ("XMI.difference", "XMI.extensions"), no
    // metamodel in the header, diagram boxes as "Left=..;Top=..;Right=..;Bottom=..;" in
    // pixels with y down, connectors without a box, subjects and owners as attributes.
    EnterpriseArchitect,
};

// The dialect named by the root's "XMI.header" / "XMI.documentation" / "XMI.exporter".
XMIDialect dialectOf(const XMINode* root);
// Whether the root's children are what the dialect allows: exactly two for the standard,
// the two followed by nothing but difference and extension elements otherwise.
bool hasAcceptedRootChildren(const XMINode* root, XMIDialect dialect);

// The "key=value;" properties of a geometry or style text, in order; pieces without an
// equals sign are passed over.
std::vector<std::pair<std::string, std::string>> semicolonProperties(std::string_view text);

// Reads the diagrams of a document in the pixel-box form. Boxes are kept in pixels, so that
// a box keeps its on-screen size and proportion; connectors get their box only when every
// reference is resolved, and the diagrams are normalised and sorted then.
class PixelDiagramReader {
public:
    UMLDiagram* read(XMIReader& reader, XMINode* node);
    // After the references are resolved: places the connectors between the boxes they join,
    // then normalises (y up, centred) and sorts every diagram read.
    void finish();

private:
    struct Node {
        UMLDiagramElement* element;
        std::string duid; // the diagram object's id that connectors name
    };
    struct Connector {
        UMLDiagramElement* element;
        std::string startDuid;
        std::string endDuid;
        float startX = 0, startY = 0, endX = 0, endY = 0; // offsets from the ends' centres
    };
    struct Diagram {
        UMLDiagram* diagram;
        std::vector<Node> nodes;
        std::vector<Connector> connectors;
    };

    UMLDiagramElement* readElement(XMIReader& reader, XMINode* node, Diagram& diagram);
    static const UMLGeometry* endBox(const Diagram& diagram, const std::string& duid,
                                     const UMLModelElement* end);
    static void place(const Diagram& diagram, Connector& connector);

    std::vector<Diagram> diagrams;
};
