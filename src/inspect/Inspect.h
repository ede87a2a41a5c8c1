#pragma once
// Loads a model (and what else is asked for) exactly like the desktop program and
// describes the result as JSON, for scripts and end-to-end tests.
#include <nlohmann/json.hpp>
#include <string>

#include "inspect/InspectConfig.h"

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

// Fills the JSON description; returns the exit code (0 loaded, 1 rejected or unparsable).
int inspectModel(const InspectOptions& options, nlohmann::ordered_json& out);

// The fields of one element: "class", then every model field of its class by name.
nlohmann::ordered_json describeElement(const UMLElement& element);
