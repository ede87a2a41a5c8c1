#pragma once
// The metrics file that travels with a model: "design.XMI" brings "design.txt" along.
#include <string>

// Replaces a final ".xml" or ".xmi" (any case) by ".txt"; other names come back unchanged.
std::string metricsFileNameFor(const std::string& modelFileName);

// The metrics file loaded together with a model: metricsFileNameFor's name when the model's
// name has that ending and the file can be read (a directory of that name cannot); ""
// otherwise.
std::string companionMetricsFile(const std::string& modelFileName);
