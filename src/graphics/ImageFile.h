#pragma once
// Writes rendered pixels to an image file without the window toolkit; the type follows the
// file name's extension. Raster images are encoded row by row as they come, so an image far
// larger than memory would hold twice is written from a band of rows at a time.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

enum class ImageType { Unknown, Png, Jpeg, Svg, Pdf, Eps };

// ".png" gives Png, ".jpg" and ".jpeg" give Jpeg, ".svg", ".pdf" and ".eps" the vector
// types, in any letter case; anything else Unknown.
ImageType imageTypeOf(const std::string& path);
bool isVectorImage(ImageType type);
// The reason an image of this type and size cannot be written; empty when it can.
std::string imageSizeProblem(ImageType type, int width, int height);

// A PNG or JPEG file written from top to bottom. The file appears under its name only when
// finish succeeds; a writer destroyed before that leaves no file behind.
class ImageRowWriter {
public:
    ImageRowWriter(const std::string& path, int width, int height);
    ~ImageRowWriter();
    ImageRowWriter(const ImageRowWriter&) = delete;
    ImageRowWriter& operator=(const ImageRowWriter&) = delete;

    // Empty while all is well, else the reason of the first failure.
    const std::string& error() const { return error_; }
    // Appends rows of width RGB pixels, top row first; false once anything failed.
    bool writeRows(const std::uint8_t* rgb, int rows);
    // Completes the file after all rows; returns error().
    std::string finish();

    struct Encoder;

private:
    void fail(const std::string& reason);

    std::string path_;
    std::string partial_;
    int height_;
    int written_ = 0;
    std::FILE* file_ = nullptr;
    std::string error_;
    std::unique_ptr<Encoder> encoder_;
};

// Writes width x height RGB pixels given top row first. Returns an empty string on success,
// else the reason for the failure.
std::string writeImageFile(const std::string& path, int width, int height,
                           const std::vector<std::uint8_t>& rgb);
