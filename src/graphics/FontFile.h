#pragma once
// Locates the TrueType file for the program's text font.
#include <string>
#include <vector>

// "arial.ttf" in the working directory or the program's data folder; else Liberation Sans
// (metrically compatible with Arial) at its usual Debian paths or through fontconfig.
// "" when none is found.
std::string findFontFile();

// The same search with the fallback paths given: the first readable one is taken, then
// fontconfig's answer for Liberation Sans when askFontconfig is set.
std::string findFontFile(const std::vector<std::string>& fallbacks, bool askFontconfig);
