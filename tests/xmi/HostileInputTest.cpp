// Hostile model, metrics and configuration input of the kinds a sweep found to stall:
// every one is read to the result an ordinary reader gives, in work that grows linearly.
// The guards only catch a stall; the generated inputs are small enough that a quadratic
// reader would take minutes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/stat.h>

#include "common/Exception.h"
#include "common/Log.h"
#include "common/TestSupport.h"
#include "common/TextLines.h"
#include "config/Configuration.h"
#include "inspect/InspectConfig.h"
#include "inspect/InspectMetrics.h"
#include "metrics/MetricsTestModel.h"
#include "xmi/XMIParser.h"

namespace {

template <class Work> void withinStallGuard(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              10.0);
}

// Metric names of letters only, distinct for distinct numbers.
std::string letters(std::size_t n) {
    std::string name = "M";
    do {
        name += static_cast<char>('a' + n % 26);
        n /= 26;
    } while (n > 0);
    return name;
}

} // namespace

class HostileInput : public ::testing::Test, public MetricsTestModel {
protected:
    XmlParserSession parserLibrary;
    MessageRecorder recorder;
};

TEST_F(HostileInput, NonRegularFilesAreNotOpened) {
    TempFile folder("design.xmi", "<XMI/>");
    const std::string fifo = folder.folder() + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), folder.folder()}) {
        SCOPED_TRACE(path);
        try {
            loadMetricsFile(path, model);
            ADD_FAILURE() << "no exception";
        } catch (const MetricsParseException& e) {
            EXPECT_EQ(e.getMessage(), "Unable to open metrics file");
        }
        recorder.messages.clear();
        EXPECT_EQ(parseFile(path), nullptr);
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text,
                  "An error occurred while parsing the XML file.\nunable to open primary "
                  "document entity '" +
                      path + "'");
        std::string error;
        EXPECT_TRUE(inspectConfigFile(path, error).is_null());
        EXPECT_EQ(error, "Unable to open configuration file");
    }
    std::filesystem::remove(fifo);
}

TEST_F(HostileInput, ManyAttributesInDescendingOrderSortOnce) {
    std::string doc = "<?xml version=\"1.0\"?>\n<XMI xmi.version=\"1.2\"><XMI.content><Foo ";
    const int count = 100000;
    for (int i = count; i > 0; --i)
        doc += "a" + std::to_string(1000000 + i) + "=\"" + std::to_string(i) + "\" ";
    doc += "/></XMI.content></XMI>\n";
    withinStallGuard([&] {
        std::unique_ptr<XMINode> root = parseBuffer(doc);
        ASSERT_NE(root, nullptr);
        const XMINode& foo = *root->children.at(0)->children.at(0);
        ASSERT_EQ(foo.attributes.size(), static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(*foo.attributes[static_cast<std::size_t>(i)].name,
                      "a" + std::to_string(1000001 + i));
            ASSERT_EQ(foo.attributes[static_cast<std::size_t>(i)].value, std::to_string(i + 1));
        }
    });
}

TEST_F(HostileInput, LongAttributeListsSortAsShortOnesDo) {
    // Later duplicates win, as in a map assignment, in both kinds of sort.
    for (std::size_t size : {5u, 30u, 300u}) {
        SCOPED_TRACE(size);
        XMITreeBuilder builder;
        builder.startElement("e");
        std::map<std::string, std::string> reference;
        for (std::size_t i = 0; i < size; ++i) {
            const std::string name = "k" + std::to_string((size - i) * 5 % 11);
            builder.addAttribute(name, std::to_string(i));
            reference[name] = std::to_string(i);
        }
        const std::unique_ptr<XMINode> node = builder.finish();
        const std::vector<std::pair<std::string, std::string>> expected(reference.begin(),
                                                                        reference.end());
        std::vector<std::pair<std::string, std::string>> sorted;
        for (const XMIAttribute& attribute : node->attributes)
            sorted.emplace_back(*attribute.name, attribute.value);
        EXPECT_EQ(sorted, expected);
    }
}

TEST_F(HostileInput, SchemaHintsOnTheRootAreIgnored) {
    for (const char* hint : {" xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
                             "xsi:schemaLocation='urn:x http://example.invalid/x.xsd'",
                             " xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
                             "xsi:noNamespaceSchemaLocation='/etc/passwd'"}) {
        SCOPED_TRACE(hint);
        recorder.messages.clear();
        std::unique_ptr<XMINode> root =
            parseBuffer(std::string("<?xml version='1.0'?>\n<XMI xmi.version='1.2'") + hint +
                        "><XMI.header/><XMI.content/></XMI>\n");
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->name, "XMI");
        EXPECT_EQ(root->children.size(), 2u);
        EXPECT_TRUE(recorder.messages.empty());
    }
}

TEST_F(HostileInput, ManyDistinctMetricBlocksAndTheirDescription) {
    const std::size_t blocks = 60000;
    std::string text;
    for (std::size_t i = 0; i < blocks; ++i)
        text += "[" + letters(i) + " %int]\nA," + std::to_string(i % 9) + "\nB,2\n\n\n";
    withinStallGuard([&] {
        MetricCollection& c = load(text);
        ASSERT_EQ(c.properties.size(), blocks);
        EXPECT_EQ(c.elementMetrics.size(), 2 * blocks);
        EXPECT_EQ(c.ranges.at(letters(8)), std::make_pair(0, 8));
        EXPECT_TRUE(log.empty());
        const nlohmann::ordered_json description = describeMetricCollection(c);
        const auto& element = description["element"];
        ASSERT_EQ(element.size(), blocks);
        for (const auto& entry : element) {
            ASSERT_EQ(entry["records"], 2);
            ASSERT_EQ(entry["kind"], "int");
        }
    });
}

TEST_F(HostileInput, OverlongAndManyOptionMetricLinesReadInOnePass) {
    std::string options;
    for (int i = 0; i < 200000; ++i)
        options += " %opt";
    const std::string overlong(maximumLineLength + 10, ',');
    withinStallGuard([&] {
        // A header with 200,000 options; a block whose value line is beyond any line; a
        // block after both.
        MetricCollection& c = load("[Lines Of Code" + options + "]\nA,5\n\n\n[X]\n" + overlong +
                                   "\nB,1\n\n\n[Y]\nC,true\n\n\n");
        EXPECT_EQ(c.properties.count("Lines Of Code"), 1u);
        EXPECT_EQ(c.ranges.at("Lines Of Code"), std::make_pair(0, 5));
        EXPECT_EQ(c.properties.count("X"), 0u) << "the overlong line is a malformed value line";
        EXPECT_TRUE(c.isBoolMetric("Y"));
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("Invalid metric value format encountered (", 0), 0u);
        EXPECT_LT(log[0].size(), 100u);
    });
}

TEST_F(HostileInput, HostileConfigurationBlocksAndTheirDescription) {
    std::string colours = "@ConfigurationKind\n@bool (0)\n@float (0)\n@color (51)\n";
    for (int i = 0; i < 50; ++i)
        colours += "<C" + std::to_string(i) + "><[" + std::string(20000, ' ') + ">\n";
    colours += "<Last><[0.5 " + std::string(20000, ' ') + "0.25 0 1]>\n@colormap (0)\n";
    const std::size_t floats = 300000;
    std::string many = "@ConfigurationKind\n@bool (0)\n@float (" + std::to_string(floats) + ")\n";
    for (std::size_t i = 0; i < floats; ++i)
        many += "<F" + std::to_string(1000000 + i) + "><" + std::to_string(i) + ".5>\n";
    many += "@color (0)\n@colormap (0)\n";
    withinStallGuard([&] {
        Configuration c;
        std::istringstream in(colours);
        c.readText(in);
        ASSERT_EQ(c.colors().size(), 51u);
        EXPECT_EQ(c.getColor("C7"), Color());
        const Color last = c.getColor("Last");
        EXPECT_EQ(last.r, 0.5f) << "the greedy first group holds the blanks";
        EXPECT_EQ(last.g, 0.25f);
        EXPECT_EQ(last.a, 1.0f);

        Configuration big;
        std::istringstream bigIn(many);
        big.readText(bigIn);
        ASSERT_EQ(big.floats().size(), floats);
        EXPECT_EQ(big.getFloat("F1000007"), 7.5f);
        const nlohmann::ordered_json description = describeConfiguration(big);
        ASSERT_EQ(description["float"].size(), floats);
        EXPECT_EQ(description["float"].begin().key(), "F1000000");
        EXPECT_EQ(description["float"]["F1299999"], 299999.5);
    });
}
