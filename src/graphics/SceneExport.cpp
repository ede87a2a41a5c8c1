#include "graphics/SceneExport.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <GL/gl.h>
#include <gl2ps.h>

#include "common/Exception.h"
#include "graphics/CanvasViews.h"
#include "graphics/CanvasWindow.h"
#include "graphics/Framebuffer.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFile.h"

namespace {

// Rows of one band of tiles are held for the encoder, which takes whole rows: about this
// many bytes of them.
constexpr std::size_t bandBytes = std::size_t(128) << 20;
// The feedback buffer starts at this many values and doubles while the drawing overflows
// it, up to the largest.
constexpr GLint firstFeedbackSize = 1 << 22;
constexpr GLint largestFeedbackSize = 1 << 28;

std::string writeRaster(CanvasViews& views, const std::string& path,
                        const SceneExportOptions& options) {
    const int width = views.width();
    const int height = views.height();
    ImageRowWriter writer(path, width, height);
    if (!writer.error().empty())
        return writer.error();

    int side = options.tileSide > 0 ? options.tileSide : defaultTileSide;
    side = std::min(side, Framebuffer::largestSide());
    const int tileWidth = std::min(width, side);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const int bandRows = static_cast<int>(std::max<std::size_t>(1, bandBytes / rowBytes));
    const int tileHeight = std::min({height, side, bandRows});

    std::unique_ptr<Framebuffer> target;
    try {
        target = std::make_unique<Framebuffer>(tileWidth, tileHeight);
    } catch (const GraphicsException& e) {
        return e.getMessage();
    }
    target->bind();
    std::vector<std::uint8_t> band(rowBytes * static_cast<std::size_t>(tileHeight));
    bool first = true;
    // Bands from the top of the image down, as the encoder takes the rows.
    for (int top = height; top > 0 && writer.error().empty(); top -= tileHeight) {
        const int bottom = std::max(0, top - tileHeight);
        const int rows = top - bottom;
        for (int left = 0; left < width; left += tileWidth) {
            const int columns = std::min(tileWidth, width - left);
            views.setDrawRegion({left, bottom, columns, rows});
            drawExportScene(views, options.frames, !first);
            first = false;
            glFinish();
            readRGBRows(0, 0, columns, rows, band.data() + static_cast<std::size_t>(left) * 3,
                        width);
        }
        // The band's rows came bottom row first.
        for (int r = rows - 1; r >= 0; --r)
            writer.writeRows(band.data() + rowBytes * static_cast<std::size_t>(r), 1);
    }
    views.clearDrawRegion();
    target->unbind();
    return writer.finish();
}

struct VectorFormat {
    GLint format;
    GLint options;
    const char* font; // a face every reader of the format has, with the metrics of ours
};

VectorFormat vectorFormatOf(ImageType type) {
    const GLint common = GL2PS_DRAW_BACKGROUND | GL2PS_SILENT;
    switch (type) {
    case ImageType::Svg:
        return {GL2PS_SVG, common, "Arial"};
    case ImageType::Pdf:
        return {GL2PS_PDF, common | GL2PS_COMPRESS, "Helvetica"};
    default:
        return {GL2PS_EPS, common, "Helvetica"};
    }
}

// Puts the clear colour back when the recording ends.
class OpaqueBackground {
public:
    OpaqueBackground() {
        glGetFloatv(GL_COLOR_CLEAR_VALUE, previous_);
        // The raster images have no transparency; the vector ones show the same white.
        glClearColor(previous_[0], previous_[1], previous_[2], 1.0f);
    }
    ~OpaqueBackground() { glClearColor(previous_[0], previous_[1], previous_[2], previous_[3]); }
    OpaqueBackground(const OpaqueBackground&) = delete;
    OpaqueBackground& operator=(const OpaqueBackground&) = delete;

private:
    GLfloat previous_[4] = {1.0f, 1.0f, 1.0f, 0.0f};
};

std::string writeVector(CanvasViews& views, const std::string& path, ImageType type,
                        const SceneExportOptions& options) {
    if (const std::string problem = imageSizeProblem(type, views.width(), views.height());
        !problem.empty())
        return problem;
    const int limit = Framebuffer::largestSide();
    if (views.width() > limit || views.height() > limit)
        return "A vector image takes at most " + std::to_string(limit) + " pixels per side";
    const VectorFormat format = vectorFormatOf(type);
    const std::string partial = path + ".part";
    GLint viewport[4] = {0, 0, views.width(), views.height()};
    OpaqueBackground background;
    GLint status = GL2PS_OVERFLOW;
    for (GLint size = firstFeedbackSize; status == GL2PS_OVERFLOW && size <= largestFeedbackSize;
         size *= 2) {
        std::FILE* file = std::fopen(partial.c_str(), "wb");
        if (!file)
            return "Unable to open image file for writing";
        status = gl2psBeginPage("Brennimore diagram", "Brennimore", viewport, format.format,
                                GL2PS_NO_SORT, format.options, GL_RGBA, 0, nullptr, 0, 0, 0, size,
                                file, path.c_str());
        if (status == GL2PS_SUCCESS) {
            gl2psEnable(GL2PS_BLEND);
            gl2psBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            GLfloat lineWidth = 1.0f;
            glGetFloatv(GL_LINE_WIDTH, &lineWidth);
            gl2psLineWidth(lineWidth);
            Graphics::beginVectorRecording(format.format, format.font);
            drawExportScene(views, options.frames, false);
            Graphics::endVectorRecording();
            status = gl2psEndPage();
            // The views print their own primitives; none left for the page is no failure.
            if (status == GL2PS_NO_FEEDBACK)
                status = GL2PS_SUCCESS;
        }
        const bool written = !std::ferror(file);
        const bool closed = std::fclose(file) == 0;
        if (status == GL2PS_SUCCESS && !(written && closed))
            status = GL2PS_ERROR;
    }
    if (status != GL2PS_SUCCESS || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return status == GL2PS_OVERFLOW ? "The drawing is too large for a vector image"
                                        : "Unable to write image file";
    }
    return {};
}

} // namespace

void drawExportScene(CanvasViews& views, bool frames, bool useDisplayLists) {
    const bool recording = Graphics::isRecordingVector();
    for (CanvasWindow* view : views.views()) {
        // A view of its own in the recording clips what spills over its edges, as the
        // scissor does on screen.
        GLint rect[4] = {view->x, view->y, view->width, view->height};
        if (recording)
            gl2psBeginViewport(rect);
        view->render(useDisplayLists);
        if (frames)
            view->drawFrame(view == views.activeView());
        if (recording)
            gl2psEndViewport();
    }
    views.drawSeparators();
}

std::string exportScene(CanvasViews& views, const std::string& path,
                        const SceneExportOptions& options) {
    const ImageType type = imageTypeOf(path);
    if (type == ImageType::Unknown)
        return "Unknown image type: use a .png, .jpg, .jpeg, .svg, .pdf or .eps file name";
    if (views.width() <= 0 || views.height() <= 0)
        return "No image to write";
    return isVectorImage(type) ? writeVector(views, path, type, options)
                               : writeRaster(views, path, options);
}

MagnifiedLayout::MagnifiedLayout(CanvasViews& views, int width, int height)
    : views_(views), width_(views.width()), height_(views.height()),
      previousLineScale_(Graphics::getLineScale()) {
    if (width_ > 0 && height_ > 0)
        scale_ = std::min(static_cast<float>(width) / static_cast<float>(width_),
                          static_cast<float>(height) / static_cast<float>(height_));
    if (!(scale_ > 0.0f))
        scale_ = 1.0f;
    views_.resize(width, height);
    for (CanvasWindow* view : views_.views()) {
        zooms_.push_back(view->zoom);
        view->zoom *= scale_;
    }
    views_.setPixelScale(scale_);
    Graphics::setLineScale(scale_);
    Graphics::setLineWidth(1.0f);
}

MagnifiedLayout::~MagnifiedLayout() {
    const std::vector<CanvasWindow*> views = views_.views();
    for (std::size_t i = 0; i < views.size() && i < zooms_.size(); ++i)
        views[i]->zoom = zooms_[i];
    views_.setPixelScale(1.0f);
    Graphics::setLineScale(previousLineScale_);
    Graphics::setLineWidth(1.0f);
    views_.resize(width_, height_);
}
