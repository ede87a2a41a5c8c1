#include "inspect/InspectConfig.h"

#include <charconv>
#include <cmath>
#include <fstream>

#include "common/Numbers.h"
#include "config/Configuration.h"

namespace {

// A float as the shortest decimal that reads back as the same float, so 0.7f prints as 0.7
// rather than as its double expansion. Non-finite values have no JSON number and give null.
nlohmann::ordered_json number(float value) {
    if (!std::isfinite(value))
        return nullptr;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return parseCDouble(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

nlohmann::ordered_json color(const Color& c) {
    return nlohmann::ordered_json::array({number(c.r), number(c.g), number(c.b), number(c.a)});
}

} // namespace

nlohmann::ordered_json describeConfiguration(const Configuration& config) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    auto& bools = out["bool"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.bools())
        bools[key] = value;
    auto& floats = out["float"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.floats())
        floats[key] = number(value);
    auto& colors = out["color"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.colors())
        colors[key] = color(value);
    auto& colormaps = out["colormap"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.colormaps()) {
        auto entries = nlohmann::ordered_json::array();
        for (const Color& c : value.colors())
            entries.push_back(color(c));
        colormaps[key] = std::move(entries);
    }
    return out;
}

nlohmann::ordered_json inspectConfigFile(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "Unable to open configuration file";
        return nullptr;
    }
    Configuration config;
    setDefaultConfiguration(config);
    config.readText(in);
    return describeConfiguration(config);
}
