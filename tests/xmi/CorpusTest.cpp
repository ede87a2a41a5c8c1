// Real XMI files written by other modelling tools: each must either load or be rejected
// with the reader's message, without a crash, a leak or a hang.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/Log.h"
#include "common/TestSupport.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

namespace {
struct CorpusOutcome {
    std::string rejection; // empty when the file loaded
    bool hasModel = false;
    std::string modelName;
    std::size_t diagrams = 0;
    std::map<std::string, std::size_t> classCounts; // exact class name -> model elements read
    std::vector<std::string> logLines;
    std::size_t userMessages = 0;
    std::size_t registryMismatches = 0; // registry keys that differ from the element's id
    // Null ends of the references that drawing needs: feature and end types, generalization
    // and transition ends, diagram element subjects.
    std::size_t nullReferences = 0;
    std::vector<std::size_t> diagramElements; // per diagram, in document order
};

std::size_t nullReferencesOf(const UMLBase* object) {
    auto nulls = [](std::initializer_list<const void*> slots) {
        std::size_t n = 0;
        for (const void* slot : slots)
            n += slot == nullptr;
        return n;
    };
    if (auto* a = dynamic_cast<const UMLStructuralFeature*>(object))
        return nulls({a->type});
    if (auto* p = dynamic_cast<const UMLParameter*>(object))
        return nulls({p->type});
    if (auto* e = dynamic_cast<const UMLAssociationEnd*>(object))
        return nulls({e->type});
    if (auto* g = dynamic_cast<const UMLGeneralization*>(object))
        return nulls({g->child, g->parent});
    if (auto* t = dynamic_cast<const UMLTransition*>(object))
        return nulls({t->source, t->target});
    if (auto* d = dynamic_cast<const UMLDiagramElement*>(object))
        return nulls({d->subject});
    return 0;
}

CorpusOutcome loadCorpusFile(const std::string& path) {
    CorpusOutcome outcome;
    MessageRecorder messages;
    LogCapture log;
    XmlParserSession session;
    std::unique_ptr<XMINode> root = parseFile(path);
    XMIReader reader;
    try {
        reader.read(root.get());
        std::unique_ptr<XMIResult> result = reader.takeResult();
        outcome.hasModel = result->model != nullptr;
        if (result->model)
            outcome.modelName = result->model->name;
        outcome.diagrams = result->diagrams.size();
        for (const UMLDiagram* diagram : result->diagrams)
            outcome.diagramElements.push_back(diagram->element.size());
        for (const auto& object : result->objects()) {
            outcome.nullReferences += nullReferencesOf(object.get());
            if (dynamic_cast<const UMLModelElement*>(object.get()))
                ++outcome.classCounts[umlClassName(object.get())];
        }
        for (const auto& [id, element] : result->idRegistry.sorted())
            outcome.registryMismatches += element->id != id;
    } catch (const XMIParseException& e) {
        outcome.rejection = e.getMessage();
    }
    outcome.logLines = log.lines();
    outcome.userMessages = messages.messages.size();
    return outcome;
}

struct CorpusCase {
    const char* file; // relative to the corpus folder
    const char* rejection;
    const char* modelName;
    std::map<std::string, std::size_t> counts; // a few telling classes
    std::size_t unknownComponentLines;
    // References left null: those to kinds the model does not read (final, action and
    // subactivity states, call events, extends, ...), each with its log line.
    std::size_t nullReferences;
    std::vector<std::size_t> diagramElements;
};

std::ostream& operator<<(std::ostream& out, const CorpusCase& c) {
    return out << c.file;
}

const std::vector<CorpusCase> corpusCases = {
    // Rejected by the document checks.
    {"argouml-tigris-org+argouml/issue4440-Poseidon-hybrid.xmi",
     "Unsupported XMI metamodel",
     "",
     {},
     0,
     0,
     {}},
    {"argouml-tigris-org+argouml/timetracker.xmi",
     "Root node does not have two children",
     "",
     {},
     0,
     0,
     {}},
    {"dresden-ocl+dresdenocl/rose98-royloy-unisys-xmi10.xml",
     "XMI version too low",
     "",
     {},
     0,
     0,
     {}},
    {"KDE+umbrello/Overview.xmi", "Root node does not have two children", "", {}, 0, 0, {}},
    // Loaded with its diagrams, in its exporter's own frame and diagram form.
    {"NCIP+cacore-sdk-pre411/ea25-sdk.xmi",
     "",
     "EA Model",
     {{"UMLClass", 181},
      {"UMLGeneralization", 25},
      {"UMLAssociationEnd", 140},
      {"UMLDependency", 87},
      {"UMLAttribute", 372}},
     0,
     0,
     {10, 18, 43, 28, 24, 8, 69, 6, 14, 20, 21, 6}},
    // Loaded. Tool-specific kinds outside the dispatch table (tag definitions, instances,
    // enumerations, ...) are logged once each and skipped.
    {"argouml-tigris-org+argouml/GUITestPropertyPanels-from-zargo.xmi",
     "",
     "untitledModel",
     {{"UMLClass", 11},
      {"UMLStateMachine", 1},
      {"UMLActivityGraph", 1},
      {"UMLTransition", 21},
      {"UMLPseudostate", 11},
      {"UMLCollaboration", 3},
      {"UMLClassifierRole", 3},
      {"UMLAssociationRole", 2},
      {"UMLAssociationEndRole", 4},
      {"UMLMessage", 3},
      {"UMLSendAction", 2},
      {"UMLUseCase", 5}},
     20,
     16,
     {}},
    {"dresden-ocl+dresdenocl/argouml026-UML-Example.xmi",
     "",
     "Modell 1",
     {{"UMLClass", 20},
      {"UMLInterface", 3},
      {"UMLOperation", 37},
      {"UMLParameter", 70},
      {"UMLAttribute", 24},
      {"UMLGeneralization", 12}},
     2,
     0,
     {}},
    {"rpopov+modelant/rose-unisys-demo.xml",
     "",
     "CIB_SOURCE",
     {{"UMLClass", 162},
      {"UMLPackage", 22},
      {"UMLAssociationEnd", 168},
      {"UMLStateMachine", 5},
      {"UMLActivityGraph", 1},
      {"UMLSimpleState", 54},
      {"UMLTransition", 278}},
     1,
     322,
     {}},
    {"rpopov+modelant/rose-unisys-demo2.xml",
     "",
     "demo-model-for-MODELANT",
     {{"UMLClass", 204},
      {"UMLPackage", 32},
      {"UMLSignal", 5},
      {"UMLSignalEvent", 12},
      {"UMLTransition", 330}},
     1,
     425,
     {}},
    // Loaded, but its elements carry no "UML:" prefix, so there is no model to read.
    {"argouml-tigris-org+argouml/issue4919-Rose-uml13-xmi11.xmi", "", nullptr, {}, 0, 0, {}},
};

class Corpus : public ::testing::TestWithParam<CorpusCase> {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(BRENNIMORE_CORPUS_DIR))
            GTEST_SKIP() << "no corpus at " << BRENNIMORE_CORPUS_DIR;
    }
};
} // namespace

TEST_P(Corpus, LoadsOrIsRejectedAsExpected) {
    const CorpusCase& expected = GetParam();
    const std::string path = std::string(BRENNIMORE_CORPUS_DIR) + "/" + expected.file;
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "missing " << path;
    const CorpusOutcome outcome = loadCorpusFile(path);

    EXPECT_EQ(outcome.userMessages, 0u); // every file is well-formed XML
    EXPECT_EQ(outcome.rejection, expected.rejection);
    if (!outcome.rejection.empty())
        return;
    if (expected.modelName) {
        EXPECT_TRUE(outcome.hasModel);
        EXPECT_EQ(outcome.modelName, expected.modelName);
        EXPECT_EQ(outcome.classCounts.at("UMLModel"), 1u);
    } else {
        EXPECT_FALSE(outcome.hasModel);
        EXPECT_TRUE(outcome.classCounts.empty());
    }
    EXPECT_EQ(outcome.diagramElements, expected.diagramElements);
    EXPECT_EQ(outcome.nullReferences, expected.nullReferences);
    for (const auto& [className, count] : expected.counts) {
        auto it = outcome.classCounts.find(className);
        EXPECT_EQ(it == outcome.classCounts.end() ? 0u : it->second, count) << className;
    }
    EXPECT_EQ(outcome.registryMismatches, 0u);
    std::size_t unknown = 0;
    for (const std::string& line : outcome.logLines)
        unknown += line.rfind("Unknown component <", 0) == 0;
    EXPECT_EQ(unknown, expected.unknownComponentLines);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, Corpus, ::testing::ValuesIn(corpusCases),
                         [](const ::testing::TestParamInfo<CorpusCase>& param) {
                             std::string name =
                                 std::filesystem::path(param.param.file).stem().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(CorpusList, EveryCorpusFileHasAnExpectedOutcome) {
    if (!std::filesystem::is_directory(BRENNIMORE_CORPUS_DIR))
        GTEST_SKIP() << "no corpus at " << BRENNIMORE_CORPUS_DIR;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(BRENNIMORE_CORPUS_DIR)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".xmi" && ext != ".xml")
            continue;
        const std::string relative =
            std::filesystem::relative(entry.path(), BRENNIMORE_CORPUS_DIR).string();
        bool listed = false;
        for (const CorpusCase& c : corpusCases)
            listed = listed || relative == c.file;
        EXPECT_TRUE(listed) << relative << " has no expected outcome";
    }
}
