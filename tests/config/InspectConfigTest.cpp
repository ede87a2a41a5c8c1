#include <gtest/gtest.h>

#include "common/TestSupport.h"
#include "inspect/InspectConfig.h"

TEST(InspectConfig, MergesFileIntoDefaultsInKeyOrder) {
    TempFile file("settings.cfg",
                  "@ConfigurationKind\n@bool (1)\n<Visualizer.General.Comments><true>\n"
                  "@float (1)\n<A.Size><0.7>\n@color (0)\n@colormap (1)\n"
                  "<Heat><[1 0 0 1]+[0 0 1 0.5]>\n");
    std::string error;
    auto json = inspectConfigFile(file.path(), error);
    EXPECT_TRUE(error.empty());
    ASSERT_TRUE(json.is_object());
    std::vector<std::string> kinds;
    for (const auto& item : json.items())
        kinds.push_back(item.key());
    EXPECT_EQ(kinds, (std::vector<std::string>{"bool", "float", "color", "colormap"}));

    EXPECT_EQ(json["bool"].size(), 13u);
    EXPECT_EQ(json["bool"]["Visualizer.General.Comments"], true);
    EXPECT_EQ(json["bool"].begin().key(), "Visualizer.General.Abstractions");
    EXPECT_EQ(json["float"].size(), 19u);
    EXPECT_EQ(json["float"].begin().key(), "A.Size");
    EXPECT_EQ(json["float"]["A.Size"].get<double>(), 0.7);
    EXPECT_EQ(json["float"]["Visualizer.UMLModel.ArrowAngle"].get<double>(), 0.27);
    EXPECT_EQ(json["color"]["Canvas.Separator.Color"].dump(), "[0.0,0.0,0.0,0.2509804]");
    EXPECT_EQ(json["colormap"]["Heat"].dump(), "[[1.0,0.0,0.0,1.0],[0.0,0.0,1.0,0.5]]");
}

TEST(InspectConfig, UnopenableFileGivesErrorAndNull) {
    std::string error;
    auto json = inspectConfigFile("/nonexistent/folder/settings.cfg", error);
    EXPECT_TRUE(json.is_null());
    EXPECT_FALSE(error.empty());
}
