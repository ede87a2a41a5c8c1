#pragma once
// The metrics file that travels with a model: "design.XMI" brings "design.txt" along.
#include <string>

// Replaces a final ".xml" or ".xmi" (any case) by ".txt"; other names come back unchanged.
std::string metricsFileNameFor(const std::string& modelFileName);
