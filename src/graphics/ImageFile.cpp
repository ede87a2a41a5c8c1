#include "graphics/ImageFile.h"

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <png.h>

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

// The largest side either encoder takes.
constexpr int jpegLargestSide = 65500;
constexpr int pngLargestSide = 65500;
constexpr int jpegQuality = 90;

} // namespace

ImageType imageTypeOf(const std::string& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".png")
        return ImageType::Png;
    if (ext == ".jpg" || ext == ".jpeg")
        return ImageType::Jpeg;
    if (ext == ".svg")
        return ImageType::Svg;
    if (ext == ".pdf")
        return ImageType::Pdf;
    if (ext == ".eps")
        return ImageType::Eps;
    return ImageType::Unknown;
}

bool isVectorImage(ImageType type) {
    return type == ImageType::Svg || type == ImageType::Pdf || type == ImageType::Eps;
}

std::string imageSizeProblem(ImageType type, int width, int height) {
    if (width <= 0 || height <= 0)
        return "The image has no pixels";
    const int largest = type == ImageType::Jpeg ? jpegLargestSide : pngLargestSide;
    if (!isVectorImage(type) && (width > largest || height > largest))
        return "An image file takes at most " + std::to_string(largest) + " pixels per side";
    return {};
}

// Both encoders report failures through longjmp; the jump buffers live in plain structs so
// that no C++ object is skipped over.
struct ImageRowWriter::Encoder {
    virtual ~Encoder() = default;
    virtual bool rows(const std::uint8_t* rgb, int count) = 0;
    virtual bool end() = 0;
};

namespace {

struct PngErrorState {
    std::jmp_buf jump;
};

void pngError(png_structp png, png_const_charp /*message*/) {
    auto* state = static_cast<PngErrorState*>(png_get_error_ptr(png));
    std::longjmp(state->jump, 1);
}

void pngWarning(png_structp, png_const_charp) {}

class PngEncoder : public ImageRowWriter::Encoder {
public:
    PngEncoder(std::FILE* file, int width, int height) : width_(width) {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors_, pngError, pngWarning);
        if (png_)
            info_ = png_create_info_struct(png_);
        if (!png_ || !info_)
            return;
        if (setjmp(errors_.jump))
            return;
        png_init_io(png_, file);
        // Fast compression: huge diagrams are mostly flat colour, which compresses well anyway.
        png_set_compression_level(png_, 6);
        png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png_, info_);
        ok_ = true;
    }
    ~PngEncoder() override { png_destroy_write_struct(&png_, &info_); }
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    bool good() const { return ok_; }
    bool rows(const std::uint8_t* rgb, int count) override {
        if (!ok_ || setjmp(errors_.jump))
            return ok_ = false;
        const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
        for (int i = 0; i < count; ++i)
            png_write_row(png_, rgb + rowBytes * static_cast<std::size_t>(i));
        return true;
    }
    bool end() override {
        if (!ok_ || setjmp(errors_.jump))
            return ok_ = false;
        png_write_end(png_, nullptr);
        return true;
    }

private:
    PngErrorState errors_{};
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    int width_;
    bool ok_ = false;
};

struct JpegErrorState {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegError(j_common_ptr info) {
    // The manager is the first member, so the pointer is the whole state.
    std::longjmp(reinterpret_cast<JpegErrorState*>(info->err)->jump, 1);
}

class JpegEncoder : public ImageRowWriter::Encoder {
public:
    JpegEncoder(std::FILE* file, int width, int height) : width_(width) {
        jpeg_.err = jpeg_std_error(&errors_.manager);
        errors_.manager.error_exit = jpegError;
        if (setjmp(errors_.jump))
            return;
        jpeg_create_compress(&jpeg_);
        created_ = true;
        jpeg_stdio_dest(&jpeg_, file);
        jpeg_.image_width = static_cast<JDIMENSION>(width);
        jpeg_.image_height = static_cast<JDIMENSION>(height);
        jpeg_.input_components = 3;
        jpeg_.in_color_space = JCS_RGB;
        jpeg_set_defaults(&jpeg_);
        jpeg_set_quality(&jpeg_, jpegQuality, TRUE);
        jpeg_start_compress(&jpeg_, TRUE);
        ok_ = true;
    }
    ~JpegEncoder() override {
        if (created_)
            jpeg_destroy_compress(&jpeg_);
    }
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;

    bool good() const { return ok_; }
    bool rows(const std::uint8_t* rgb, int count) override {
        if (!ok_ || setjmp(errors_.jump))
            return ok_ = false;
        const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
        for (int i = 0; i < count; ++i) {
            // The library reads the rows without changing them.
            JSAMPROW row = const_cast<JSAMPROW>(rgb + rowBytes * static_cast<std::size_t>(i));
            jpeg_write_scanlines(&jpeg_, &row, 1);
        }
        return true;
    }
    bool end() override {
        if (!ok_ || setjmp(errors_.jump))
            return ok_ = false;
        jpeg_finish_compress(&jpeg_);
        return true;
    }

private:
    JpegErrorState errors_{};
    jpeg_compress_struct jpeg_{};
    int width_;
    bool created_ = false;
    bool ok_ = false;
};

} // namespace

ImageRowWriter::ImageRowWriter(const std::string& path, int width, int height)
    : path_(path), partial_(path + ".part"), height_(height) {
    const ImageType type = imageTypeOf(path);
    if (type != ImageType::Png && type != ImageType::Jpeg) {
        fail("Unknown image type: use a .png, .jpg, .jpeg, .svg, .pdf or .eps file name");
        return;
    }
    if (const std::string problem = imageSizeProblem(type, width, height); !problem.empty()) {
        fail(problem);
        return;
    }
    file_ = std::fopen(partial_.c_str(), "wb");
    if (!file_) {
        fail("Unable to open image file for writing");
        return;
    }
    if (type == ImageType::Png) {
        auto png = std::make_unique<PngEncoder>(file_, width, height);
        if (png->good())
            encoder_ = std::move(png);
    } else {
        auto jpeg = std::make_unique<JpegEncoder>(file_, width, height);
        if (jpeg->good())
            encoder_ = std::move(jpeg);
    }
    if (!encoder_)
        fail("The image could not be encoded");
}

ImageRowWriter::~ImageRowWriter() {
    encoder_.reset();
    if (file_) {
        std::fclose(file_);
        std::remove(partial_.c_str());
    }
}

void ImageRowWriter::fail(const std::string& reason) {
    if (error_.empty())
        error_ = reason;
}

bool ImageRowWriter::writeRows(const std::uint8_t* rgb, int rows) {
    if (!error_.empty())
        return false;
    if (rows < 0 || written_ + rows > height_) {
        fail("More rows than the image has");
        return false;
    }
    if (!encoder_->rows(rgb, rows) || std::ferror(file_)) {
        fail("Unable to write image file");
        return false;
    }
    written_ += rows;
    return true;
}

std::string ImageRowWriter::finish() {
    if (!error_.empty())
        return error_;
    if (written_ != height_) {
        fail("The image lacks rows");
        return error_;
    }
    const bool ended = encoder_->end();
    encoder_.reset();
    const bool flushed = !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ended || !flushed || !closed || std::rename(partial_.c_str(), path_.c_str()) != 0) {
        std::remove(partial_.c_str());
        fail("Unable to write image file");
    }
    return error_;
}

std::string writeImageFile(const std::string& path, int width, int height,
                           const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        const ImageType type = imageTypeOf(path);
        return type == ImageType::Png || type == ImageType::Jpeg
                   ? "No image to write"
                   : "Unknown image type: use a .png, .jpg, .jpeg, .svg, .pdf or .eps file name";
    }
    ImageRowWriter writer(path, width, height);
    writer.writeRows(rgb.data(), height);
    return writer.finish();
}
