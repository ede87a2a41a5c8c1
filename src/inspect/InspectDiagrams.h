#pragma once
// Describes the elements of a loaded diagram as JSON, for scripts and end-to-end tests.
#include <nlohmann/json.hpp>

#include "uml/UMLModel.h"

// The diagram's elements in drawing order, each with its id, its subject (id and exact
// class, or null), its normalised geometry [left, top, right, bottom] and its style.
nlohmann::ordered_json inspectDiagramItems(const UMLDiagram& d);
