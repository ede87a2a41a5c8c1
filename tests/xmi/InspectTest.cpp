#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "common/TestSupport.h"
#include "inspect/Inspect.h"
#include "inspect/JsonStream.h"
#include "xmi/XMIDocuments.h"

namespace {

struct RunResult {
    int code;
    nlohmann::ordered_json output; // keys in the order the command printed them
    std::string text;
};

// Runs the real command and parses what it printed.
RunResult runInspect(const std::string& arguments) {
    std::string command = std::string(BRENNIMORE_BIN_DIR) + "/brennimore-inspect " + arguments;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        text.append(buffer, n);
    int status = pclose(pipe.release());
    RunResult result{WEXITSTATUS(status), nullptr, text};
    if (!text.empty())
        result.output = nlohmann::ordered_json::parse(text, nullptr, false);
    return result;
}

} // namespace

TEST(Inspect, DescribesALoadedModel) {
    TempFile file("model.xmi",
                  xmiDocument("<UML:Model xmi.id='m' name='Shop'><UML:Namespace.ownedElement>"
                              "<UML:Package xmi.id='p' name='core'/><UML:Enumeration/>"
                              "</UML:Namespace.ownedElement></UML:Model>"
                              "<UML:Diagram xmi.id='d' name='Main' diagramType='ClassDiagram'/>"));
    RunResult r = runInspect(file.path() + " --element p");
    ASSERT_EQ(r.code, 0);
    const auto& out = r.output;
    std::vector<std::string> keys;
    for (auto it = out.begin(); it != out.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"file", "error", "messages", "xmiVersion", "metamodel",
                                        "model", "elements", "diagrams", "log", "element"}));
    EXPECT_EQ(out["file"], file.path());
    EXPECT_TRUE(out["error"].is_null());
    EXPECT_EQ(out["xmiVersion"], 1.2);
    EXPECT_EQ(out["metamodel"]["name"], "UML");
    EXPECT_EQ(out["metamodel"]["version"], 1.4);
    EXPECT_EQ(out["model"]["name"], "Shop");
    EXPECT_EQ(out["elements"]["UMLModel"], 1);
    EXPECT_EQ(out["elements"]["UMLPackage"], 1);
    ASSERT_EQ(out["diagrams"].size(), 1u);
    EXPECT_EQ(out["diagrams"][0]["name"], "Main");
    EXPECT_TRUE(out["diagrams"][0]["bounds"].is_null());
    EXPECT_EQ(out["log"][0], "Unknown component <UML:Enumeration> in namespace");
    EXPECT_EQ(out["element"]["class"], "UMLPackage");
    EXPECT_EQ(out["element"]["name"], "core");
    EXPECT_FALSE(out["element"]["isAbstract"]);
}

TEST(Inspect, KeysComeInTheContractOrder) {
    TempFile file("model.xmi", xmiDocument("<UML:Model xmi.id='m'/>"));
    InspectOptions options;
    options.modelFile = file.path();
    nlohmann::ordered_json out;
    ASSERT_EQ(inspectModel(options, out), 0);
    std::vector<std::string> keys;
    for (auto it = out.begin(); it != out.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"file", "error", "messages", "xmiVersion", "metamodel",
                                        "model", "elements", "diagrams", "log"}));
}

TEST(Inspect, RejectedAndUnparsableDocumentsExitOne) {
    TempFile rejected("old.xmi", xmiDocument("<UML:Model/>", "1.0"));
    RunResult r = runInspect(rejected.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.output["error"], "XMI version too low");
    ASSERT_EQ(r.output["messages"].size(), 1u);
    EXPECT_EQ(r.output["messages"][0]["caption"], "Error loading model");

    TempFile broken("broken.xmi", "<XMI xmi.version='1.2'><XMI.header>");
    r = runInspect(broken.path());
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.output["messages"].size(), 2u);
    EXPECT_EQ(r.output["messages"][0]["caption"], "Brennimore error");
    EXPECT_EQ(r.output["messages"][1]["caption"], "Error loading model");
    EXPECT_EQ(r.output["error"], "Not an XMI document");

    r = runInspect("/nonexistent.xmi");
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.output["error"].is_null());
}

TEST(Inspect, UsageErrorExitsTwo) {
    EXPECT_EQ(runInspect("--no-such-option 2>/dev/null").code, 2);
    EXPECT_EQ(runInspect("2>/dev/null").code, 2);
}

TEST(Inspect, DiagramElementsAndConfigurationOnRequest) {
    TempFile file("model.xmi",
                  xmiDocument("<UML:Model xmi.id='m'><UML:Namespace.ownedElement>"
                              "<UML:Class xmi.id='c' name='Cart'/></UML:Namespace.ownedElement>"
                              "</UML:Model><UML:Diagram xmi.id='d' name='Main' "
                              "diagramType='ClassDiagram'><UML:Diagram.element>"
                              "<UML:DiagramElement xmi.id='e' geometry='30, 30, 60, 30,'>"
                              "<UML:PresentationElement.subject><Foundation.Core.ModelElement "
                              "xmi.idref='c'/></UML:PresentationElement.subject>"
                              "</UML:DiagramElement></UML:Diagram.element></UML:Diagram>"));
    TempFile config("block.cfg", "@ConfigurationKind\n@bool (1)\n<Visualizer.General.Comments>"
                                 "<true>\n");
    RunResult r = runInspect("--diagram-elements " + file.path() + " --config " + config.path());
    ASSERT_EQ(r.code, 0);
    const auto& items = r.output["diagrams"][0]["items"];
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]["subject"], "c");
    EXPECT_EQ(items[0]["subjectClass"], "UMLClass");
    EXPECT_EQ(r.output["diagrams"][0]["bounds"], nlohmann::ordered_json::parse("[-10, -5, 10, 5]"));
    EXPECT_TRUE(r.output["config"]["bool"].contains("Visualizer.General.Comments"));

    // A configuration block alone needs no model.
    r = runInspect("--config " + config.path());
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.output["config"]["float"]["Canvas.Separator.Size"], 3.0);
}

TEST(Inspect, MetricsLoadAfterTheModel) {
    TempFile file("model.xmi",
                  xmiDocument("<UML:Model xmi.id='m'><UML:Namespace.ownedElement>"
                              "<UML:Class xmi.id='c' name='Cart'/></UML:Namespace.ownedElement>"
                              "</UML:Model>"));
    TempFile metrics("model-metrics.txt", "[Lines of code %int]\nc,120\n\n\n[Tested]\nc,true\n");
    RunResult r = runInspect(file.path() + " --metrics " + metrics.path() + " --element c");
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.output["metrics"]["error"].is_null());
    ASSERT_EQ(r.output["metrics"]["element"].size(), 2u);
    const auto& records = r.output["element"]["metrics"];
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["name"], "Lines of code");
    EXPECT_EQ(records[0]["value"], 120);
    EXPECT_EQ(records[1]["kind"], "bool");
    EXPECT_TRUE(records[1]["min"].is_null());

    r = runInspect(file.path() + " --metrics /nonexistent.txt");
    EXPECT_EQ(r.output["metrics"]["error"], "Unable to open metrics file");
}

namespace {
const char* const oneClass = "<UML:Model xmi.id='m'><UML:Namespace.ownedElement>"
                             "<UML:Class xmi.id='c' name='Cart'/></UML:Namespace.ownedElement>"
                             "</UML:Model>";
} // namespace

TEST(Inspect, MetricsBesideTheModelComeAlongUnlessNamed) {
    TempFile file("model.XMI", xmiDocument(oneClass));
    const std::string beside = file.folder() + "/model.txt";
    RunResult r = runInspect(file.path());
    EXPECT_FALSE(r.output.contains("metrics")) << "nothing beside the model yet";

    std::filesystem::create_directory(beside);
    r = runInspect(file.path());
    EXPECT_FALSE(r.output.contains("metrics")) << "a folder of that name is not a metrics file";
    std::filesystem::remove(beside);

    std::ofstream(beside) << "[Lines of code]\nc,120\n";
    r = runInspect(file.path() + " --element c");
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.output["metrics"]["element"].size(), 1u);
    EXPECT_EQ(r.output["metrics"]["element"][0]["name"], "Lines of code");
    EXPECT_EQ(r.output["element"]["metrics"][0]["value"], 120);

    TempFile named("other.txt", "[Tested]\nc,true\n");
    r = runInspect(file.path() + " --metrics " + named.path());
    ASSERT_EQ(r.output["metrics"]["element"].size(), 1u);
    EXPECT_EQ(r.output["metrics"]["element"][0]["name"], "Tested") << "--metrics wins";
}

TEST(Inspect, FieldsThatAreNoFiniteFloatReadAsZero) {
    // One ordinary element and one whose every geometry field overflows a float or is no
    // number; the ordinary one must keep its place in the normalised diagram.
    TempFile file("model.xmi",
                  xmiDocument("<UML:Model xmi.id='m'/><UML:Diagram xmi.id='d' "
                              "diagramType='ClassDiagram'><UML:Diagram.element>"
                              "<UML:DiagramElement xmi.id='a' geometry='30, 30, 60, 30,'/>"
                              "<UML:DiagramElement xmi.id='b' geometry='1e39, inf, nan, -1e39,' "
                              "style=',FillColor.Red=1e39,FillColor.Transparent=nan,"
                              "LineColor.Green=-inf,Font.Red=1e300,'/>"
                              "</UML:Diagram.element></UML:Diagram>"));
    RunResult r = runInspect("--diagram-elements " + file.path());
    ASSERT_EQ(r.code, 0);
    const auto& diagram = r.output["diagrams"][0];
    EXPECT_EQ(diagram["bounds"], nlohmann::ordered_json::parse("[-10, -7.5, 10, 7.5]"));
    const auto& items = diagram["items"];
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]["geometry"], nlohmann::ordered_json::parse("[-10, -7.5, 10, 2.5]"));
    EXPECT_EQ(items[1]["geometry"], nlohmann::ordered_json::parse("[-10, 7.5, -10, 7.5]"));
    const auto& style = items[1]["style"];
    EXPECT_EQ(style["fillColor"], nlohmann::ordered_json::parse("[0, 1, 1, 0]"));
    EXPECT_EQ(style["lineColor"][1], 0);
    EXPECT_EQ(style["fontColor"][0], 0);
}

TEST(Inspect, FloatsArePrintedInTheirShortForm) {
    // A box of 10 file units is 10/3 diagram units: -1.6666667 as a float.
    TempFile file("model.xmi",
                  xmiDocument("<UML:Model xmi.id='m'/><UML:Diagram xmi.id='d' "
                              "diagramType='ClassDiagram'><UML:Diagram.element>"
                              "<UML:DiagramElement xmi.id='a' geometry='0, 0, 10, 10,' "
                              "style=',FillColor.Red=100,'/></UML:Diagram.element>"
                              "</UML:Diagram>"));
    RunResult r = runInspect("--diagram-elements " + file.path() + " --element a");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.output["diagrams"][0]["items"][0]["geometry"][0].get<double>(), -1.6666667);
    EXPECT_EQ(r.output["diagrams"][0]["items"][0]["style"]["fillColor"][0].get<double>(),
              0.39215687);
    EXPECT_EQ(r.output["element"]["geometry"][0].get<double>(), -1.6666667);
    EXPECT_EQ(r.text.find("1.6666667461"), std::string::npos) << r.text;
    EXPECT_EQ(r.text.find("0.392156869"), std::string::npos) << r.text;
}

TEST(Inspect, InputsNamedOnTheCommandLineThatCannotBeReadExitOne) {
    TempFile model("model.xmi", xmiDocument("<UML:Model xmi.id='m' name='Shop'/>"));
    struct Case {
        std::string arguments;
        std::string error;
    };
    for (const Case& c :
         {Case{model.path() + " --metrics /nonexistent.txt", "Unable to open metrics file"},
          Case{model.path() + " --metrics /dev/zero", "Unable to open metrics file"},
          Case{model.path() + " --config " + model.folder(), "Unable to open configuration file"},
          Case{"--config /dev/zero", "Unable to open configuration file"}}) {
        SCOPED_TRACE(c.arguments);
        RunResult r = runInspect(c.arguments);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.output["error"], c.error);
    }
    EXPECT_EQ(runInspect(model.path()).code, 0);
}

TEST(Inspect, WrittenPieceByPieceAsTheWholeDocumentDumps) {
    using Json = nlohmann::ordered_json;
    const Json items = Json::parse(R"([0, -2.5, "a\nb \"q\" \u00e9", null, true, {}, [],
        {"k": [1, {"x": []}], "e": {}}, [[1, 2], []]])");
    Json expected = Json::object();
    expected["empty"] = Json::object();
    expected["list"] = items;
    expected["nested"] = {{"inner", Json::array()}, {"deeper", {{"items", items}}}};
    // Large enough to be written item by item rather than dumped whole.
    Json large = Json::array();
    for (int i = 0; i < 40; ++i)
        large.push_back({{"i", i}, {"pair", {i, "x"}}, {"none", Json::object()}});
    expected["large"] = {{"in", {large, items}}};
    auto write = [&](JsonStream& out) {
        out.beginObject();
        out.key("empty");
        out.beginObject();
        out.end();
        out.key("list");
        out.beginArray();
        for (const Json& item : items)
            out.value(item);
        out.end();
        out.key("nested");
        out.beginObject();
        out.key("inner");
        out.beginArray();
        out.end();
        out.key("deeper");
        out.beginObject();
        out.member("items", items);
        out.end();
        out.end();
        out.member("large", expected["large"]);
        out.end();
    };
    std::ostringstream text;
    JsonStream textOut(text);
    write(textOut);
    EXPECT_EQ(text.str(), expected.dump(2));
    EXPECT_EQ(writtenJson(write), expected);
}

TEST(Inspect, AWriterMisusedThrowsInsteadOfWritingBadJson) {
    std::ostringstream text;
    nlohmann::ordered_json value;
    for (JsonStream out : {JsonStream(text), JsonStream(value)}) {
        EXPECT_THROW(out.end(), std::logic_error);
        EXPECT_THROW(out.key("k"), std::logic_error);
        out.beginObject();
        EXPECT_THROW(out.value(1), std::logic_error) << "a member needs its key";
        EXPECT_THROW(out.beginArray(), std::logic_error);
        out.key("k");
        EXPECT_THROW(out.key("again"), std::logic_error);
        EXPECT_THROW(out.end(), std::logic_error) << "the key has no value";
        out.beginArray();
        EXPECT_THROW(out.key("k"), std::logic_error);
        out.end();
        out.end();
        EXPECT_THROW(out.end(), std::logic_error);
    }
}

TEST(Inspect, PrintedTextIsTheDescriptionDumped) {
    // The command streams what tests read as a value: both must be the same document.
    TempFile model("model.xmi", xmiDocument(oneClass));
    TempFile metrics("model.txt", "[Classes]\n1\n\n\n[Lines of code]\nc,120\nx,3\n\n\n"
                                  "[Broken header\nc,1\n\n\n[Tested]\nc,true\n");
    InspectOptions options;
    options.modelFile = model.path();
    options.metricsFile = metrics.path();
    options.configFile = std::string(BRENNIMORE_SOURCE_DIR) + "/examples/webshop.cfg";
    options.hasElement = true;
    options.elementId = "c";
    nlohmann::ordered_json value;
    ASSERT_EQ(inspectModel(options, value), 0);
    const RunResult r = runInspect(model.path() + " --metrics " + metrics.path() + " --config " +
                                   options.configFile + " --element c");
    EXPECT_EQ(r.text, value.dump(2) + "\n");
    EXPECT_EQ(value["metrics"]["element"].size(), 2u);
    EXPECT_EQ(value["log"].size(), 1u);
}

TEST(Inspect, BytesThatAreNoUtf8AreReplacedInTheDescription) {
    // Text files from other tools may be in a single-byte encoding.
    TempFile model("model.xmi", xmiDocument(oneClass));
    TempFile metrics("model.txt", "[Lines \xE9 code]\nc,1\n\n\n[Size]\nc,2\n");
    TempFile config("settings.cfg", "@ConfigurationKind\n@bool (1)\n<Caf\xE9><true>\n@float (0)\n"
                                    "@color (0)\n@colormap (0)\n");
    RunResult r =
        runInspect(model.path() + " --metrics " + metrics.path() + " --config " + config.path());
    ASSERT_EQ(r.code, 0) << r.text;
    EXPECT_EQ(r.output["log"][0], "Invalid metric header format encountered ([Lines \uFFFD code])");
    EXPECT_EQ(r.output["metrics"]["element"][0]["name"], "Size");
    EXPECT_EQ(r.output["config"]["bool"]["Caf\uFFFD"], true);
}
