#pragma once
// The options of the command-line export and the readers of their values. A value that
// cannot be used throws UsageError with a message that names the option.
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ImageSize {
    int width = 1024;
    int height = 768;
};

struct CameraSetting {
    float zoom = 1.0f;
    std::array<float, 2> pan{0.0f, 0.0f};
    std::array<float, 2> rotation{0.0f, 0.0f};
};

struct PixelPoint {
    int x = 0;
    int y = 0;
};

struct ExportOptions {
    std::string modelFile;
    std::string diagram;    // name or id; empty: the first diagram with elements
    std::string visualizer; // display name; empty: the program's default
    ImageSize size;
    std::optional<CameraSetting> camera;
    bool orthographic = false;
    bool stereo = false;
    std::vector<std::string> select;
    std::optional<PixelPoint> pick;
    bool frames = false;
    std::string output;      // empty: no image
    std::string metricsFile; // empty: the file beside the model
    std::vector<std::string> show;
    std::vector<std::pair<std::string, std::string>> glyphs; // metric, glyph display name
    int rows = -1;
    std::optional<bool> legend;
    std::string configFile; // applied after the model and the metrics; options override it
    int tileSide = 0;       // the largest side of one rendering pass; 0 for the default
};

// "WxH" with both sides whole positive numbers (the renderer's limit is checked later).
ImageSize parseImageSize(const std::string& text);
// "ZOOM,PANX,PANY,ROT0,ROT1": finite numbers, the zoom positive.
CameraSetting parseCamera(const std::string& text);
// "X,Y": whole numbers.
PixelPoint parsePixelPoint(const std::string& text);
// "NAME=GLYPH", both parts non-empty.
std::pair<std::string, std::string> parseGlyphChoice(const std::string& text);
// A positive row count, or -1 for automatic rows.
int parseRows(const std::string& text);
// A positive number of pixels for the side of a rendering pass.
int parseTileSide(const std::string& text);
// Comma-separated items; empty items are an error.
std::vector<std::string> splitList(const std::string& text, const std::string& option);
