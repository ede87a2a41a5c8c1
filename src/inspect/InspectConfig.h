#pragma once
// Describes a configuration kind block as JSON: the built-in defaults with the file's
// entries merged in, every kind listed in key order.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

class Configuration;
class JsonStream;
struct Color;

// A float as the shortest decimal that reads back as the same float (0.7f gives 0.7, not
// its double expansion); non-finite values give null.
nlohmann::ordered_json jsonFloat(float value);
// [r, g, b, a] of such numbers.
nlohmann::ordered_json jsonColor(const Color& color);

// The whole store as {"bool": {...}, "float": {...}, "color": {key: [r,g,b,a]},
// "colormap": {key: [[r,g,b,a], ...]}}, written entry by entry, or as one value.
void writeConfiguration(const Configuration& config, JsonStream& out);
nlohmann::ordered_json describeConfiguration(const Configuration& config);

// Reads FILE (which begins with "@ConfigurationKind") into a copy of the defaults; a file
// that cannot be opened sets `error` and gives null.
std::unique_ptr<Configuration> readConfigFile(const std::string& path, std::string& error);
// The same, described; null where the file cannot be opened.
nlohmann::ordered_json inspectConfigFile(const std::string& path, std::string& error);
