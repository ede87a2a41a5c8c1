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
