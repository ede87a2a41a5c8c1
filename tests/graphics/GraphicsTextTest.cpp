#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "common/DataFiles.h"
#include "common/Exception.h"
#include "graphics/FontFile.h"
#include "graphics/RenderFixture.h"

namespace {

const Color black(0, 0, 0, 1);

class TextTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        if (!Graphics::setFont("Arial")) {
            std::string file = findFontFile();
            ASSERT_FALSE(file.empty()) << "no font installed";
            Graphics::addFont("Arial", file, 18);
        }
        ASSERT_TRUE(Graphics::setFont("Arial"));
    }

    static float width(const std::string& text, float size) {
        float w = 0, h = 0;
        Graphics::textSize(text, size, w, h);
        return w;
    }
    static float height(const std::string& text, float size) {
        float w = 0, h = 0;
        Graphics::textSize(text, size, w, h);
        return h;
    }

    RgbaImage::Box inkOf(const std::function<void()>& draw) {
        context().clear();
        draw();
        RgbaImage::Box box;
        EXPECT_TRUE(read().darkBox(box));
        return box;
    }
};

TEST_F(TextTest, SizeScalesWithTheTextSizeAndFollowsTheGlyphs) {
    float w10 = width("Hello", 10);
    float h10 = height("Hello", 10);
    EXPECT_GT(w10, 0);
    EXPECT_GT(h10, 0);
    EXPECT_FLOAT_EQ(width("Hello", 20), 2 * w10);
    EXPECT_FLOAT_EQ(height("Hello", 20), 2 * h10);
    // Face size 18 at 0.08 units per font unit: a cap height of about 0.7 em.
    EXPECT_NEAR(height("H", 10), 0.7f * 18 * 0.08f * 10, 1.5f);
    // Only the glyphs of the string count.
    EXPECT_LT(height("ace", 10), height("Hg", 10));
    EXPECT_EQ(width("", 10), 0);

    Graphics::setTextScale(0.16f);
    EXPECT_FLOAT_EQ(width("Hello", 10), 2 * w10);
    Graphics::setTextScale(0.08f);
}

TEST_F(TextTest, FlagsPlaceTheText) {
    const float size = 30; // "H" about 30 pixels high
    const float h = height("HH", size);
    const float w = width("HH", size);

    auto plain = inkOf([] { Graphics::drawText("HH", Point(40, 100), 30, 0, black); });
    EXPECT_NEAR(plain.left, 40, 4); // left side bearing only
    EXPECT_NEAR(plain.bottom, 100, 1);
    EXPECT_NEAR(plain.top + 1 - plain.bottom, h, 2);
    EXPECT_NEAR(plain.right + 1 - plain.left, w, 3); // texture filtering blurs the edges

    auto centred = inkOf([] {
        Graphics::drawText("HH", Point(160, 120), 30,
                           Graphics::CenterHorizontal | Graphics::CenterVertical, black);
    });
    EXPECT_NEAR((centred.left + centred.right + 1) / 2.0, 160, 4);
    EXPECT_NEAR((centred.bottom + centred.top + 1) / 2.0, 120, 1.5);

    auto hanging =
        inkOf([] { Graphics::drawText("HH", Point(40, 200), 30, Graphics::AlignTop, black); });
    EXPECT_NEAR(hanging.top + 1, 200, 1);
    EXPECT_NEAR(hanging.left, 40, 4);
}

TEST_F(TextTest, AngleTurnsTheTextAndItsAlignment) {
    auto upright =
        inkOf([] { Graphics::drawText("HHHH", Point(160, 60), 1.5707963f, 20, 0, black); });
    EXPECT_GT(upright.top - upright.bottom, 2 * (upright.right - upright.left));
    EXPECT_GE(upright.bottom, 59);
    EXPECT_LE(upright.right, 161); // the baseline is on the left side of the turned text
}

TEST_F(TextTest, OpacityHalvesTextAlpha) {
    auto darkest = [this](float opacity, float alpha) {
        context().clear();
        Graphics::setOpacity(opacity);
        Graphics::drawText("HHH", Point(40, 80), 40, 0, Color(0, 0, 0, alpha));
        Graphics::setOpacity(1.0f);
        RgbaImage image = read();
        int best = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                best = std::min<int>(best, image.atGL(x, y).r);
        return best;
    };
    EXPECT_LE(darkest(1.0f, 1.0f), 2);
    EXPECT_NEAR(darkest(0.5f, 1.0f), 128, 2);
    EXPECT_NEAR(darkest(0.5f, 0.5f), 191, 2);
}

TEST_F(TextTest, WrappedTextBreaksAtMeasuredWordBoundaries) {
    const float size = 14;
    const float lineHeight = height("HH", size);
    const float twoWords = width("HH HH ", size);

    auto oneLine =
        inkOf([&] { Graphics::drawWrappedText("HH HH HH", Point(20, 200), 1000, size, 0, black); });
    EXPECT_NEAR(oneLine.top + 1 - oneLine.bottom, lineHeight, 2);
    EXPECT_NEAR(oneLine.right + 1 - oneLine.left, width("HH HH HH", size), 2);

    // "HH HH " fits exactly, the third word goes to a second line one line height lower.
    auto twoLines = inkOf(
        [&] { Graphics::drawWrappedText("HH HH HH", Point(20, 200), twoWords, size, 0, black); });
    EXPECT_NEAR(twoLines.top + 1 - twoLines.bottom, 2 * lineHeight, 2);
    EXPECT_NEAR(twoLines.bottom, 200 - lineHeight, 1.5);
    EXPECT_LE(twoLines.right + 1 - twoLines.left, twoWords + 1);
    EXPECT_GE(twoLines.right + 1 - twoLines.left, width("HH HH", size) - 2);

    // Narrower than any word: one word per line, words unbroken.
    auto perWord =
        inkOf([&] { Graphics::drawWrappedText("HH HH HH", Point(20, 200), 1, size, 0, black); });
    EXPECT_NEAR(perWord.top + 1 - perWord.bottom, 3 * lineHeight, 2);
    EXPECT_NEAR(perWord.right + 1 - perWord.left, width("HH", size), 2);

    context().clear();
    Graphics::drawWrappedText("", Point(20, 200), 100, size, 0, black);
    EXPECT_EQ(read().countDark(250), 0);
}

TEST_F(TextTest, UnknownFontNameChangesNothing) {
    const float before = width("iiii", 10);
    EXPECT_FALSE(Graphics::setFont("No Such Font"));
    EXPECT_FLOAT_EQ(width("iiii", 10), before);

    const std::string mono = "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf";
    if (!fileIsReadable(mono))
        GTEST_SKIP() << "no second font to switch to";
    Graphics::addFont("Mono", mono, 18);
    EXPECT_TRUE(Graphics::setFont("Arial")); // adding a font does not take over
    EXPECT_FLOAT_EQ(width("iiii", 10), before);
    EXPECT_TRUE(Graphics::setFont("Mono"));
    EXPECT_GT(width("iiii", 10), before);
    EXPECT_TRUE(Graphics::setFont("Arial"));
}

TEST_F(TextTest, AddFontFailsWithTheFileName) {
    try {
        Graphics::addFont("Broken", "/nonexistent/arial.ttf", 18);
        FAIL() << "no exception";
    } catch (const GraphicsException& e) {
        EXPECT_EQ(e.getMessage(), "Could not construct font from /nonexistent/arial.ttf");
    }
    EXPECT_FALSE(Graphics::setFont("Broken"));
}

TEST_F(TextTest, RegisteringTheCurrentNameAgainSwitchesToTheNewFont) {
    const float before = width("Hello", 10);
    Graphics::addFont("Arial", findFontFile(), 36);
    EXPECT_NEAR(width("Hello", 10), 2 * before, 0.5f);
    Graphics::addFont("Arial", findFontFile(), 18);
    EXPECT_FLOAT_EQ(width("Hello", 10), before);
}

TEST(FontFile, ArialInTheWorkingDirectoryComesFirst) {
    if (fileIsReadable("arial.ttf"))
        GTEST_SKIP() << "an arial.ttf is already present";
    std::string system = findFontFile();
    ASSERT_FALSE(system.empty());
    EXPECT_TRUE(fileIsReadable(system));
    {
        std::ifstream in(system, std::ios::binary);
        std::ofstream out("arial.ttf", std::ios::binary);
        out << in.rdbuf();
    }
    EXPECT_EQ(findFontFile(), "arial.ttf");
    std::filesystem::remove("arial.ttf");
    EXPECT_EQ(findFontFile(), system);
}

TEST(FontFile, NothingFoundGivesAnEmptyName) {
    if (!findDataFile("arial.ttf").empty())
        GTEST_SKIP() << "an arial.ttf is installed";
    EXPECT_EQ(findFontFile({"/nonexistent/a.ttf"}, false), "");
    EXPECT_EQ(findFontFile({"/nonexistent/a.ttf", findFontFile()}, false), findFontFile());
}

TEST(FontFile, FontconfigFindsLiberationSansWithoutAnyProgramOnThePath) {
    if (!findDataFile("arial.ttf").empty())
        GTEST_SKIP() << "an arial.ttf is installed";
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", "", 1);
    const std::string found = findFontFile({}, true);
    setenv("PATH", saved.c_str(), 1);
    EXPECT_TRUE(fileIsReadable(found)) << found;
    EXPECT_NE(found.find("LiberationSans"), std::string::npos) << found;
}

} // namespace
