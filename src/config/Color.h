#pragma once
// Colours of the configuration store: four floats red, green, blue, alpha (nominally 0..1,
// never clamped), and colour maps, which are never empty.
#include <cstdint>
#include <initializer_list>
#include <vector>

struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    Color() = default;
    Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    // From a packed 0xAARRGGBB value; each byte is divided by 255.
    explicit Color(std::uint32_t argb);

    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

// A component as an 8-bit intensity (x 255, truncated), for swatches and pixel values.
// Components outside 0..1 are clamped first; NaN gives 0.
std::uint8_t colorByte(float component);

class Colormap {
public:
    Colormap();
    // An empty list gives the single entry opaque black.
    Colormap(std::vector<Color> colors);
    Colormap(std::initializer_list<Color> colors);

    const std::vector<Color>& colors() const { return colors_; }
    std::size_t size() const { return colors_.size(); }
    const Color& operator[](std::size_t i) const { return colors_[i]; }
    bool operator==(const Colormap& o) const { return colors_ == o.colors_; }

    // The colour at t in [0, 1]: t is clamped, the entries are spread evenly over [0, 1]
    // and the two entries around t are interpolated linearly in all four components.
    Color lookup(float t) const;

private:
    std::vector<Color> colors_;
};
