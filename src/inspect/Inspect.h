#pragma once
// Loads a model (and what else is asked for) exactly like the desktop program and
// describes the result as JSON.
#include <nlohmann/json.hpp>
#include <string>

struct InspectOptions {
    std::string modelFile;
    std::string elementId;
    bool hasElement = false;
};

// Fills the JSON description; returns the exit code (0 loaded, 1 rejected).
int inspectModel(const InspectOptions& options, nlohmann::ordered_json& out);
