#include "graphics/ImageFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

std::string lowerExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

void appendToVector(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

ImageType imageTypeOf(const std::string& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".png")
        return ImageType::Png;
    if (ext == ".jpg" || ext == ".jpeg")
        return ImageType::Jpeg;
    return ImageType::Unknown;
}

std::string writeImageFile(const std::string& path, int width, int height,
                           const std::vector<std::uint8_t>& rgb) {
    const ImageType type = imageTypeOf(path);
    if (type == ImageType::Unknown)
        return "Unknown image type: use a .png, .jpg or .jpeg file name";
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return "No image to write";
    // Encode in memory first so a failed write never leaves half a file behind silently.
    std::vector<std::uint8_t> encoded;
    const int ok = type == ImageType::Png ? stbi_write_png_to_func(appendToVector, &encoded, width,
                                                                   height, 3, rgb.data(), width * 3)
                                          : stbi_write_jpg_to_func(appendToVector, &encoded, width,
                                                                   height, 3, rgb.data(), 90);
    if (!ok || encoded.empty())
        return "The image could not be encoded";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return "Unable to open image file for writing";
    const bool written = std::fwrite(encoded.data(), 1, encoded.size(), file) == encoded.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(path.c_str());
        return "Unable to write image file";
    }
    return {};
}
