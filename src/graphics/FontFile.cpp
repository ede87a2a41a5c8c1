#include "graphics/FontFile.h"

#include <array>
#include <cstdio>
#include <memory>

#include "common/DataFiles.h"

namespace {

// The file fontconfig picks for Liberation Sans ("" when fc-match is not there).
std::string fontconfigMatch() {
    // A fixed command line; nothing from outside the program goes into it.
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        popen("fc-match -f '%{file}' 'Liberation Sans:style=Regular' 2>/dev/null", "r"), pclose);
    if (!pipe)
        return "";
    std::string result;
    std::array<char, 512> buffer{};
    std::size_t read = 0;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0 &&
           result.size() < 4096)
        result.append(buffer.data(), read);
    return result;
}

} // namespace

std::string findFontFile(const std::vector<std::string>& fallbacks, bool askFontconfig) {
    std::string found = findDataFile("arial.ttf");
    if (!found.empty())
        return found;
    for (const std::string& candidate : fallbacks) {
        if (fileIsReadable(candidate))
            return candidate;
    }
    if (askFontconfig) {
        std::string matched = fontconfigMatch();
        if (!matched.empty() && fileIsReadable(matched))
            return matched;
    }
    return "";
}

std::string findFontFile() {
    return findFontFile({"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                         "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"},
                        true);
}
