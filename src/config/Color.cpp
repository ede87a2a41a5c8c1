#include "config/Color.h"

Color::Color(std::uint32_t argb)
    : r(static_cast<float>((argb >> 16) & 0xFFu) / 255.0f),
      g(static_cast<float>((argb >> 8) & 0xFFu) / 255.0f),
      b(static_cast<float>(argb & 0xFFu) / 255.0f),
      a(static_cast<float>((argb >> 24) & 0xFFu) / 255.0f) {}

Colormap::Colormap() : colors_{Color()} {}

Colormap::Colormap(std::vector<Color> colors) : colors_(std::move(colors)) {
    if (colors_.empty())
        colors_.push_back(Color());
}

Colormap::Colormap(std::initializer_list<Color> colors) : Colormap(std::vector<Color>(colors)) {}
