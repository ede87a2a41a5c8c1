#pragma once
// Metric glyphs: the small pictures that show one metric value of one element inside a
// rectangle of its box. One instance of each kind serves every metric that uses it; the
// metric's own properties are attached before each drawing.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/Configuration.h"
#include "graphics/Geometry.h"
#include "metrics/Metric.h"

class MetricViz : public MetricVisitor {
public:
    explicit MetricViz(std::string displayName) : name(std::move(displayName)) {}
    virtual ~MetricViz() = default;

    void visit(IntMetric&) override {}
    void visit(BoolMetric&) override {}
    void visit(ElementMetric&) override {}

    // Writes this glyph's own properties with their defaults into the attached config.
    virtual void setDefaults() {}
    virtual void attachAndSetDefaults(Configuration* c) {
        setProperties(c);
        setDefaults();
    }
    virtual void setProperties(Configuration* c) { config = c; }
    virtual void setBounds(float x1, float y1, float x2, float y2) {
        lowerLeft = Point(x1, y1);
        upperRight = Point(x2, y2);
    }
    virtual void setActiveRange(std::int32_t min, std::int32_t max) {
        activeMin = min;
        activeMax = max;
    }
    virtual bool acceptsBool() const { return false; }
    virtual bool acceptsInt() const { return false; }

    const std::string& getName() const { return name; }
    // The key of one of this glyph's own properties: the display name and the suffix.
    std::string key(const char* suffix) const { return name + suffix; }

protected:
    std::string name;
    Point lowerLeft;
    Point upperRight;
    Configuration* config = nullptr; // the drawn metric's properties, owned by its record
    std::int32_t activeMax = 0;
    std::int32_t activeMin = 0;
};

class MetricVizBoolCheckBox : public MetricViz {
public:
    MetricVizBoolCheckBox() : MetricViz("2D Checkbox") {}
    using MetricViz::visit;
    void visit(BoolMetric& m) override;
    void setDefaults() override;
    bool acceptsBool() const override { return true; }
};

class MetricVizIntPie : public MetricViz {
public:
    MetricVizIntPie() : MetricViz("2D Pie") {}
    using MetricViz::visit;
    void visit(IntMetric& m) override;
    void setDefaults() override;
    bool acceptsInt() const override { return true; }
};

class MetricVizIntHeightBar : public MetricViz {
public:
    MetricVizIntHeightBar() : MetricViz("2D Heightbar") {}
    using MetricViz::visit;
    void visit(IntMetric& m) override;
    void setDefaults() override;
    bool acceptsInt() const override { return true; }
};

class MetricVizInt3DBar : public MetricViz {
public:
    MetricVizInt3DBar() : MetricViz("3D Bar") {}
    using MetricViz::visit;
    void visit(IntMetric& m) override;
    void setDefaults() override;
    bool acceptsInt() const override { return true; }
};

class MetricVizInt3DCylinder : public MetricViz {
public:
    MetricVizInt3DCylinder() : MetricViz("3D Cylinder") {}
    using MetricViz::visit;
    void visit(IntMetric& m) override;
    void setDefaults() override;
    bool acceptsInt() const override { return true; }
};

class MetricVizGenericCircle : public MetricViz {
public:
    MetricVizGenericCircle() : MetricViz("2D Radius Circle") {}
    using MetricViz::visit;
    void visit(IntMetric& m) override;
    void visit(BoolMetric& m) override;
    void setDefaults() override;
    bool acceptsBool() const override { return true; }
    bool acceptsInt() const override { return true; }
};

class MetricVizGenericColorSquare : public MetricViz {
public:
    MetricVizGenericColorSquare() : MetricViz("2D Colored Square") {}
    using MetricViz::visit;
    void visit(IntMetric& m) override;
    void visit(BoolMetric& m) override;
    void setDefaults() override;
    bool acceptsBool() const override { return true; }
    bool acceptsInt() const override { return true; }

private:
    void drawSquare(float t);
};

// The glyph prototypes in the order the program offers them.
using GlyphRegistry = std::vector<std::unique_ptr<MetricViz>>;
GlyphRegistry makeGlyphRegistry();
// The glyph of that display name; null when there is none.
MetricViz* findGlyph(const GlyphRegistry& glyphs, const std::string& name);
