#include "config/Color.h"

#include <cmath>

Color::Color(std::uint32_t argb)
    : r(static_cast<float>((argb >> 16) & 0xFFu) / 255.0f),
      g(static_cast<float>((argb >> 8) & 0xFFu) / 255.0f),
      b(static_cast<float>(argb & 0xFFu) / 255.0f),
      a(static_cast<float>((argb >> 24) & 0xFFu) / 255.0f) {}

std::uint8_t colorByte(float component) {
    if (!(component > 0.0f))
        return 0;
    if (component >= 1.0f)
        return 255;
    return static_cast<std::uint8_t>(component * 255.0f);
}

Colormap::Colormap() : colors_{Color()} {}

Colormap::Colormap(std::vector<Color> colors) : colors_(std::move(colors)) {
    if (colors_.empty())
        colors_.push_back(Color());
}

Colormap::Colormap(std::initializer_list<Color> colors) : Colormap(std::vector<Color>(colors)) {}

Color Colormap::lookup(float t) const {
    const std::size_t n = colors_.size();
    // NaN compares false everywhere; treat it as the low end rather than index with it.
    if (!(t > 0.0f))
        t = 0.0f;
    if (t > 1.0f)
        t = 1.0f;
    const float span = static_cast<float>(n - 1);
    const std::size_t i = static_cast<std::size_t>(std::floor(span * t));
    if (i >= n - 1)
        return colors_[n - 1];
    const float u = (t - static_cast<float>(i) / span) * span;
    const Color& lo = colors_[i];
    const Color& hi = colors_[i + 1];
    return Color(lo.r + (hi.r - lo.r) * u, lo.g + (hi.g - lo.g) * u, lo.b + (hi.b - lo.b) * u,
                 lo.a + (hi.a - lo.a) * u);
}
