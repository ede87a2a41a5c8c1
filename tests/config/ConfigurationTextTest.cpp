#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "config/Configuration.h"
#include "config/ConfigurationText.h"

namespace {

std::string written(const Configuration& c) {
    std::ostringstream out;
    c.writeText(out);
    return out.str();
}

Configuration readFrom(const std::string& text) {
    Configuration c;
    std::istringstream in(text);
    c.readText(in);
    return c;
}

std::string rest(std::istream& in) {
    std::string line;
    std::getline(in, line);
    return line;
}

void expectColorNear(const Color& actual, const Color& expected) {
    EXPECT_NEAR(actual.r, expected.r, 5e-7);
    EXPECT_NEAR(actual.g, expected.g, 5e-7);
    EXPECT_NEAR(actual.b, expected.b, 5e-7);
    EXPECT_NEAR(actual.a, expected.a, 5e-7);
}

} // namespace

TEST(ConfigurationText, SmallBlockIsWrittenExactly) {
    Configuration c;
    c.setBool("Visualizer.General.Shadows", true);
    c.setBool("Visualizer.General.Comments", false);
    c.setFloat("Canvas.Separator.Size", 3.0f);
    c.setColor("Canvas.Separator.Color", Color(0, 0, 0, 64.0f / 255.0f));
    EXPECT_EQ(written(c), "@ConfigurationKind\n"
                          "@bool (2)\n"
                          "<Visualizer.General.Comments><false>\n"
                          "<Visualizer.General.Shadows><true>\n"
                          "@float (1)\n"
                          "<Canvas.Separator.Size><3>\n"
                          "@color (1)\n"
                          "<Canvas.Separator.Color><[0.000000 0.000000 0.000000 0.250980]>\n"
                          "@colormap (0)\n");
}

TEST(ConfigurationText, FloatsUseSixSignificantDigits) {
    EXPECT_EQ(formatFloat(0.27f), "0.27");
    EXPECT_EQ(formatFloat(0.025f), "0.025");
    EXPECT_EQ(formatFloat(100.0f), "100");
    EXPECT_EQ(formatFloat(1234567.0f), "1.23457e+06");
    EXPECT_EQ(formatFloat(-1.5e-7f), "-1.5e-07");
    EXPECT_EQ(formatColormap(Colormap{Color(1, 0, 0, 1), Color(0, 0, 1, 1)}),
              "[1.000000 0.000000 0.000000 1.000000]+[0.000000 0.000000 1.000000 1.000000]");
}

TEST(ConfigurationText, DefaultStoreHasEverySection) {
    Configuration c;
    setDefaultConfiguration(c);
    const std::string text = written(c);
    EXPECT_NE(text.find("@bool (13)\n<Visualizer.General.Abstractions><true>\n"),
              std::string::npos);
    EXPECT_NE(text.find("@float (18)\n<Canvas.Separator.Size><3>\n<HoverInfo.FontSize><8>\n"),
              std::string::npos);
    EXPECT_NE(text.find("<Visualizer.UMLModel.ArrowAngle><0.27>\n"), std::string::npos);
    EXPECT_NE(text.find("<Visualizer.General.SelectColor><[0.000000 0.200000 0.800000 0.298039]>"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 14), "@colormap (0)\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 1 + 13 + 1 + 18 + 1 + 12 + 1);
}

TEST(ConfigurationText, RoundTripOfAllKinds) {
    Configuration c;
    setDefaultConfiguration(c);
    c.setBool("a><b", true);
    c.setFloat("Big", 1234567.0f);
    c.setFloat("Small", -2.5e-7f);
    c.setFloat("Zero", 0.0f);
    c.setColor("odd key with spaces", Color(0.1f, 0.25f, 2.0f, -1.0f));
    c.setColormap("Heat", Colormap{Color(0, 0, 0, 0.5f), Color(1, 0.5f, 0, 1), Color(1, 1, 1, 1)});
    c.setColormap("One", Colormap{});

    const std::string text = written(c);
    Configuration back = readFrom(text);
    EXPECT_EQ(back.bools(), c.bools());
    ASSERT_EQ(back.floats().size(), c.floats().size());
    for (const auto& [key, value] : c.floats())
        EXPECT_NEAR(back.floats().at(key), value, std::fabs(value) * 5e-6f) << key;
    EXPECT_EQ(back.getFloat("Big"), 1234570.0f);
    EXPECT_EQ(back.getFloat("Visualizer.UMLModel.ArrowAngle"), 0.27f);
    ASSERT_EQ(back.colors().size(), c.colors().size());
    for (const auto& [key, value] : c.colors())
        expectColorNear(back.colors().at(key), value);
    ASSERT_EQ(back.colormaps().size(), 2u);
    ASSERT_EQ(back.getColormap("Heat").size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        expectColorNear(back.getColormap("Heat")[i], c.getColormap("Heat")[i]);
    EXPECT_EQ(back.getColormap("One").size(), 1u);
    // The text is a fixed point: what was read writes the same text again.
    EXPECT_EQ(written(back), text);
}

TEST(ConfigurationText, ReadingMergesAndLeavesStreamAfterBlock) {
    Configuration c;
    c.setBool("Keep", true);
    c.setBool("Change", true);
    std::istringstream in(
        "@ConfigurationKind\n@bool (1)\n<Change><false>\n@float (0)\n"
        "@color (0)\n@colormap (0)\n@ConfigurationKind\n@bool (1)\n<Second><true>\n"
        "@float (0)\n@color (0)\n@colormap (0)\nafter\n");
    c.readText(in);
    EXPECT_TRUE(c.getBool("Keep"));
    EXPECT_FALSE(c.getBool("Change"));
    EXPECT_EQ(c.bools().count("Second"), 0u);
    Configuration second;
    second.readText(in);
    EXPECT_TRUE(second.getBool("Second"));
    EXPECT_EQ(rest(in), "after");
}

TEST(ConfigurationText, MiscasedFirstLineConsumesOnlyThatLine) {
    std::istringstream in("@configurationKind\n@bool (1)\n<A><true>\n");
    Configuration c;
    c.readText(in);
    EXPECT_TRUE(c.bools().empty());
    EXPECT_EQ(rest(in), "@bool (1)");
}

TEST(ConfigurationText, EntryLinesAreConsumedByCount) {
    std::istringstream in("@ConfigurationKind\n"
                          "@bool (3)\n<A><TRUE>\ngarbage\n<B><true>\n"
                          "@float (3)\n<F><.5>\n<E><1e+006>\n<N><1.5.5>\n"
                          "@color (1)\n<C>[1 0 0 1]\n"
                          "@colormap (1)\n<M><[0 1 0 1]>\n"
                          "next\n");
    Configuration c;
    c.readText(in);
    EXPECT_EQ(c.bools().size(), 1u);
    EXPECT_TRUE(c.getBool("B"));
    EXPECT_EQ(c.getFloat("F"), 0.5f);
    EXPECT_EQ(c.getFloat("E"), 1e6f);
    EXPECT_EQ(c.floats().size(), 2u);
    EXPECT_TRUE(c.colors().empty());
    EXPECT_EQ(c.getColormap("M")[0], Color(0, 1, 0, 1));
    EXPECT_EQ(rest(in), "next");
}

TEST(ConfigurationText, UnmatchedCountHeaderSkipsItsKind) {
    // "@bool 1" is consumed; its entry line is then tested as the float header and fails too.
    std::istringstream in("@ConfigurationKind\n@bool 1\n<A><true>\n@color (1)\n<C><[1 0 0 1]>\n"
                          "@colormap (0)\n");
    Configuration c;
    c.readText(in);
    EXPECT_TRUE(c.bools().empty());
    EXPECT_TRUE(c.floats().empty());
    EXPECT_EQ(c.getColor("C"), Color(1, 0, 0, 1));
}

TEST(ConfigurationText, KeyIsGreedy) {
    Configuration c = readFrom("@ConfigurationKind\n@bool (1)\n<a><b><true>\n@float (1)\n"
                               "<k><1><2>\n@color (0)\n@colormap (0)\n");
    EXPECT_TRUE(c.getBool("a><b"));
    EXPECT_EQ(c.getFloat("k><1"), 2.0f);
}

TEST(ConfigurationText, HugeCountStopsAtEndOfStream) {
    for (const char* count : {"99999999999", "99999999999999999999999999999"}) {
        std::istringstream in(std::string("@ConfigurationKind\n@bool (") + count +
                              ")\n<A><true>\n<B><false>\n");
        Configuration c;
        c.readText(in);
        EXPECT_TRUE(c.getBool("A"));
        EXPECT_EQ(c.bools().size(), 2u);
        EXPECT_TRUE(in.eof());
    }
}

TEST(ConfigurationText, CarriageReturnsBeforeLineFeedsAreDropped) {
    Configuration c = readFrom("@ConfigurationKind\r\n@bool (1)\r\n<A><true>\r\n@float (0)\r\n"
                               "@color (1)\r\n<C><[0 0 1 1]>\r\n@colormap (0)\r\n");
    EXPECT_TRUE(c.getBool("A"));
    EXPECT_EQ(c.getColor("C"), Color(0, 0, 1, 1));
}

TEST(ConfigurationText, NonFiniteFloatsRoundTripOrAreRejected) {
    const float inf = std::numeric_limits<float>::infinity();
    Configuration c;
    c.setFloat("Inf", inf);
    c.setFloat("MinusInf", -inf);
    c.setFloat("NaN", std::numeric_limits<float>::quiet_NaN());
    c.setColor("C", Color(inf, 0, 0, 1));
    const std::string text = written(c);
    EXPECT_NE(text.find("<Inf><1e+39>\n"), std::string::npos);
    EXPECT_NE(text.find("<NaN><nan>\n"), std::string::npos);

    Configuration back;
    back.setFloat("NaN", 5.0f);
    std::istringstream in(text);
    back.readText(in);
    EXPECT_EQ(back.getFloat("Inf"), inf);
    EXPECT_EQ(back.getFloat("MinusInf"), -inf);
    EXPECT_EQ(back.getFloat("NaN"), 5.0f); // rejected, the entry keeps its value
    EXPECT_EQ(back.getColor("C").r, inf);

    // Magnitudes beyond the float range saturate to infinities, and underflow gives 0.
    Configuration edge = readFrom("@ConfigurationKind\n@bool (0)\n@float (2)\n<Huge><-4e+300>\n"
                                  "<Tiny><1e-400>\n@color (0)\n@colormap (0)\n");
    EXPECT_EQ(edge.getFloat("Huge"), -inf);
    EXPECT_EQ(edge.getFloat("Tiny"), 0.0f);
}

TEST(ConfigurationText, ColorParsing) {
    EXPECT_EQ(parseColor("[1 0.5 0.25 0]"), Color(1, 0.5f, 0.25f, 0));
    EXPECT_EQ(parseColor("[x 1 1 1]"), Color(0, 1, 1, 1));
    EXPECT_EQ(parseColor("[1 1 1]"), Color(0, 0, 0, 1));
    EXPECT_EQ(parseColor("1 1 1 1"), Color(0, 0, 0, 1));
    EXPECT_EQ(parseColor("[   ]"), Color(0, 0, 0, 0));
    EXPECT_EQ(parseColor(""), Color(0, 0, 0, 1));

    Colormap two = parseColormap("[1 0 0 1]+[0 0 1 1]");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], Color(1, 0, 0, 1));
    EXPECT_EQ(two[1], Color(0, 0, 1, 1));
    Colormap plus = parseColormap("+");
    ASSERT_EQ(plus.size(), 1u);
    EXPECT_EQ(plus[0], Color(0, 0, 0, 1));
    Colormap padded = parseColormap("++[0 1 0 1]+");
    ASSERT_EQ(padded.size(), 1u);
    EXPECT_EQ(padded[0], Color(0, 1, 0, 1));
    EXPECT_EQ(parseColormap("junk+[0 1 0 1]").size(), 2u);
}

namespace {

// A comma decimal separator with point grouping, as in German.
class CommaDecimal : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class GlobalLocaleGuard {
public:
    GlobalLocaleGuard() : cpp_(std::locale()), c_(std::setlocale(LC_ALL, nullptr)) {}
    ~GlobalLocaleGuard() {
        std::locale::global(cpp_);
        std::setlocale(LC_ALL, c_.c_str());
    }

private:
    std::locale cpp_;
    std::string c_;
};

Configuration sample() {
    Configuration c;
    setDefaultConfiguration(c);
    c.setFloat("Thousands", 12345.5f);
    c.setColormap("Map", Colormap{Color(0.5f, 0, 0, 1), Color(0, 0.25f, 1, 1)});
    return c;
}

void expectLocaleIndependent(const std::string& classicText) {
    Configuration c = sample();
    EXPECT_EQ(written(c), classicText);
    Configuration back = readFrom(classicText);
    EXPECT_EQ(back.getFloat("Visualizer.UMLModel.ArrowAngle"), 0.27f);
    EXPECT_EQ(back.getFloat("Thousands"), 12345.5f);
    EXPECT_EQ(back.getColormap("Map")[1], Color(0, 0.25f, 1, 1));
    EXPECT_EQ(written(back), classicText);
}

} // namespace

TEST(ConfigurationText, IndependentOfCommaDecimalStreamLocale) {
    const std::string classicText = written(sample());
    EXPECT_NE(classicText.find("<Thousands><12345.5>"), std::string::npos);
    GlobalLocaleGuard guard;
    std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    expectLocaleIndependent(classicText);
}

TEST(ConfigurationText, IndependentOfCommaDecimalSystemLocale) {
    const std::string classicText = written(sample());
    GlobalLocaleGuard guard;
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found)
        GTEST_SKIP() << "no comma-decimal locale installed";
    std::locale::global(std::locale(found));
    expectLocaleIndependent(classicText);
}
