#include "graphics/FontFile.h"

#include <fontconfig/fontconfig.h>

#include "common/DataFiles.h"

namespace {

// The file fontconfig picks for Liberation Sans ("" when it knows none).
std::string fontconfigMatch() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return "";
    std::string file;
    FcPattern* pattern =
        FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:style=Regular"));
    if (pattern) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* path = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
                file = reinterpret_cast<const char*>(path);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return file;
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
