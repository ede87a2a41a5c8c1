#include "visualizers/ClassifierLayout.h"

namespace {

// Drops lines from the end, the new last one becoming "...", until the lines fit below y or
// only one is left.
void truncate(std::vector<std::string>& lines, float y, float step, float floor) {
    while (lines.size() >= 2 && y - static_cast<float>(lines.size()) * step < floor) {
        lines.pop_back();
        lines.back() = "...";
    }
}

bool fits(std::size_t n, float y, float step, float floor) {
    return y - static_cast<float>(n) * step >= floor;
}

} // namespace

ClassifierLayout layoutClassifier(const ClassifierLayoutInput& in) {
    ClassifierLayout out;
    const float ts = in.textSpacing;
    const float y0 = in.bottom - ts;
    out.titleAt = Point((in.left + in.right) / 2.0f, y0);
    const float y1 = y0 - (in.titleHeight + ts);
    out.firstSeparator = y1;

    const float hmax = in.featureHeight;
    const float step = hmax + ts;

    std::vector<std::string> attributes = in.attributes;
    truncate(attributes, y1, step, in.top);
    float y = y1;
    if (in.showAttributes && !attributes.empty() && fits(attributes.size(), y1, step, in.top)) {
        for (const std::string& text : attributes) {
            out.attributes.push_back({text, Point(in.left + ts, y - ts), 4});
            y -= hmax;
        }
    }

    const float y2 = y - ts;
    std::vector<std::string> operations = in.operations;
    if (fits(operations.size(), y2, step, in.top)) {
        out.hasSecondSeparator = true;
        out.secondSeparator = y2;
    }
    truncate(operations, y2, step, in.top);
    if (in.showOperations && !operations.empty() && fits(operations.size(), y2, step, in.top)) {
        y = y2;
        for (const std::string& text : operations) {
            y -= ts + hmax;
            out.operations.push_back({text, Point(in.left + ts, y), 0});
        }
    }
    return out;
}
