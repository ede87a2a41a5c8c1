// Reads arbitrary bytes as a configuration kind block into a store holding the defaults,
// writes the store back and reads that again: the second read must give the same store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "config/Configuration.h"

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
    return 0;
}
