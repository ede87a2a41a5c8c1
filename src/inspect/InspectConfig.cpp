#include "inspect/InspectConfig.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "common/DataFiles.h"
#include "common/Numbers.h"
#include "config/Configuration.h"

nlohmann::ordered_json jsonFloat(float value) {
    if (!std::isfinite(value))
        return nullptr;
    // Descriptions repeat a few values (palette colours, 0 and 1, thresholds) many times,
    // and the conversion through text is far dearer than this table of the last ones.
    struct Converted {
        std::uint32_t bits = 0;
        bool valid = false;
        double value = 0.0;
    };
    thread_local std::array<Converted, 256> recent;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Converted& slot = recent[(bits * 2654435761u) >> 24];
    if (!slot.valid || slot.bits != bits) {
        char buffer[64];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        slot = {
            bits, true,
            parseCDouble(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)))};
    }
    return slot.value;
}

nlohmann::ordered_json jsonColor(const Color& c) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    auto& components = out.get_ref<nlohmann::ordered_json::array_t&>();
    components.reserve(4);
    for (float component : {c.r, c.g, c.b, c.a})
        components.push_back(jsonFloat(component));
    return out;
}

namespace {
// Appends a key that the object does not hold yet. The ordered object's own insertion
// compares the key with every key already there; the store's keys are unique, so the
// search can be left out.
void appendNewKey(nlohmann::ordered_json& object, const std::string& key,
                  nlohmann::ordered_json value) {
    object.get_ref<nlohmann::ordered_json::object_t&>().emplace_back(key, std::move(value));
}
} // namespace

nlohmann::ordered_json describeConfiguration(const Configuration& config) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    auto& bools = out["bool"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.bools())
        appendNewKey(bools, key, value);
    auto& floats = out["float"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.floats())
        appendNewKey(floats, key, jsonFloat(value));
    auto& colors = out["color"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.colors())
        appendNewKey(colors, key, jsonColor(value));
    auto& colormaps = out["colormap"] = nlohmann::ordered_json::object();
    for (const auto& [key, value] : config.colormaps()) {
        auto entries = nlohmann::ordered_json::array();
        for (const Color& c : value.colors())
            entries.push_back(jsonColor(c));
        appendNewKey(colormaps, key, std::move(entries));
    }
    return out;
}

nlohmann::ordered_json inspectConfigFile(const std::string& path, std::string& error) {
    std::ifstream in;
    if (!openForReading(in, path)) {
        error = "Unable to open configuration file";
        return nullptr;
    }
    Configuration config;
    setDefaultConfiguration(config);
    config.readText(in);
    return describeConfiguration(config);
}
