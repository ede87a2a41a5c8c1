#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "common/FileNames.h"
#include "common/Log.h"
#include "common/Numbers.h"
#include "common/TestSupport.h"

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
