#include "inspect/InspectDiagrams.h"

#include "inspect/InspectConfig.h"

namespace {
nlohmann::ordered_json jsonRgba(const UMLStyle::RGBA& colour) {
    return nlohmann::ordered_json::array(
        {jsonFloat(colour[0]), jsonFloat(colour[1]), jsonFloat(colour[2]), jsonFloat(colour[3])});
}
} // namespace

nlohmann::ordered_json jsonBox(float left, float top, float right, float bottom) {
    return nlohmann::ordered_json::array(
        {jsonFloat(left), jsonFloat(top), jsonFloat(right), jsonFloat(bottom)});
}

nlohmann::ordered_json describeStyle(const UMLStyle& s) {
    nlohmann::ordered_json style;
    style["fontName"] = s.fontName;
    style["fontSize"] = s.fontSize;
    style["fontStyle"] = s.fontStyle;
    style["fillColor"] = jsonRgba(s.fillColor);
    style["fontColor"] = jsonRgba(s.fontColor);
    style["lineColor"] = jsonRgba(s.lineColor);
    return style;
}

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
        item["geometry"] = jsonBox(g.left, g.top, g.right, g.bottom);
        item["style"] = describeStyle(element->style);
        items.push_back(std::move(item));
    }
    return items;
}
