#pragma once
// Text forms of configuration values, shared by the configuration kind block and by every
// other place that reads or writes a colour as text. All conversions ignore the process
// locale: the decimal separator is always a point.
#include <string>
#include <string_view>

#include "config/Color.h"

// "[r g b a]" with six decimals each, e.g. "[0.000000 0.200000 0.800000 0.298039]".
std::string formatColor(const Color& color);
// The entries' colour forms joined by "+".
std::string formatColormap(const Colormap& map);
// Six significant digits in the shortest general form ("3", "0.27", "1e+06"). Infinities
// are written as a number beyond the float range ("1e+39"), which reads back as infinity;
// NaN is written as "nan", which the block reader rejects.
std::string formatFloat(float value);

// "[r g b a]" with any four blank-separated numbers; a component that is no number gives 0,
// text of another shape gives opaque black.
Color parseColor(std::string_view text);
// Colours separated by "+", empty pieces dropped; never empty (opaque black at worst).
Colormap parseColormap(std::string_view text);
// A decimal number as the C library reads it, narrowed to float; magnitudes beyond the
// float range become infinities instead of undefined conversions.
float parseFloatValue(std::string_view text);
