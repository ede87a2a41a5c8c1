#pragma once
// Describes the elements of a loaded diagram as JSON, for scripts and end-to-end tests.
#include <nlohmann/json.hpp>

#include "uml/UMLModel.h"

// The diagram's elements in drawing order, each with its id, its subject (id and exact
// class, or null), its normalised geometry [left, top, right, bottom] and its style.
nlohmann::ordered_json inspectDiagramItems(const UMLDiagram& d);

// [left, top, right, bottom] in the short float form.
nlohmann::ordered_json jsonBox(float left, float top, float right, float bottom);
// {"fontName", "fontSize", "fontStyle", "fillColor", "fontColor", "lineColor"}, the colours
// as [r, g, b, a] in the short float form.
nlohmann::ordered_json describeStyle(const UMLStyle& style);
