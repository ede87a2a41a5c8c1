#pragma once
// Writes rendered pixels to an image file without the window toolkit, for the command-line
// export; the type follows the file name's extension.
#include <cstdint>
#include <string>
#include <vector>

enum class ImageType { Unknown, Png, Jpeg };

// ".png" gives Png, ".jpg" and ".jpeg" give Jpeg, in any letter case; anything else Unknown.
ImageType imageTypeOf(const std::string& path);

// Writes width x height RGB pixels given top row first. Returns an empty string on success,
// else the reason for the failure.
std::string writeImageFile(const std::string& path, int width, int height,
                           const std::vector<std::uint8_t>& rgb);
