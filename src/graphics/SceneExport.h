#pragma once
// Writes what the views show to an image file, needing only a current OpenGL context:
// raster images (PNG, JPEG) are drawn into a framebuffer object, in tiles when the image is
// larger than one pass may draw, and encoded band by band; vector images (SVG, PDF, EPS)
// are recorded from the same drawing with text kept as text.
#include <string>
#include <vector>

class CanvasViews;

struct SceneExportOptions {
    bool frames = false; // the view frames, which the canvas draws and a report rarely wants
    // The largest side of one rendering pass; 0 for the default. Larger images are drawn
    // in tiles.
    int tileSide = 0;
};

// The side of a tile unless asked otherwise: 4096 pixels, whose colour and depth buffers
// take 128 MB.
constexpr int defaultTileSide = 4096;

// Draws the views for an image (without their frames unless asked), then the separators.
// useDisplayLists replays what the previous drawing compiled.
void drawExportScene(CanvasViews& views, bool frames, bool useDisplayLists);

// Writes the views, laid out over the canvas size of views, to path, typed by its
// extension. Returns an empty string on success, else the reason; no file is left behind
// on failure.
std::string exportScene(CanvasViews& views, const std::string& path,
                        const SceneExportOptions& options);

// Shows on an image of width x height what the views show on their canvas, magnified by
// how much larger the image is (the smaller of the two ratios): the views are laid out over
// the image, their zoom and every pixel size scaled. Everything is put back at the end of
// the scope.
class MagnifiedLayout {
public:
    MagnifiedLayout(CanvasViews& views, int width, int height);
    ~MagnifiedLayout();
    MagnifiedLayout(const MagnifiedLayout&) = delete;
    MagnifiedLayout& operator=(const MagnifiedLayout&) = delete;

    float scale() const { return scale_; }

private:
    CanvasViews& views_;
    int width_;
    int height_;
    float scale_ = 1.0f;
    float previousLineScale_ = 1.0f;
    std::vector<float> zooms_;
};
