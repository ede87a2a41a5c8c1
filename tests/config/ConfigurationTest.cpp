#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>

#include "config/Configuration.h"

TEST(Configuration, MissingKeyIsInsertedOnlyInItsOwnKind) {
    Configuration c;
    EXPECT_EQ(c.getFloat("X"), 0.0f);
    ASSERT_EQ(c.floats().size(), 1u);
    EXPECT_EQ(c.floats().begin()->first, "X");
    EXPECT_TRUE(c.bools().empty());
    EXPECT_TRUE(c.colors().empty());
    EXPECT_TRUE(c.colormaps().empty());

    EXPECT_FALSE(c.getBool("B"));
    EXPECT_EQ(c.getColor("C"), Color(0, 0, 0, 1));
    ASSERT_EQ(c.getColormap("M").size(), 1u);
    EXPECT_EQ(c.getColormap("M")[0], Color(0, 0, 0, 1));
    EXPECT_EQ(c.bools().count("B"), 1u);
    EXPECT_EQ(c.colors().count("C"), 1u);
    EXPECT_EQ(c.colormaps().count("M"), 1u);
}

TEST(Configuration, SameKeyInTwoKindsIsTwoEntries) {
    Configuration c;
    c.setBool("X", true);
    c.setFloat("X", 2.0f);
    EXPECT_TRUE(c.getBool("X"));
    EXPECT_EQ(c.getFloat("X"), 2.0f);
    c.setFloat("X", 3.0f);
    EXPECT_TRUE(c.getBool("X"));
}

TEST(Configuration, ReferenceAccessorsChangeTheStoredValue) {
    Configuration c;
    c.getFloatRef("Size") = 4.5f;
    EXPECT_EQ(c.getFloat("Size"), 4.5f);
    c.getColormap("Map") = Colormap{Color(1, 0, 0, 1), Color(0, 0, 1, 1)};
    EXPECT_EQ(c.getColormap("Map").size(), 2u);
}

TEST(Configuration, KeysAreInByteOrder) {
    Configuration c;
    for (const char* key : {"b", "B", "a.b", "A", "Zed", "a"})
        c.setBool(key, true);
    std::vector<std::string> keys;
    for (const auto& entry : c.bools())
        keys.push_back(entry.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"A", "B", "Zed", "a", "a.b", "b"}));
}

TEST(Configuration, DefaultsHaveTheBuiltInEntries) {
    Configuration c;
    setDefaultConfiguration(c);
    EXPECT_EQ(c.bools().size(), 13u);
    EXPECT_EQ(c.floats().size(), 18u);
    EXPECT_EQ(c.colors().size(), 12u);
    EXPECT_TRUE(c.colormaps().empty());

    EXPECT_EQ(c.bools().begin()->first, "Visualizer.General.Abstractions");
    EXPECT_EQ(std::prev(c.bools().end())->first, "Visualizer.General.Transitions");
    EXPECT_EQ(c.floats().begin()->first, "Canvas.Separator.Size");
    EXPECT_EQ(std::next(c.floats().begin())->first, "HoverInfo.FontSize");

    EXPECT_EQ(c.getFloat("Canvas.Separator.Size"), 3.0f);
    EXPECT_EQ(c.getColor("Canvas.Separator.Color"), Color(0, 0, 0, 64.0f / 255.0f));
    EXPECT_EQ(c.getColor("Visualizer.General.SelectColor"),
              Color(0, 51.0f / 255.0f, 204.0f / 255.0f, 76.0f / 255.0f));
    EXPECT_EQ(c.getFloat("Visualizer.UMLModel.ArrowAngle"), 0.27f);
    EXPECT_EQ(c.getFloat("Visualizer.SimpleMetrics.Spacing"), 0.025f);
    EXPECT_EQ(c.getFloat("Visualizer.General.Legend.Transparency"), 0.7f);
    EXPECT_FALSE(c.getBool("Visualizer.General.Comments"));
    EXPECT_FALSE(c.getBool("Visualizer.General.RelationNames"));
    EXPECT_FALSE(c.getBool("Visualizer.General.Legend.Enable"));
    EXPECT_TRUE(c.getBool("Visualizer.General.Shadows"));
    EXPECT_EQ(c.getColor("HoverInfo.ModelElement.FillColor"),
              Color(221.0f / 255.0f, 1, 221.0f / 255.0f, 221.0f / 255.0f));
}

TEST(Configuration, EveryDefaultHasItsKeyKindAndValue) {
    enum class Kind { Bool, Float, Colour };
    struct Default {
        const char* key;
        Kind kind;
        bool flag = false;
        float number = 0;
        int rgba[4] = {}; // 8-bit intensities, each stored as k / 255
    };
    const Default table[] = {
        {"Canvas.Separator.Size", Kind::Float, false, 3},
        {"Canvas.Separator.Color", Kind::Colour, false, 0, {0, 0, 0, 64}},
        {"Visualizer.General.Associations", Kind::Bool, true},
        {"Visualizer.General.Generalizations", Kind::Bool, true},
        {"Visualizer.General.Dependencies", Kind::Bool, true},
        {"Visualizer.General.Abstractions", Kind::Bool, true},
        {"Visualizer.General.Messages", Kind::Bool, true},
        {"Visualizer.General.Transitions", Kind::Bool, true},
        {"Visualizer.General.Comments", Kind::Bool, false},
        {"Visualizer.General.Methods", Kind::Bool, true},
        {"Visualizer.General.Attributes", Kind::Bool, true},
        {"Visualizer.General.RelationNames", Kind::Bool, false},
        {"Visualizer.General.ElementNames", Kind::Bool, true},
        {"Visualizer.General.Shadows", Kind::Bool, true},
        {"Visualizer.General.SelectColor", Kind::Colour, false, 0, {0, 51, 204, 76}},
        {"Visualizer.General.RelationWidth", Kind::Float, false, 12},
        {"Visualizer.General.Stereo.EyeSeperation", Kind::Float, false, 1.5f},
        {"Visualizer.General.Stereo.FocusDistance", Kind::Float, false, 100},
        {"Visualizer.General.Legend.FillColor", Kind::Colour, false, 0, {255, 255, 221, 221}},
        {"Visualizer.General.Legend.OutlineColor", Kind::Colour, false, 0, {0, 0, 0, 221}},
        {"Visualizer.General.Legend.FontColor", Kind::Colour, false, 0, {0, 0, 0, 221}},
        {"Visualizer.General.Legend.FontSize", Kind::Float, false, 10},
        {"Visualizer.General.Legend.Spacing", Kind::Float, false, 3},
        {"Visualizer.General.Legend.Transparency", Kind::Float, false, 0.7f},
        {"Visualizer.General.Legend.Enable", Kind::Bool, false},
        {"Visualizer.UMLModel.ShadowSize", Kind::Float, false, 3},
        {"Visualizer.UMLModel.TextSpacing", Kind::Float, false, 3},
        {"Visualizer.UMLModel.CommentNoteFraction", Kind::Float, false, 3},
        {"Visualizer.UMLModel.ArrowSize", Kind::Float, false, 25},
        {"Visualizer.UMLModel.ArrowAngle", Kind::Float, false, 0.27f},
        {"Visualizer.UMLModel.MultiplicityDistance", Kind::Float, false, 16},
        {"Visualizer.UMLModel.MessageSize", Kind::Float, false, 16},
        {"Visualizer.UMLModel.StateRounding", Kind::Float, false, 6},
        {"Visualizer.UMLModel.ShadowColor", Kind::Colour, false, 0, {153, 153, 153, 153}},
        {"Visualizer.SimpleMetrics.Spacing", Kind::Float, false, 0.025f},
        {"HoverInfo.Spacing", Kind::Float, false, 5},
        {"HoverInfo.FontSize", Kind::Float, false, 8},
        {"HoverInfo.Int.FillColor", Kind::Colour, false, 0, {255, 221, 221, 221}},
        {"HoverInfo.Int.OutlineColor", Kind::Colour, false, 0, {0, 0, 0, 221}},
        {"HoverInfo.Bool.FillColor", Kind::Colour, false, 0, {221, 221, 255, 221}},
        {"HoverInfo.Bool.OutlineColor", Kind::Colour, false, 0, {0, 0, 0, 221}},
        {"HoverInfo.ModelElement.FillColor", Kind::Colour, false, 0, {221, 255, 221, 221}},
        {"HoverInfo.ModelElement.OutlineColor", Kind::Colour, false, 0, {0, 0, 0, 221}},
    };
    ASSERT_EQ(std::size(table), 43u);
    Configuration c;
    setDefaultConfiguration(c);
    EXPECT_EQ(c.bools().size() + c.floats().size() + c.colors().size() + c.colormaps().size(),
              std::size(table))
        << "no entries beyond the table";
    for (const Default& d : table) {
        SCOPED_TRACE(d.key);
        // Each key is in its own kind only.
        EXPECT_EQ(c.bools().count(d.key), d.kind == Kind::Bool ? 1u : 0u);
        EXPECT_EQ(c.floats().count(d.key), d.kind == Kind::Float ? 1u : 0u);
        EXPECT_EQ(c.colors().count(d.key), d.kind == Kind::Colour ? 1u : 0u);
        switch (d.kind) {
        case Kind::Bool:
            EXPECT_EQ(c.bools().at(d.key), d.flag);
            break;
        case Kind::Float:
            EXPECT_EQ(c.floats().at(d.key), d.number);
            break;
        case Kind::Colour: {
            auto channel = [](int k) { return static_cast<float>(k) / 255.0f; };
            EXPECT_EQ(c.colors().at(d.key), Color(channel(d.rgba[0]), channel(d.rgba[1]),
                                                  channel(d.rgba[2]), channel(d.rgba[3])));
            break;
        }
        }
    }
}

TEST(Configuration, GlobalStoreHoldsDefaultsFromStart) {
    EXPECT_EQ(globalConfiguration.getFloat("Canvas.Separator.Size"), 3.0f);
    EXPECT_EQ(globalConfiguration.getColor("Canvas.Separator.Color").a, 64.0f / 255.0f);
    EXPECT_EQ(globalConfiguration.getFloat("Visualizer.General.Stereo.FocusDistance"), 100.0f);
}

TEST(Colormap, NeverEmpty) {
    EXPECT_EQ(Colormap(std::vector<Color>{}).size(), 1u);
    EXPECT_EQ(Colormap(std::vector<Color>{})[0], Color(0, 0, 0, 1));
    Colormap copy = Colormap(std::vector<Color>{});
    EXPECT_EQ(copy.size(), 1u);
}

TEST(Colormap, LookupOnOneEntryIsThatEntry) {
    Colormap map{Color(0.2f, 0.4f, 0.6f, 0.8f)};
    for (float t : {-1.0f, 0.0f, 0.3f, 1.0f, 7.0f})
        EXPECT_EQ(map.lookup(t), Color(0.2f, 0.4f, 0.6f, 0.8f)) << t;
}

TEST(Colormap, LookupInterpolatesAllComponentsAndClamps) {
    const float a = 160.0f / 255.0f;
    Colormap glyphDefault{Color(0, 0, 0, a), Color(1, 1, 1, a)};
    Color mid = glyphDefault.lookup(0.5f);
    EXPECT_FLOAT_EQ(mid.r, 0.5f);
    EXPECT_FLOAT_EQ(mid.g, 0.5f);
    EXPECT_FLOAT_EQ(mid.b, 0.5f);
    EXPECT_FLOAT_EQ(mid.a, a);
    EXPECT_EQ(glyphDefault.lookup(-3.0f), Color(0, 0, 0, a));
    EXPECT_EQ(glyphDefault.lookup(2.0f), Color(1, 1, 1, a));
    EXPECT_EQ(glyphDefault.lookup(std::numeric_limits<float>::quiet_NaN()), Color(0, 0, 0, a));

    Colormap three{Color(1, 0, 0, 0), Color(0, 1, 0, 1), Color(0, 0, 1, 0)};
    Color c = three.lookup(0.75f);
    EXPECT_FLOAT_EQ(c.r, 0.0f);
    EXPECT_FLOAT_EQ(c.g, 0.5f);
    EXPECT_FLOAT_EQ(c.b, 0.5f);
    EXPECT_FLOAT_EQ(c.a, 0.5f);
    Color q = three.lookup(0.25f);
    EXPECT_FLOAT_EQ(q.r, 0.5f);
    EXPECT_FLOAT_EQ(q.a, 0.5f);
    EXPECT_EQ(three.lookup(0.5f), Color(0, 1, 0, 1));
    EXPECT_EQ(three.lookup(1.0f), Color(0, 0, 1, 0));
}
