#include "visualizers/MetricViz.h"

#include "graphics/Graphics.h"
#include "visualizers/GlyphGeometry.h"

namespace {

constexpr int glyphSegments = -3;
constexpr float quarterTurn = 0.7853982f;

Color rgb(int r, int g, int b, int a = 255) {
    return Color(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
                 static_cast<float>(b) / 255.0f, static_cast<float>(a) / 255.0f);
}

// The mark of a boolean value inside a rectangle: a check mark for true, a cross for false.
void drawBoolMark(bool value, Configuration& config, const MetricViz& glyph, float x1, float y1,
                  float x2, float y2) {
    if (value)
        Graphics::polygonFill(checkMarkOutline(x1, y1, x2, y2),
                              config.getColor(glyph.key(".TrueFillColor")));
    else
        Graphics::polygonFill(crossOutline(x1, y1, x2, y2),
                              config.getColor(glyph.key(".FalseFillColor")));
}

} // namespace

void MetricVizBoolCheckBox::setDefaults() {
    config->setColor(key(".TrueFillColor"), rgb(0, 153, 0));
    config->setColor(key(".FalseFillColor"), rgb(153, 0, 0));
}

void MetricVizBoolCheckBox::visit(BoolMetric& m) {
    if (!config)
        return;
    Graphics::rectFill(lowerLeft, upperRight, config->getColor("FillColor"));
    Graphics::rectOutline(lowerLeft, upperRight, config->getColor("OutlineColor"));
    drawBoolMark(m.value, *config, *this, lowerLeft.x, lowerLeft.y, upperRight.x, upperRight.y);
}

void MetricVizIntPie::setDefaults() {
    config->setFloat(key(".MinRadius"), quarterTurn);
    config->setBool(key(".Round"), true);
}

void MetricVizIntPie::visit(IntMetric& m) {
    if (!config)
        return;
    const float sweep = pieSweep(m.value, m.min, m.max, config->getFloat(key(".MinRadius")));
    const Point r = glyphRadii(upperRight.x - lowerLeft.x, upperRight.y - lowerLeft.y,
                               config->getBool(key(".Round")));
    const Point c((lowerLeft.x + upperRight.x) / 2.0f, (lowerLeft.y + upperRight.y) / 2.0f);
    Graphics::sectorFill(c, r.x, r.y, 0.0f, sweep, glyphSegments, config->getColor("FillColor"));
    Graphics::sectorOutline(c, r.x, r.y, 0.0f, sweep, glyphSegments,
                            config->getColor("OutlineColor"));
}

void MetricVizIntHeightBar::setDefaults() {
    config->setFloat(key(".MinHeight"), 0.1f);
}

void MetricVizIntHeightBar::visit(IntMetric& m) {
    if (!config)
        return;
    const float f =
        heightBarFraction(m.value, activeMin, activeMax, config->getFloat(key(".MinHeight")));
    const Point top(upperRight.x, lowerLeft.y + f * (upperRight.y - lowerLeft.y));
    Graphics::rectFill(lowerLeft, top, config->getColor("FillColor"));
    Graphics::rectOutline(lowerLeft, top, config->getColor("OutlineColor"));
}

void MetricVizInt3DBar::setDefaults() {
    config->setFloat(key(".MaxHeight"), 128.0f);
    config->setFloat(key(".MinHeight"), 1.0f);
}

void MetricVizInt3DBar::visit(IntMetric& m) {
    if (!config)
        return;
    const float h = barHeight(m.value, m.min, m.max, config->getFloat(key(".MinHeight")),
                              config->getFloat(key(".MaxHeight")));
    const Point3 base(lowerLeft.x, lowerLeft.y, 0.0f);
    const Point3 top(upperRight.x, upperRight.y, -h);
    Graphics::boxFill(base, top, config->getColor("FillColor"));
    Graphics::boxOutline(base, top, config->getColor("OutlineColor"));
}

void MetricVizInt3DCylinder::setDefaults() {
    config->setFloat(key(".MaxHeight"), 128.0f);
    config->setFloat(key(".MinHeight"), 1.0f);
    config->setBool(key(".Round"), true);
}

void MetricVizInt3DCylinder::visit(IntMetric& m) {
    if (!config)
        return;
    const float h = barHeight(m.value, m.min, m.max, config->getFloat(key(".MinHeight")),
                              config->getFloat(key(".MaxHeight")));
    const Point r = glyphRadii(upperRight.x - lowerLeft.x, upperRight.y - lowerLeft.y,
                               config->getBool(key(".Round")));
    const Point c((lowerLeft.x + upperRight.x) / 2.0f, (lowerLeft.y + upperRight.y) / 2.0f);
    Graphics::cylinderFill(c, r.x, r.y, h, glyphSegments, config->getColor("FillColor"));
    Graphics::cylinderOutline(c, r.x, r.y, h, glyphSegments, config->getColor("OutlineColor"));
}

void MetricVizGenericCircle::setDefaults() {
    config->setFloat(key(".MinRadius"), 0.1f);
    config->setColor(key(".TrueFillColor"), rgb(0, 153, 0));
    config->setColor(key(".FalseFillColor"), rgb(153, 0, 0));
    config->setBool(key(".Round"), true);
}

void MetricVizGenericCircle::visit(IntMetric& m) {
    if (!config)
        return;
    const Point r = circleRadii(m.value, m.min, m.max,
                                glyphRadii(upperRight.x - lowerLeft.x, upperRight.y - lowerLeft.y,
                                           config->getBool(key(".Round"))),
                                config->getFloat(key(".MinRadius")));
    const Point c((lowerLeft.x + upperRight.x) / 2.0f, (lowerLeft.y + upperRight.y) / 2.0f);
    Graphics::ellipseFill(c, r.x, r.y, glyphSegments, config->getColor("FillColor"));
    Graphics::ellipseOutline(c, r.x, r.y, glyphSegments, config->getColor("OutlineColor"));
}

void MetricVizGenericCircle::visit(BoolMetric& m) {
    if (!config)
        return;
    const Point r = glyphRadii(upperRight.x - lowerLeft.x, upperRight.y - lowerLeft.y,
                               config->getBool(key(".Round")));
    const Point c((lowerLeft.x + upperRight.x) / 2.0f, (lowerLeft.y + upperRight.y) / 2.0f);
    Graphics::ellipseFill(c, r.x, r.y, glyphSegments, config->getColor("FillColor"));
    Graphics::ellipseOutline(c, r.x, r.y, glyphSegments, config->getColor("OutlineColor"));
    // The mark fills the rectangle inscribed in the ellipse.
    const float hw = 1.414212f * r.x / 2.0f;
    const float hh = 1.414212f * r.y / 2.0f;
    drawBoolMark(m.value, *config, *this, c.x - hw, c.y - hh, c.x + hw, c.y + hh);
}

void MetricVizGenericColorSquare::setDefaults() {
    config->setColormap(key(".Colormap"), Colormap{rgb(0, 0, 0, 160), rgb(255, 255, 255, 160)});
}

void MetricVizGenericColorSquare::drawSquare(float t) {
    const Color mapped = config->getColormap(key(".Colormap")).lookup(t);
    Graphics::rectFill(lowerLeft, upperRight,
                       colorSquareColor(config->getColor("FillColor"), mapped));
    Graphics::rectOutline(lowerLeft, upperRight, config->getColor("OutlineColor"));
}

void MetricVizGenericColorSquare::visit(IntMetric& m) {
    if (config)
        drawSquare(colorSquarePosition(m.value, m.min, m.max));
}

void MetricVizGenericColorSquare::visit(BoolMetric& m) {
    if (config)
        drawSquare(m.value ? 1.0f : 0.0f);
}

GlyphRegistry makeGlyphRegistry() {
    GlyphRegistry glyphs;
    glyphs.push_back(std::make_unique<MetricVizBoolCheckBox>());
    glyphs.push_back(std::make_unique<MetricVizIntPie>());
    glyphs.push_back(std::make_unique<MetricVizIntHeightBar>());
    glyphs.push_back(std::make_unique<MetricVizInt3DBar>());
    glyphs.push_back(std::make_unique<MetricVizInt3DCylinder>());
    glyphs.push_back(std::make_unique<MetricVizGenericCircle>());
    glyphs.push_back(std::make_unique<MetricVizGenericColorSquare>());
    return glyphs;
}

MetricViz* findGlyph(const GlyphRegistry& glyphs, const std::string& name) {
    for (const auto& glyph : glyphs)
        if (glyph->getName() == name)
            return glyph.get();
    return nullptr;
}
