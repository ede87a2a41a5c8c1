// Hostile text for the line readers: the hand-written line shapes against the patterns
// they stand for, bounded lines, C-library number conversion and non-regular files.
#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <locale.h>
#include <sstream>
#include <stdlib.h>
#include <string_view>
#include <sys/stat.h>

#include "common/DataFiles.h"
#include "common/FileNames.h"
#include "common/LinePatterns.h"
#include "common/Numbers.h"
#include "common/TestSupport.h"
#include "common/TextLines.h"

namespace {

// Every string of up to `length` characters over the alphabet.
void forAllStrings(const std::string& alphabet, std::size_t length,
                   const std::function<void(const std::string&)>& check) {
    std::string text;
    std::function<void()> grow = [&] {
        check(text);
        if (text.size() == length)
            return;
        for (char c : alphabet) {
            text.push_back(c);
            grow();
            text.pop_back();
        }
    };
    grow();
}

// The pattern's verdict and groups, or nothing when it does not match the whole text.
std::vector<std::string> regexGroups(const std::string& text, const boost::regex& re,
                                     std::initializer_list<int> groups) {
    boost::smatch m;
    if (!boost::regex_match(text, m, re))
        return {"<no match>"};
    std::vector<std::string> out;
    for (int g : groups)
        out.push_back(m.str(g));
    return out;
}

// The matcher runs first; then its groups are read.
template <class Match, class... Parts>
std::vector<std::string> matcherGroups(Match match, const Parts&... parts) {
    if (!match())
        return {"<no match>"};
    return {std::string(parts)...};
}

// A guard that only catches a stall: a linear pass over these inputs takes milliseconds.
template <class Work> void withinStallGuard(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              10.0);
}

// A stream of `size` copies of one character, then the tail, produced as it is read (never
// held whole); counts what it delivered.
class GeneratedBuffer : public std::streambuf {
public:
    GeneratedBuffer(std::size_t size, char fill, std::string tail)
        : remaining_(size), fill_(fill), tail_(std::move(tail)) {
        block_.assign(1 << 16, fill_);
    }
    std::size_t delivered = 0;

protected:
    int_type underflow() override {
        if (remaining_ > 0) {
            const std::size_t n = std::min(remaining_, block_.size());
            remaining_ -= n;
            delivered += n;
            setg(block_.data(), block_.data(), block_.data() + n);
            return traits_type::to_int_type(block_[0]);
        }
        if (!tailDone_ && !tail_.empty()) {
            tailDone_ = true;
            delivered += tail_.size();
            setg(tail_.data(), tail_.data(), tail_.data() + tail_.size());
            return traits_type::to_int_type(tail_[0]);
        }
        return traits_type::eof();
    }

private:
    std::size_t remaining_;
    char fill_;
    std::string tail_;
    bool tailDone_ = false;
    std::string block_;
};

} // namespace

TEST(LinePatterns, GiveThePatternsGroupsOnEveryShortLine) {
    // The alphabet holds every character the shapes care about, and the carriage return
    // and NUL that a line may carry.
    const std::string entryAlphabet = std::string("<>a1.e-") + '\r' + '\0';
    const boost::regex boolEntry("^<(.+)><(true|false)>");
    const boost::regex floatEntry(R"(^<(.+)><([-+]?([0-9]*\.)?[0-9]+([eE][-+]?[0-9]+)?)>)");
    const boost::regex anyEntry("^<(.+)><(.*)>");
    const boost::regex color(R"(^\[(.*) (.*) (.*) (.*)\]$)");
    const boost::regex header(R"(^\[([A-Za-z \-]+)((?: %[A-Za-z]+)*)\]$)");
    const boost::regex section(R"(^\@float \(([0-9]+)\)$)");
    std::string_view a, b;
    std::array<std::string_view, 4> parts;
    std::size_t lines = 0;
    forAllStrings(entryAlphabet, 6, [&](const std::string& t) {
        ++lines;
        ASSERT_EQ(matcherGroups([&] { return matchFloatEntry(t, a, b); }, a, b),
                  regexGroups(t, floatEntry, {1, 2}))
            << t;
        ASSERT_EQ(matcherGroups([&] { return matchAnyEntry(t, a, b); }, a, b),
                  regexGroups(t, anyEntry, {1, 2}))
            << t;
    });
    forAllStrings("<>at", 8, [&](const std::string& t) {
        const std::string line = t + "rue>";
        ASSERT_EQ(matcherGroups([&] { return matchBoolEntry(line, a, b); }, a, b),
                  regexGroups(line, boolEntry, {1, 2}))
            << line;
        const std::string other = t + "false>";
        ASSERT_EQ(matcherGroups([&] { return matchBoolEntry(other, a, b); }, a, b),
                  regexGroups(other, boolEntry, {1, 2}))
            << other;
    });
    forAllStrings(std::string("[] x") + '\r', 7, [&](const std::string& t) {
        ASSERT_EQ(matcherGroups([&] { return matchColorText(t, parts); }, parts[0], parts[1],
                                parts[2], parts[3]),
                  regexGroups(t, color, {1, 2, 3, 4}))
            << t;
    });
    forAllStrings("[] %a-", 7, [&](const std::string& t) {
        ASSERT_EQ(matcherGroups([&] { return matchMetricHeader(t, a); }, a),
                  regexGroups(t, header, {1}))
            << t;
    });
    forAllStrings("@float ()1x", 5, [&](const std::string& t) {
        const std::string line = "@float" + t;
        ASSERT_EQ(matcherGroups([&] { return matchSectionHeader(line, "float", a); }, a),
                  regexGroups(line, section, {1}))
            << line;
    });
    EXPECT_GT(lines, 500'000u);
}

TEST(LinePatterns, LongHostileLinesTakeOnePass) {
    std::string_view a, b;
    std::array<std::string_view, 4> parts;
    withinStallGuard([&] {
        // Fifty colour texts of an opening bracket and 20,000 blanks: no closing bracket.
        const std::string blanks = "[" + std::string(20000, ' ');
        for (int i = 0; i < 50; ++i)
            ASSERT_FALSE(matchColorText(blanks, parts));
        const std::string closedBlanks = blanks + "]";
        ASSERT_TRUE(matchColorText(closedBlanks, parts));
        EXPECT_EQ(parts[0].size(), 19997u);
        // Entries made of nothing but "><" pairs, with and without a closing '>'.
        std::string pairs = "<";
        for (int i = 0; i < 200000; ++i)
            pairs += "><";
        ASSERT_FALSE(matchAnyEntry(pairs, a, b));
        ASSERT_FALSE(matchFloatEntry(pairs + "1", a, b));
        // The matched parts are views into the line, which must outlive them.
        const std::string closedPairs = pairs + ">";
        ASSERT_TRUE(matchAnyEntry(closedPairs, a, b));
        EXPECT_EQ(b, "");
        // A metric header with 200,000 options.
        std::string header = "[Number Of Methods";
        for (int i = 0; i < 200000; ++i)
            header += " %opt";
        const std::string closedHeader = header + "]";
        ASSERT_TRUE(matchMetricHeader(closedHeader, a));
        EXPECT_EQ(a, "Number Of Methods");
        ASSERT_FALSE(matchMetricHeader(header + " %]", a));
    });
}

TEST(TextLines, LinesReadAsGetlineGivesThemAcrossBufferBoundaries) {
    // Lengths around the reader's 64 KiB buffer, each with and without a line end.
    for (std::size_t length : {0u, 1u, 65534u, 65535u, 65536u, 65537u, 131070u, 131071u}) {
        for (const char* end : {"\n", "\r\n", "", "\r"}) {
            const std::string text = std::string(length, 'x') + end + "next\nlast";
            std::istringstream expected(text), actual(text);
            std::string want, got;
            for (int i = 0; i < 4; ++i) {
                SCOPED_TRACE(std::to_string(length) + " " + std::to_string(i));
                const bool wanted = static_cast<bool>(std::getline(expected, want));
                ASSERT_EQ(readBoundedLine(actual, got), wanted);
                ASSERT_EQ(got, wanted ? want : "");
                ASSERT_EQ(actual.eof(), expected.eof());
            }
        }
    }
}

TEST(TextLines, OverlongLineIsReadPastInOnePassWithoutBeingKept) {
    struct Case {
        std::size_t length;
        bool overlong;
    };
    for (const Case& c : {Case{maximumLineLength, false}, Case{maximumLineLength + 1, true},
                          Case{4 * maximumLineLength + 12345, true}}) {
        SCOPED_TRACE(c.length);
        GeneratedBuffer buffer(c.length, '7', "\nnext\n");
        std::istream in(&buffer);
        std::string line;
        ASSERT_TRUE(readTextLine(in, line));
        if (c.overlong) {
            EXPECT_EQ(line, overlongLine);
            EXPECT_LT(line.capacity(), std::size_t{1} << 16) << "the long line is not kept";
        } else {
            EXPECT_EQ(line.size(), c.length);
        }
        ASSERT_TRUE(readTextLine(in, line));
        EXPECT_EQ(line, "next");
        EXPECT_FALSE(readTextLine(in, line));
        EXPECT_EQ(buffer.delivered, c.length + 6) << "every character read once";
    }
}

TEST(TextLines, BufferedReaderGivesTheLinesOfReadTextLine) {
    std::vector<std::string> texts = {
        "", "\n", "a\r\n\r\nb\r\r\nc \n\nlast\r", "no end", "\r", "\r\n", "x\n\n\n"};
    // Lines around the reader's 64 KiB block, their ends on either side of a boundary.
    for (std::size_t length : {65534u, 65535u, 65536u, 65537u, 131071u})
        for (const char* end : {"\n", "\r\n", "", "\r"})
            texts.push_back(std::string(length, 'x') + end + "next\r\nlast");
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.size());
        std::istringstream expected(text), actual(text);
        TextLineReader reader(actual);
        std::string want, got;
        // Every other line as a view.
        for (bool asView = false;; asView = !asView) {
            const bool wanted = readTextLine(expected, want);
            std::string_view view;
            ASSERT_EQ(asView ? reader.next(view) : reader.next(got), wanted);
            ASSERT_EQ(asView ? std::string(view) : got, want);
            if (!wanted)
                break;
        }
    }
    // An overlong line is passed over in one read and not kept.
    GeneratedBuffer buffer(maximumLineLength + 1, '7', "\r\nnext\n");
    std::istream in(&buffer);
    TextLineReader reader(in);
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, overlongLine);
    EXPECT_LT(line.capacity(), std::size_t{1} << 16);
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "next");
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(buffer.delivered, maximumLineLength + 8);
}

TEST(Numbers, RealsConvertExactlyAsStrtodInTheCLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string tiny = "0." + std::string(400, '0') + "1";
    const std::string huge = "1" + std::string(400, '0') + "e-5";
    for (const std::string& text :
         {tiny, huge, std::string("0x10"), std::string("0x1p3"), std::string("0x2p0"),
          std::string(" -0x1.8p1,"), std::string("1e"), std::string("1e+"), std::string(".e1"),
          std::string("0x"), std::string("inf"), std::string("-Infinity"), std::string("nan(12)"),
          std::string("1,5"), std::string("\t+.5e-3x"), std::string("4.9e-325"),
          std::string(400, '9') + ".5", std::string("--1"), std::string("")}) {
        SCOPED_TRACE(text);
        char* end = nullptr;
        const double expected = strtod_l(text.c_str(), &end, c);
        double value = -1;
        std::size_t consumed = 99;
        const bool found = parseCDoublePrefix(text, value, consumed);
        EXPECT_EQ(found, end != text.c_str());
        EXPECT_EQ(consumed, found ? static_cast<std::size_t>(end - text.c_str()) : 0u);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(value));
        else
            EXPECT_EQ(value, expected);
    }
    EXPECT_EQ(parseCDouble(tiny), 0.0);
    EXPECT_TRUE(std::isinf(parseCDouble(huge)));
    EXPECT_EQ(parseCDouble("0x10"), 16.0);
    EXPECT_EQ(parseCDouble("0x1p3"), 8.0);
    freelocale(c);
    std::setlocale(LC_ALL, saved.c_str());
    if (!german)
        GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; checked in the C locale only";
}

TEST(DataFiles, OnlyRegularFilesOpen) {
    TempFile file("design.xmi", "<XMI/>");
    const std::string fifo = file.folder() + "/design.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ifstream in;
    EXPECT_TRUE(openForReading(in, file.path()));
    for (const std::string& path : {fifo, file.folder(), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        std::ifstream other;
        EXPECT_FALSE(openForReading(other, path));
        EXPECT_FALSE(fileIsReadable(path));
    }
    EXPECT_EQ(companionMetricsFile(file.path()), "") << "a FIFO beside the model is not opened";
    std::filesystem::remove(fifo);
}
