#pragma once
// Loads a model (and what else is asked for) exactly like the desktop program and
// describes the result as JSON, for scripts and end-to-end tests.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "inspect/InspectConfig.h"

class JsonStream;
class UMLElement;

// What to load and describe. Without a model file only the configuration is read.
struct InspectOptions {
    std::string modelFile;
    bool hasElement = false;
    std::string elementId;
    bool diagramElements = false;
    std::string configFile;
    std::string metricsFile;
};

// Makes the JSON description, the large parts entry by entry; returns the exit code
// (0 loaded, 1 rejected or unparsable). The description goes to `out` as text, laid out
// as nlohmann's dump(2) lays it out, or as a value.
int inspectModel(const InspectOptions& options, JsonStream& out);
int inspectModel(const InspectOptions& options, std::ostream& out);
int inspectModel(const InspectOptions& options, nlohmann::ordered_json& out);

// The fields of one element: "class", then every model field of its class by name.
nlohmann::ordered_json describeElement(const UMLElement& element);
