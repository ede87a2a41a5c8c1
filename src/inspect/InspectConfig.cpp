#include "inspect/InspectConfig.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <utility>

#include "common/DataFiles.h"
#include "common/Numbers.h"
#include "config/Configuration.h"
#include "inspect/JsonStream.h"

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

void writeConfiguration(const Configuration& config, JsonStream& out) {
    // The store's keys are unique and sorted: each kind is written as it is walked.
    out.beginObject();
    out.key("bool");
    out.beginObject();
    for (const auto& [key, value] : config.bools())
        out.member(key, value);
    out.end();
    out.key("float");
    out.beginObject();
    for (const auto& [key, value] : config.floats())
        out.member(key, jsonFloat(value));
    out.end();
    out.key("color");
    out.beginObject();
    for (const auto& [key, value] : config.colors())
        out.member(key, jsonColor(value));
    out.end();
    out.key("colormap");
    out.beginObject();
    for (const auto& [key, value] : config.colormaps()) {
        auto entries = nlohmann::ordered_json::array();
        for (const Color& c : value.colors())
            entries.push_back(jsonColor(c));
        out.member(key, std::move(entries));
    }
    out.end();
    out.end();
}

nlohmann::ordered_json describeConfiguration(const Configuration& config) {
    return writtenJson([&](JsonStream& out) { writeConfiguration(config, out); });
}

std::unique_ptr<Configuration> readConfigFile(const std::string& path, std::string& error) {
    std::ifstream in;
    if (!openForReading(in, path)) {
        error = "Unable to open configuration file";
        return nullptr;
    }
    auto config = std::make_unique<Configuration>();
    setDefaultConfiguration(*config);
    config->readText(in);
    return config;
}

nlohmann::ordered_json inspectConfigFile(const std::string& path, std::string& error) {
    const std::unique_ptr<Configuration> config = readConfigFile(path, error);
    return config ? describeConfiguration(*config) : nullptr;
}
