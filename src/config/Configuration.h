#pragma once
// The typed key/value store behind every appearance setting: four independent kinds (bool,
// float, colour, colour map), each an ordered map from a byte-string key. Reading a key that
// is missing inserts the kind's empty value, so drawing code can always just ask.
#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "config/Color.h"

class Configuration {
public:
    // Keys sort by plain byte comparison (std::string's ordering), so upper case precedes
    // lower case and every listing is in that order.
    using BoolMap = std::map<std::string, bool>;
    using FloatMap = std::map<std::string, float>;
    using ColorMap = std::map<std::string, Color>;
    using ColormapMap = std::map<std::string, Colormap>;

    // Find-or-insert: a missing key is inserted as false, 0, opaque black or the
    // one-entry opaque black map.
    bool getBool(const std::string& key) { return bools_[key]; }
    float getFloat(const std::string& key) { return floats_[key]; }
    float& getFloatRef(const std::string& key) { return floats_[key]; }
    Color getColor(const std::string& key) { return colors_[key]; }
    Colormap& getColormap(const std::string& key) { return colormaps_[key]; }

    void setBool(const std::string& key, bool value) { bools_[key] = value; }
    void setFloat(const std::string& key, float value) { floats_[key] = value; }
    void setColor(const std::string& key, const Color& value) { colors_[key] = value; }
    void setColormap(const std::string& key, const Colormap& value) { colormaps_[key] = value; }

    // Per-kind iteration in key order.
    const BoolMap& bools() const { return bools_; }
    const FloatMap& floats() const { return floats_; }
    const ColorMap& colors() const { return colors_; }
    const ColormapMap& colormaps() const { return colormaps_; }

    // The configuration kind block: "@ConfigurationKind" and four counted sections. The
    // writer ignores stream errors; the reader merges what it finds, never throws, and
    // leaves the stream after the block.
    void writeText(std::ostream& out) const;
    void readText(std::istream& in);

private:
    BoolMap bools_;
    FloatMap floats_;
    ColorMap colors_;
    ColormapMap colormaps_;
};

// Sets the 43 built-in global defaults into the store.
void setDefaultConfiguration(Configuration& config);

// The process-wide settings, holding the built-in defaults from static initialisation on.
extern Configuration globalConfiguration;
