#include "inspect/InspectDiagrams.h"

namespace {
nlohmann::ordered_json colourJson(const UMLStyle::RGBA& colour) {
    return nlohmann::ordered_json::array({colour[0], colour[1], colour[2], colour[3]});
}
} // namespace

nlohmann::ordered_json inspectDiagramItems(const UMLDiagram& d) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (const UMLDiagramElement* element : d.element) {
        nlohmann::ordered_json item;
        item["id"] = element->id;
        if (element->subject) {
            item["subject"] = element->subject->id;
            item["subjectClass"] = umlClassName(element->subject);
        } else {
            item["subject"] = nullptr;
            item["subjectClass"] = nullptr;
        }
        const UMLGeometry& g = element->geometry;
        item["geometry"] = nlohmann::ordered_json::array({g.left, g.top, g.right, g.bottom});
        const UMLStyle& s = element->style;
        nlohmann::ordered_json style;
        style["fontName"] = s.fontName;
        style["fontSize"] = s.fontSize;
        style["fontStyle"] = s.fontStyle;
        style["fillColor"] = colourJson(s.fillColor);
        style["fontColor"] = colourJson(s.fontColor);
        style["lineColor"] = colourJson(s.lineColor);
        item["style"] = std::move(style);
        items.push_back(std::move(item));
    }
    return items;
}
