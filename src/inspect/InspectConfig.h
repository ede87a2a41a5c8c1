#pragma once
// Describes a configuration kind block as JSON: the built-in defaults with the file's
// entries merged in, every kind listed in key order.
#include <nlohmann/json.hpp>
#include <string>

class Configuration;

// The whole store as {"bool": {...}, "float": {...}, "color": {key: [r,g,b,a]},
// "colormap": {key: [[r,g,b,a], ...]}}.
nlohmann::ordered_json describeConfiguration(const Configuration& config);

// Reads FILE (which begins with "@ConfigurationKind") into a copy of the defaults and
// describes the result; a file that cannot be opened sets `error` and gives null.
nlohmann::ordered_json inspectConfigFile(const std::string& path, std::string& error);
