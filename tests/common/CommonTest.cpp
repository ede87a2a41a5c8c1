#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <utility>
#include <vector>

#include "common/FileNames.h"
#include "common/Log.h"
#include "common/Numbers.h"
#include "common/TestSupport.h"
#include "common/TextLines.h"

TEST(MetricsFileName, ReplacesAnXmlOrXmiExtensionInAnyCase) {
    EXPECT_EQ(metricsFileNameFor("model.xml"), "model.txt");
    EXPECT_EQ(metricsFileNameFor("dir.xmi/model.XmI"), "dir.xmi/model.txt");
    EXPECT_EQ(metricsFileNameFor("design.XMI"), "design.txt");
    EXPECT_EQ(metricsFileNameFor("model.xmix"), "model.xmix");
    EXPECT_EQ(metricsFileNameFor("model.uml"), "model.uml");
}

TEST(Numbers, IntegersBehaveLikeTheCLibraryButSaturate) {
    EXPECT_EQ(parseCInt("  42abc"), 42);
    EXPECT_EQ(parseCInt("-17"), -17);
    EXPECT_EQ(parseCInt("+5"), 5);
    EXPECT_EQ(parseCInt("abc"), 0);
    EXPECT_EQ(parseCInt(""), 0);
    EXPECT_EQ(parseCInt("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parseCInt("-99999999999"), std::numeric_limits<std::int32_t>::min());

    // The scan also tells where the number ended and whether it was clamped.
    struct Case {
        const char* text;
        std::int32_t value;
        std::size_t consumed;
        bool found, saturated;
    };
    const Case cases[] = {
        {" -12x", -12, 4, true, false},
        {"2147483647", 2147483647, 10, true, false},
        {"2147483648", 2147483647, 10, true, true},
        {"-2147483648", INT32_MIN, 11, true, false},
        {"-2147483649", INT32_MIN, 11, true, true},
        {"+", 0, 0, false, false},
        // Up to nine plain digits are read by a shorter path; the rest by the full scan.
        {"0", 0, 1, true, false},
        {"000000007", 7, 9, true, false},
        {"999999999", 999999999, 9, true, false},
        {"1234567890", 1234567890, 10, true, false},
        {"12a", 12, 2, true, false},
        {"", 0, 0, false, false},
    };
    for (const Case& c : cases) {
        const CIntScan scan = scanCInt(c.text);
        EXPECT_EQ(scan.value, c.value) << c.text;
        EXPECT_EQ(scan.consumed, c.consumed) << c.text;
        EXPECT_EQ(scan.found, c.found) << c.text;
        EXPECT_EQ(scan.saturated, c.saturated) << c.text;
    }
}

TEST(Numbers, FiniteFloatsOnly) {
    const std::pair<const char*, float> cases[] = {
        {" 2.5", 2.5f}, {"-3e38", -3e38f},   {"1e39", 0.0f}, {"-1e39", 0.0f},
        {"inf", 0.0f},  {"-infinity", 0.0f}, {"nan", 0.0f},  {"x", 0.0f},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseFiniteFloat(text), expected) << text;
}

TEST(TextLines, CarriageReturnGoesOnlyBeforeALineFeed) {
    std::istringstream in("a\r\n\r\nb\r\r\nc \n\nlast\r");
    std::vector<std::string> lines;
    std::string line;
    while (readTextLine(in, line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "b\r", "c ", "", "last\r"}));
    EXPECT_FALSE(readTextLine(in, line));
    EXPECT_EQ(line, "");
}

TEST(MetricsFileName, CompanionFileMustBeAReadableFile) {
    TempFile model("design.XMI");
    const std::string beside = model.folder() + "/design.txt";
    EXPECT_EQ(companionMetricsFile(model.path()), "");
    std::filesystem::create_directory(beside);
    EXPECT_EQ(companionMetricsFile(model.path()), "") << "a folder is no metrics file";
    std::filesystem::remove(beside);
    std::ofstream(beside) << "[X]\n";
    EXPECT_EQ(companionMetricsFile(model.path()), beside);
    TempFile other("design.txt");
    EXPECT_EQ(companionMetricsFile(other.path()), "") << "the model's own name does not count";
}

TEST(Numbers, RealsIgnoreTheProcessLocale) {
    // A comma-decimal locale must not change how files are read.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_DOUBLE_EQ(parseCDouble(" 1.5,"), 1.5);
    EXPECT_DOUBLE_EQ(parseCDouble("-2.5e2"), -250.0);
    EXPECT_DOUBLE_EQ(parseCDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(parseCDouble("x"), 0.0);
    EXPECT_DOUBLE_EQ(parseCDouble("--1"), 0.0);
    EXPECT_TRUE(std::isinf(parseCDouble("1e999")));
    EXPECT_EQ(parseCDouble("1e-999"), 0.0);
    EXPECT_EQ(static_cast<float>(parseCDouble("1.1")), 1.1f);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!german)
        GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; checked in the C locale only";
}

TEST(Log, CaptureCollectsLinesAndRestoresTheFile) {
    TempFile file("log.txt");
    ASSERT_TRUE(processLog().open(file.path()));
    logLine("before");
    {
        LogCapture capture;
        logLine("captured one");
        logLine("captured two");
        EXPECT_EQ(capture.lines(), (std::vector<std::string>{"captured one", "captured two"}));
    }
    logLine("after");
    processLog().close();
    EXPECT_EQ(readWholeFile(file.path()), "before\nafter\n");
}
