// Reads arbitrary bytes as a configuration kind block into a store holding the defaults,
// writes the store back and reads that again: the second read must give the same store.
// The store's description, as the inspect command writes it, must read back as JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "config/Configuration.h"
#include "inspect/InspectConfig.h"
#include "inspect/JsonStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Configuration config;
    setDefaultConfiguration(config);
    config.readText(in);

    std::ostringstream written;
    config.writeText(written);
    std::istringstream again(written.str());
    Configuration copy;
    copy.readText(again);
    // Keys survive the round trip whatever their bytes; values may not (NaN is refused).
    if (copy.bools() != config.bools() || copy.colors().size() != config.colors().size() ||
        copy.colormaps().size() != config.colormaps().size())
        std::abort();
    std::ostringstream text;
    JsonStream description(text);
    writeConfiguration(config, description);
    if (!nlohmann::ordered_json::accept(text.str()))
        std::abort();
    return 0;
}
