#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>

#include "common/Exception.h"
#include "metrics/MetricsTestModel.h"

namespace {

std::vector<std::string> names(const MetricCollection& c) {
    std::vector<std::string> result;
    for (const auto& entry : c.properties)
        result.push_back(entry.first);
    return result;
}

const IntMetric& intRecord(UMLModelElement& element, std::size_t i = 0) {
    return dynamic_cast<const IntMetric&>(*getElementMetrics(element).at(i));
}

const BoolMetric& boolRecord(UMLModelElement& element, std::size_t i = 0) {
    return dynamic_cast<const BoolMetric&>(*getElementMetrics(element).at(i));
}

} // namespace

class MetricsReaderTest : public ::testing::Test, public MetricsTestModel {};

TEST_F(MetricsReaderTest, CountBlockThenIntegerBlock) {
    auto& c = load("[Classes]\n12\n\n\n[NOM %int]\nA,3\nB,7\nC,5\n\n\n");
    ASSERT_EQ(c.globalMetrics.size(), 1u);
    EXPECT_EQ(c.globalMetrics[0]->name, "Classes");
    EXPECT_EQ(c.globalMetrics[0]->value, 12);
    EXPECT_EQ(names(c), (std::vector<std::string>{"NOM"}));
    ASSERT_EQ(c.elementMetrics.size(), 3u);
    for (const char* id : {"A", "B", "C"}) {
        EXPECT_EQ(intRecord(element(id)).min, 0) << id;
        EXPECT_EQ(intRecord(element(id)).max, 7) << id;
        EXPECT_EQ(intRecord(element(id)).name, "NOM");
    }
    EXPECT_EQ(intRecord(element("A")).value, 3);
    EXPECT_EQ(intRecord(element("B")).value, 7);
    EXPECT_EQ(c.elementMetrics[2], getElementMetrics(element("C"))[0]);
    auto& config = c.properties.at("NOM")->config();
    EXPECT_EQ(config.getFloat(".LowerThreshold"), -1.0f);
    EXPECT_EQ(config.getFloat(".UpperThreshold"), 8.0f);
    EXPECT_EQ(config.getFloat("Transparency"), 1.0f);
    EXPECT_EQ(config.getColor("OutlineColor"), Color(0, 0, 0, 1));
    EXPECT_EQ(c.properties.at("NOM")->viz, nullptr);
    EXPECT_EQ(c.ranges.at("NOM"), std::make_pair(0, 7));
    EXPECT_TRUE(c.isIntMetric("NOM"));
    EXPECT_TRUE(c.activeMetrics.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(MetricsReaderTest, BlocksNeedTwoSeparatingLines) {
    // After one empty line the next header is consumed unread and its first data line is
    // taken for a header; a count block consumes two lines whatever they hold.
    auto& c = load("\n\n[X]\nA,1\n\n[Y]\nB,2\n\n\n[Z]\nC,3\n\n\n[N]\n5\n[W]\nA,1\n\n\n"
                   "[E]\n\n\n[V]\nB,true\n\n\n");
    EXPECT_EQ(names(c), (std::vector<std::string>{"V", "X", "Z"}));
    ASSERT_EQ(c.globalMetrics.size(), 1u);
    EXPECT_EQ(c.globalMetrics[0]->value, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"Invalid metric header format encountered (B,2)"}));
}

TEST_F(MetricsReaderTest, HeaderNamesAndOptions) {
    auto& c =
        load("[Lines of code %int]\nA,1\n\n\n[Two  %a %Bc]\nA,1\n\n\n[Has-Hyphen]\nA,1\n\n\n"
             "[Metric2]\nA,1\n\n\n[Under_score]\nA,1\n\n\n [Lead]\nA,1\n\n\n[Opt %]\nA,1\n\n\n"
             "[Tail] \nA,1\n\n\n[]\nA,1\n\n\n");
    EXPECT_EQ(names(c), (std::vector<std::string>{"Has-Hyphen", "Lines of code", "Two "}));
    EXPECT_EQ(log,
              (std::vector<std::string>{"Invalid metric header format encountered ([Metric2])",
                                        "Invalid metric header format encountered ([Under_score])",
                                        "Invalid metric header format encountered ( [Lead])",
                                        "Invalid metric header format encountered ([Opt %])",
                                        "Invalid metric header format encountered ([Tail] )",
                                        "Invalid metric header format encountered ([])"}));
}

TEST_F(MetricsReaderTest, MaximumIncludesMissingFirstElement) {
    auto& c = load("[M]\nMissing,50\nA,9\nB,3\nD,70\n\n\n");
    ASSERT_EQ(c.elementMetrics.size(), 2u);
    EXPECT_EQ(intRecord(element("A")).max, 50);
    EXPECT_EQ(c.ranges.at("M"), std::make_pair(0, 50));
    EXPECT_EQ(c.properties.at("M")->config().getFloat(".UpperThreshold"), 51.0f);
}

TEST_F(MetricsReaderTest, BlockWithoutElementsHasPropertiesAndRangeButNoThresholds) {
    auto& c = load("[M]\nQ,4\nR,9\n\n\n");
    EXPECT_TRUE(c.elementMetrics.empty());
    ASSERT_EQ(c.properties.count("M"), 1u);
    EXPECT_EQ(c.properties.at("M")->config().floats().count(".LowerThreshold"), 0u);
    EXPECT_EQ(c.properties.at("M")->config().floats().count(".UpperThreshold"), 0u);
    EXPECT_EQ(c.ranges.at("M"), std::make_pair(0, 4));
    EXPECT_FALSE(c.isIntMetric("M"));
    EXPECT_FALSE(c.isBoolMetric("M"));
}

TEST_F(MetricsReaderTest, BooleanBlock) {
    auto& c = load("[Flag]\nA,true\nB,True\nC,false\nD,true\n\n\n");
    ASSERT_EQ(c.elementMetrics.size(), 3u);
    EXPECT_TRUE(boolRecord(element("A")).value);
    EXPECT_FALSE(boolRecord(element("B")).value);
    EXPECT_FALSE(boolRecord(element("C")).value);
    EXPECT_TRUE(c.isBoolMetric("Flag"));
    EXPECT_FALSE(c.isIntMetric("Flag"));
    EXPECT_EQ(c.ranges.count("Flag"), 0u);
    EXPECT_EQ(c.properties.at("Flag")->config().floats().count(".UpperThreshold"), 0u);
}

TEST_F(MetricsReaderTest, FieldsAndValueForms) {
    auto& c = load("[M]\nB,7,\nA,,B, 5\n,,C,,-2x,,\n,,,\n\n\n"
                   "[First]\nA,,B, 5\n\n\n[Lead]\n,A,5\n\n\n[Word]\nA,five\nB,1\n\n\n");
    EXPECT_EQ(intRecord(element("B")).value, 7);
    EXPECT_EQ(intRecord(element("A")).value, 5);
    EXPECT_EQ(intRecord(element("C")).value, -2);
    EXPECT_EQ(intRecord(element("C")).max, 7);
    EXPECT_EQ(names(c), (std::vector<std::string>{"First", "M", "Word"}));
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Invalid element metric value format encountered (A,,B, 5) at (First)",
                       "Invalid metric value format encountered (,A,5) at (Lead)",
                       "Invalid element metric value format encountered (A,five) at (Word)"}));
    EXPECT_EQ(c.elementMetrics.size(), 3u);
}

TEST_F(MetricsReaderTest, LineEndsAndEndOfFile) {
    auto& c = load("[X]\r\nA,1\r\nB,true\r\n\r\n\r\n[Y]\nC,4\nB,2");
    ASSERT_EQ(c.elementMetrics.size(), 4u);
    EXPECT_EQ(intRecord(element("B")).value, 0); // "true" through atoi
    EXPECT_EQ(intRecord(element("B"), 1).value, 2);
    EXPECT_EQ(c.ranges.at("Y"), std::make_pair(0, 4));

    auto& headerOnly = load("[X]\nA,1\n\n\n[Last]");
    EXPECT_EQ(names(headerOnly), (std::vector<std::string>{"X"}));
    auto& empty = load("");
    EXPECT_TRUE(empty.properties.empty());
}

TEST_F(MetricsReaderTest, ValuesBeyondThirtyTwoBitsSaturateAndAreLogged) {
    auto& c = load("[Big]\nA,99999999999\nB,5\nC,-99999999999\n\n\n[Count]\n4294967296\n\n\n");
    const auto maxInt = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(intRecord(element("A")).value, maxInt);
    EXPECT_EQ(intRecord(element("C")).value, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(intRecord(element("B")).max, maxInt);
    EXPECT_EQ(c.properties.at("Big")->config().getFloat(".UpperThreshold"), 2147483648.0f);
    EXPECT_EQ(c.globalMetrics.at(0)->value, maxInt);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Metric value out of range, saturated (A,99999999999) at (Big)",
                       "Metric value out of range, saturated (C,-99999999999) at (Big)",
                       "Metric value out of range, saturated (4294967296) at (Count)"}));
}

TEST_F(MetricsReaderTest, LaterBlockOfSameNameReplacesProperties) {
    const std::size_t start = nextPaletteIndex;
    auto& c = load("[M]\nA,1\n\n\n[M]\nB,true\n\n\n");
    ASSERT_EQ(c.properties.size(), 1u);
    EXPECT_EQ(c.properties.at("M")->config().getColor("FillColor"),
              metricPalette[(start + 1) % 16]);
    EXPECT_EQ(c.properties.at("M")->config().floats().count(".UpperThreshold"), 0u);
    EXPECT_TRUE(c.isIntMetric("M"));
    EXPECT_TRUE(c.isBoolMetric("M"));
}

TEST_F(MetricsReaderTest, PaletteContinuesAcrossLoads) {
    EXPECT_EQ(metricPalette[0], Color(117 / 255.0f, 144 / 255.0f, 174 / 255.0f, 1));
    EXPECT_EQ(metricPalette[13], metricPalette[14]);
    EXPECT_EQ(metricPalette[15], Color(128 / 255.0f, 125 / 255.0f, 116 / 255.0f, 1));
    nextPaletteIndex = 0; // as at program start
    std::string first, second;
    for (char n = 'a'; n < 'a' + 10; ++n)
        first += std::string("[") + n + "]\nA,1\n\n\n";
    for (char n = 'k'; n < 'k' + 7; ++n)
        second += std::string("[") + n + "]\nB,true\n\n\n";
    auto& c1 = load(first);
    EXPECT_EQ(c1.properties.at("a")->config().getColor("FillColor"), metricPalette[0]);
    EXPECT_EQ(c1.properties.at("d")->config().getColor("FillColor"), metricPalette[3]);
    auto& c2 = load(second);
    EXPECT_EQ(c2.properties.at("p")->config().getColor("FillColor"), metricPalette[15]);
    EXPECT_EQ(c2.properties.at("q")->config().getColor("FillColor"), metricPalette[0]);
    EXPECT_EQ(nextPaletteIndex, 17u);
}

TEST_F(MetricsReaderTest, SecondLoadAddsRecordsAndKeepsEarlierOnes) {
    load("[M]\nA,4\n\n\n");
    auto& second = load("[M]\nA,6\n\n\n[F]\nA,true\n\n\n");
    EXPECT_EQ(holder.size(), 2u);
    EXPECT_EQ(holder.current(), &second);
    auto records = getElementMetrics(element("A"));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]->name, "M"); // the earlier load's record is still alive
    EXPECT_EQ(dynamic_cast<IntMetric&>(*records[0]).value, 4);
    EXPECT_EQ(dynamic_cast<IntMetric&>(*records[1]).value, 6);
    EXPECT_EQ(second.elementMetrics.size(), 2u);
}

TEST_F(MetricsReaderTest, UnopenableFileThrowsAndCreatesNothing) {
    // A folder opens like a file on POSIX systems but cannot be read as one.
    TempFile inFolder("metrics.txt");
    for (const std::string& path :
         {std::string("/nonexistent/folder/metrics.txt"), inFolder.folder()}) {
        SCOPED_TRACE(path);
        MetricsReader reader;
        try {
            reader.read(path, model);
            FAIL() << "no exception";
        } catch (const MetricsParseException& e) {
            EXPECT_EQ(e.getMessage(), "Unable to open metrics file");
        }
        EXPECT_EQ(reader.collection, nullptr);
        EXPECT_THROW(loadMetricsFile(path, model), MetricsParseException);
    }
}

TEST_F(MetricsReaderTest, BlocksListingElementsInDifferentOrders) {
    load("[X]\nA,1\nB,2\nC,3\n\n\n[Y]\nC,4\nA,5\n,,,\nB,6\n\n\n[Z]\nA,7\nMissing,8\nC,9\nB,"
         "true\n\n\n"
         "[F]\nB,true\nA,false\n\n\n");
    auto values = [&](const char* id) {
        std::vector<std::string> out;
        for (ElementMetric* m : getElementMetrics(element(id))) {
            if (auto* i = dynamic_cast<IntMetric*>(m))
                out.push_back(m->name + std::to_string(i->value));
            else
                out.push_back(m->name + (dynamic_cast<BoolMetric*>(m)->value ? "t" : "f"));
        }
        return out;
    };
    EXPECT_EQ(values("A"), (std::vector<std::string>{"X1", "Y5", "Z7", "Ff"}));
    EXPECT_EQ(values("B"), (std::vector<std::string>{"X2", "Y6", "Z0", "Ft"}));
    EXPECT_EQ(values("C"), (std::vector<std::string>{"X3", "Y4", "Z9"}));
}

// A line is split expecting the id of the same line of the previous block: ids that begin
// one another, a lone id, and comma runs around it must still give each line its own id.
TEST_F(MetricsReaderTest, IdsThatBeginOneAnotherKeepTheirLines) {
    for (const char* id : {"AB", "ABC"}) {
        auto* e = model.create<UMLClass>();
        e->id = id;
        model.idRegistry.add(e);
    }
    load("[X]\nA,1\nAB,2\nABC,3\n\n\n"
         "[Y]\nAB,4\nA,5\nABC,,6,\n\n\n"
         "[Z]\nABC,7\n,,A,x,,8,,\nAB\n\n\n"
         "[W]\nABC,9\nA,10\nAB,x,11\n\n\n");
    const std::pair<const char*, std::vector<int>> expected[] = {
        {"A", {1, 5, 8, 10}}, {"AB", {2, 4, 0, 11}}, {"ABC", {3, 6, 7, 9}}};
    for (const auto& [id, values] : expected) {
        std::vector<int> read;
        for (ElementMetric* m : getElementMetrics(element(id)))
            read.push_back(dynamic_cast<IntMetric&>(*m).value);
        EXPECT_EQ(read, values) << id;
    }
}

// More records than one allocation holds; the second block lists the elements backwards
// and skips some, so that its lines never match the previous block's and every element is
// found anew; the third lists every other one.
// More blocks than an element's list first has room for; the blocks list the elements in
// turns of order, so that lines match the previous block's and then do not.
TEST_F(MetricsReaderTest, RecordsFromManyBlocksStayInBlockOrder) {
    std::string text;
    for (int k = 0; k < 12; ++k) {
        const std::string a = "A," + std::to_string(k) + "\n";
        const std::string b = "B," + std::to_string(100 + k) + "\n";
        text += "[M" + std::string(1, static_cast<char>('a' + k)) + " %int]\n" +
                (k % 3 == 2 ? b + a : a + b) + "\n\n";
    }
    load(text);
    for (const auto& [id, offset] : {std::pair{"A", 0}, std::pair{"B", 100}}) {
        const auto records = getElementMetrics(element(id));
        ASSERT_EQ(records.size(), 12u) << id;
        for (int k = 0; k < 12; ++k) {
            EXPECT_EQ(intRecord(element(id), k).name,
                      "M" + std::string(1, static_cast<char>('a' + k)))
                << id;
            EXPECT_EQ(intRecord(element(id), k).value, offset + k) << id;
        }
    }
}

TEST_F(MetricsReaderTest, ManyElementsInShiftedBlocksGetTheirOwnRecords) {
    const int count = 600;
    std::string loc = "[LOC %int]\n", nom = "[NOM %int]\n", flag = "[Flag]\n";
    for (int i = 0; i < count; ++i) {
        auto* e = model.create<UMLClass>();
        e->id = "e" + std::to_string(i);
        model.idRegistry.add(e);
        loc += e->id + "," + std::to_string(i) + "\n";
    }
    for (int i = count - 1; i >= 0; --i)
        if (i % 7 != 0)
            nom += std::string(i == count - 1 ? "" : ",,") + "e" + std::to_string(i) + ",,x,," +
                   std::to_string(2 * i) + ",\n";
    for (int i = 0; i < count; i += 2)
        flag += "e" + std::to_string(i) + (i % 4 ? ",true\n" : ",false\n");
    auto& c = load(loc + "\n\n" + nom + "\n\n" + flag + "\n\n");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(c.elementMetrics.size(), 600u + (600u - 86u) + 300u);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        UMLModelElement& e = element("e" + std::to_string(i));
        const auto records = getElementMetrics(e);
        ASSERT_EQ(records.size(), 1u + (i % 7 != 0) + (i % 2 == 0));
        EXPECT_EQ(intRecord(e, 0).value, i);
        EXPECT_EQ(intRecord(e, 0).max, count - 1);
        if (i % 7 != 0) {
            EXPECT_EQ(intRecord(e, 1).name, "NOM");
            EXPECT_EQ(intRecord(e, 1).value, 2 * i);
            EXPECT_EQ(intRecord(e, 1).max, 2 * (count - 1));
        }
        if (i % 2 == 0) {
            EXPECT_EQ(boolRecord(e, records.size() - 1).value, i % 4 != 0);
        }
    }
    // One name per block, shared by its records.
    EXPECT_EQ(&intRecord(element("e1")).name.str(), &intRecord(element("e599")).name.str());
}

TEST_F(MetricsReaderTest, LongBlocksKeepTheirLineOrder) {
    // Blocks longer than the reader's batches, with logged values, lines naming no element
    // and, in the second block, ids that differ from the first block's at the same line.
    const int count = 70;
    std::string first = "[A %int]\n", second = "[B %int]\n";
    std::vector<std::string> expectedLog;
    for (int i = 0; i < count; ++i) {
        const std::string id = "e" + std::to_string(i);
        auto* e = model.create<UMLClass>();
        e->id = id;
        model.idRegistry.add(e);
        const bool big = i % 31 == 0 || i == 33 || i == count - 1;
        const std::string line = id + "," + (big ? "99999999999" : std::to_string(i));
        first += (i == 40 ? ",,,\n" : "") + line + "\n";
        if (big && i != 0) // the first line's value is logged before the block's lines
            expectedLog.push_back("Metric value out of range, saturated (" + line + ") at (A)");
        if (i == 0)
            expectedLog.insert(expectedLog.begin(),
                               "Metric value out of range, saturated (" + line + ") at (A)");
        second += (i % 10 == 5 ? "e" + std::to_string(count - 1 - i)
                   : i == 50   ? "gone"
                               : id) +
                  "," + std::to_string(2 * i) + "\n";
    }
    auto& c = load(first + "\n\n" + second + "\n\n[C]\ne3,true\n\n\n");
    EXPECT_EQ(log, expectedLog);
    EXPECT_EQ(c.elementMetrics.size(), 2u * count - 1 + 1);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        UMLModelElement& e = element("e" + std::to_string(i));
        // Lines 5, 15, ... of the second block name e64, e54, ..., which also have a line
        // of their own; e5, e15, ... and e50 get no record there.
        std::vector<int> values;
        if (i % 10 == 4)
            values = {2 * std::min(i, count - 1 - i), 2 * std::max(i, count - 1 - i)};
        else if (i % 10 != 5 && i != 50)
            values = {2 * i};
        const auto records = getElementMetrics(e);
        ASSERT_EQ(records.size(), 1u + values.size() + (i == 3));
        const bool big = i % 31 == 0 || i == 33 || i == count - 1;
        EXPECT_EQ(intRecord(e, 0).value, big ? std::numeric_limits<std::int32_t>::max() : i);
        for (std::size_t k = 0; k < values.size(); ++k)
            EXPECT_EQ(intRecord(e, 1 + k).value, values[k]);
    }
    EXPECT_TRUE(boolRecord(element("e3"), 2).value);
}

TEST_F(MetricsReaderTest, PropertiesAreTheReadDefaultsUntilChanged) {
    auto& c = load("[M]\nA,7\n\n\n[Flag]\nA,true\n\n\n");
    MetricProperties& m = *c.properties.at("M");
    const Configuration looked = m.settings();
    EXPECT_EQ(looked.floats(),
              (Configuration::FloatMap{
                  {".LowerThreshold", -1.0f}, {".UpperThreshold", 8.0f}, {"Transparency", 1.0f}}));
    EXPECT_EQ(looked.colors().size(), 2u);
    EXPECT_EQ(looked.colors().at("OutlineColor"), Color(0, 0, 0, 1));
    EXPECT_EQ(c.properties.at("Flag")->settings().floats().size(), 1u);
    // Single settings are looked up without making the configuration, as it would hold them.
    for (const char* key : {".LowerThreshold", ".UpperThreshold", "Transparency", "Other"})
        EXPECT_EQ(m.findFloat(key), looked.floats().count(key)
                                        ? std::optional(looked.floats().at(key))
                                        : std::nullopt)
            << key;
    for (const char* key : {"FillColor", "OutlineColor", "Other"})
        EXPECT_EQ(m.findColor(key), looked.colors().count(key)
                                        ? std::optional(looked.colors().at(key))
                                        : std::nullopt)
            << key;
    // Once made, the configuration is what is looked at, and stays where it is.
    Configuration& made = m.config();
    EXPECT_EQ(made.floats(), looked.floats());
    made.setFloat("Transparency", 0.5f);
    EXPECT_EQ(m.settings().floats().at("Transparency"), 0.5f);
    EXPECT_EQ(m.findFloat("Transparency"), 0.5f);
    EXPECT_EQ(&m.config(), &made);
    // Defaults given after the configuration was made go into it; properties made by
    // hand start empty.
    MetricProperties byHand;
    EXPECT_TRUE(byHand.config().floats().empty());
    byHand.setDefaultThresholds(3.0f);
    EXPECT_EQ(byHand.config().floats().at(".UpperThreshold"), 3.0f);
    EXPECT_TRUE(byHand.settings().colors().empty());
}
