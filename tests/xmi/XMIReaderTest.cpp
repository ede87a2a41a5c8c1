#include <gtest/gtest.h>

#include <chrono>

#include "common/Exception.h"
#include "common/Log.h"
#include "common/TestSupport.h"
#include "xmi/XMIDocuments.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

namespace {

class XMIReaderTest : public ::testing::Test {
protected:
    XmlParserSession parserLibrary;
    MessageRecorder messages;

    // Parses and reads the text; returns the rejection message or "" on success.
    std::string load(const std::string& text) {
        tree = parseBuffer(text);
        if (!tree)
            return "<no tree>";
        try {
            reader = std::make_unique<XMIReader>();
            reader->read(tree.get());
            result = reader->takeResult();
        } catch (const XMIParseException& e) {
            return e.getMessage();
        }
        return "";
    }

    template <class T> T* element(const std::string& id) {
        return result ? dynamic_cast<T*>(result->find(id)) : nullptr;
    }

    std::unique_ptr<XMINode> tree;
    std::unique_ptr<XMIReader> reader;
    std::unique_ptr<XMIResult> result;
};

const std::string model = "<UML:Model xmi.id='m' name='Shop'/>";

} // namespace

TEST_F(XMIReaderTest, HeaderChecksRejectWithTheirMessages) {
    EXPECT_EQ(load(xmiDocument(model, "1.1")), "");
    EXPECT_EQ(load(xmiDocument(model, "1.09")), "XMI version too low");
    EXPECT_EQ(load(xmiDocument(model, "1.0")), "XMI version too low");
    EXPECT_EQ(load("<XMI><XMI.header/><XMI.content/></XMI>"), "XMI version too low");
    EXPECT_EQ(load("<xmi xmi.version='1.2'/>"), "Not an XMI document");
    EXPECT_EQ(load("<XMI xmi.version='1.2'><XMI.header/></XMI>"),
              "Root node does not have two children");
    EXPECT_EQ(load("<XMI xmi.version='1.2'><XMI.header/><XMI.content/><XMI.extensions "
                   "xmi.extender='x'/></XMI>"),
              "Root node does not have two children");
    // Text between the elements is character data, not a child.
    EXPECT_EQ(load("<XMI xmi.version='1.2'> text <XMI.header><XMI.metamodel xmi.name='UML' "
                   "xmi.version='1.4'/></XMI.header> more <XMI.content/> </XMI>"),
              "");
    EXPECT_EQ(load("<XMI xmi.version='1.2'><XMI.content/><XMI.header/></XMI>"),
              "XMI header not found");
    EXPECT_EQ(load("<XMI xmi.version='1.2'><XMI.header><XMI.metamodel xmi.name='UML' "
                   "xmi.version='1.4'/></XMI.header><XMI.contents/></XMI>"),
              "XMI content not found");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(XMIReaderTest, MetamodelMustBeUmlFromVersionOnePointThree) {
    auto meta = [](const std::string& name, const std::string& version) {
        return "<XMI.metamodel xmi.name=\"" + name + "\" xmi.version=\"" + version + "\"/>";
    };
    EXPECT_EQ(load(xmiDocument(model, "1.2", meta("UML", "1.4"))), "");
    EXPECT_EQ(load(xmiDocument(model, "1.2", meta("UML", "1.3"))), "");
    EXPECT_EQ(load(xmiDocument(model, "1.2", meta("UML", "1.2"))), "Unsupported XMI metamodel");
    EXPECT_EQ(load(xmiDocument(model, "1.2", meta("MOF", "1.4"))), "Unsupported XMI metamodel");
    // Without any metamodel the document names no UML version: rejected, not a crash.
    EXPECT_EQ(load(xmiDocument(model, "1.2", "<XMI.documentation/>")), "Unsupported XMI metamodel");
    // The last metamodel element of the header counts.
    EXPECT_EQ(load(xmiDocument(model, "1.2", meta("UML", "1.4") + meta("UML", "1.1"))),
              "Unsupported XMI metamodel");
}

TEST_F(XMIReaderTest, SecondModelWinsAndBothStayRegistered) {
    ASSERT_EQ(load(xmiDocument("<UML:Model xmi.id='a' name='First'/><UML:Foo/>"
                               "<UML:Model xmi.id='b' name='Second' isAbstract='true'/>")),
              "");
    ASSERT_NE(result->model, nullptr);
    EXPECT_EQ(result->model->name, "Second");
    EXPECT_TRUE(result->model->isAbstract);
    EXPECT_NE(element<UMLModel>("a"), nullptr);
    EXPECT_EQ(element<UMLModel>("b"), result->model);
}

TEST_F(XMIReaderTest, InvalidFlagAbortsTheRead) {
    EXPECT_EQ(load(xmiDocument("<UML:Model xmi.id='m' isAbstract='yes'/>")),
              "Invalid UML boolean value encountered");
}

TEST_F(XMIReaderTest, ReferencesResolveBackwardAtOnceAndForwardAtTheEnd) {
    // Dependencies of the model element part: two backward, one forward, one dangling.
    std::string content =
        "<UML:Model xmi.id='m'><UML:Namespace.ownedElement>"
        "<UML:Package xmi.id='early1'/><UML:Package xmi.id='early2'/>"
        "<UML:Package xmi.id='user'>"
        "<UML:ModelElement.namespace><Foundation.Core.Namespace xmi.idref='late'/>"
        "</UML:ModelElement.namespace>"
        "<UML:ModelElement.clientDependency>"
        "<Foundation.Core.Dependency xmi.idref='late'/>"
        "<Foundation.Core.Dependency xmi.idref='early2'/>"
        "<Foundation.Core.Dependency xmi.idref='missing'/>"
        "<Foundation.Core.Dependency xmi.idref='early1'/>"
        "</UML:ModelElement.clientDependency></UML:Package>"
        "<UML:Package xmi.id='late'/>"
        "</UML:Namespace.ownedElement></UML:Model>";
    LogCapture log;
    ASSERT_EQ(load(xmiDocument(content)), "");
    auto* user = element<UMLPackage>("user");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->namespace_, element<UMLModelElement>("late"));
    ASSERT_EQ(user->clientDependency.size(), 3u);
    EXPECT_EQ(user->clientDependency[0]->id, "early2");
    EXPECT_EQ(user->clientDependency[1]->id, "early1");
    EXPECT_EQ(user->clientDependency[2]->id, "late");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Unresolved listreference to missing"});
}

TEST_F(XMIReaderTest, DanglingSingleReferenceLogsOneLineAndStaysNull) {
    LogCapture log;
    ASSERT_EQ(load(xmiDocument("<UML:Model xmi.id='m'><UML:ModelElement.namespace>"
                               "<Foundation.Core.Namespace xmi.idref='nowhere'/>"
                               "</UML:ModelElement.namespace></UML:Model>")),
              "");
    EXPECT_EQ(result->model->namespace_, nullptr);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Unresolved reference to nowhere"});
}

TEST_F(XMIReaderTest, DuplicateIdLaterElementWinsAndNothingLeaks) {
    ASSERT_EQ(load(xmiDocument("<UML:Model xmi.id='m'><UML:Namespace.ownedElement>"
                               "<UML:Package xmi.id='p'><UML:ModelElement.namespace>"
                               "<Foundation.Core.Namespace xmi.idref='dup'/>"
                               "</UML:ModelElement.namespace></UML:Package>"
                               "<UML:Package xmi.id='dup' name='one'/>"
                               "<UML:Package xmi.id='dup' name='two'/><UML:Package/>"
                               "</UML:Namespace.ownedElement></UML:Model>")),
              "");
    auto* p = element<UMLPackage>("p");
    ASSERT_NE(p->namespace_, nullptr);
    EXPECT_EQ(p->namespace_->name, "two");
    // Every object created is held by the result, registered or not (the sanitizer
    // build turns a lost one into a failure).
    EXPECT_EQ(result->objects().size(), 5u);
    EXPECT_EQ(result->idRegistry.size(), 3u);
}

TEST_F(XMIReaderTest, BackwardReferenceToADuplicateIdTakesTheLatestElementSoFar) {
    // "one" names itself as its namespace: resolved at once, to itself, not to the earlier
    // "zero" nor to the later "two" that takes the id in the end.
    ASSERT_EQ(load(xmiDocument("<UML:Model xmi.id='m'><UML:Namespace.ownedElement>"
                               "<UML:Package xmi.id='dup' name='zero'/>"
                               "<UML:Package xmi.id='dup' name='one'><UML:ModelElement.namespace>"
                               "<Foundation.Core.Namespace xmi.idref='dup'/>"
                               "</UML:ModelElement.namespace></UML:Package>"
                               "<UML:Package xmi.id='dup' name='two'/>"
                               "</UML:Namespace.ownedElement></UML:Model>")),
              "");
    const UMLPackage* one = nullptr;
    for (const auto& object : result->objects()) {
        if (auto* package = dynamic_cast<const UMLPackage*>(object.get());
            package && package->name == "one")
            one = package;
    }
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->namespace_, one);
    EXPECT_EQ(element<UMLPackage>("dup")->name, "two");
}

TEST_F(XMIReaderTest, IdrefOfTakesTheFirstMatchingChildWithTheAttribute) {
    XMITreeBuilder builder;
    builder.startElement("UML:Whatever");
    auto add = [&](const char* name, const char* attribute, const char* value) {
        builder.startElement(name);
        if (attribute)
            builder.addAttribute(attribute, value);
        builder.endElement();
    };
    add("Foundation.Core.Classifier", nullptr, nullptr);
    add("Foundation.Core.Other", "xmi.idref", "other");
    add("Foundation.Core.Classifier", "xmi.idref", "first");
    add("Foundation.Core.Classifier", "xmi.idref", "second");
    builder.endElement();
    const std::unique_ptr<XMINode> ref = builder.finish();
    EXPECT_EQ(XMIReader::idrefOf(ref.get(), "Foundation.Core.Classifier", "xmi.idref"), "first");
    EXPECT_EQ(XMIReader::idrefOf(ref.get(), "Foundation.Core.Missing", "xmi.idref"), "");
}

TEST_F(XMIReaderTest, UnclosedElementShowsTheParserBoxThenIsNotAnXmiDocument) {
    std::string text = xmiDocument(model);
    text = text.substr(0, text.find("</XMI.content>"));
    tree = parseBuffer(text);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->name, "XMI.content") << "the innermost open element comes back";
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Brennimore error");
    EXPECT_EQ(messages.messages[0].text.rfind("An error occurred while parsing the XML file.\n", 0),
              0u);
    XMIReader r;
    try {
        r.read(tree.get());
        ADD_FAILURE() << "read accepted a partial tree";
    } catch (const XMIParseException& e) {
        EXPECT_EQ(e.getMessage(), "Not an XMI document");
    }
}

TEST_F(XMIReaderTest, MissingFileShowsTheParserBoxAndGivesNoTree) {
    EXPECT_EQ(parseFile("/nonexistent/model.xmi"), nullptr);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Brennimore error");
}

TEST_F(XMIReaderTest, NodeTreeKeepsNamesTextAndSortedAttributes) {
    tree = parseBuffer("<a z='1' b='2' m='3'>one<b/>two<c x='&amp;&#228;'/></a>");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->name, "a");
    EXPECT_EQ(tree->text, "onetwo");
    ASSERT_EQ(tree->attributes.size(), 3u);
    EXPECT_EQ(*tree->attributes[0].name, "b");
    EXPECT_EQ(*tree->attributes[2].name, "z");
    ASSERT_EQ(tree->children.size(), 2u);
    EXPECT_EQ(*tree->children[1]->attribute("x"), "&\xC3\xA4");
}

// The tree keeps the text a reader may read: only blank runs between child elements
// (indentation) are left out; a leaf keeps its text as it came, blanks and all.
TEST_F(XMIReaderTest, NodeTreeDropsOnlyIndentationBetweenChildElements) {
    struct Case {
        const char* document;
        const char* rootText;
        const char* firstChildText;
    };
    const Case cases[] = {
        {"<a>\n  <b>  </b>\n  <b/>\n</a>", "", "  "},
        {"<a> x <b>\t\n</b></a>", " x ", "\t\n"},
        {"<a>   </a>", "   ", nullptr},
        {"<a>\n<b>&#32;<c/> </b>\n</a>", "", ""},
        // Long runs, which are checked eight spaces at a time.
        {"<a>\n            <b/>          x</a>", "\n                      x", ""},
        {"<a>\r\n        \t        <b/>                </a>", "", ""},
        // Text in pieces around a child, beyond ASCII and beyond the 16-bit range.
        {"<a>caf\xC3\xA9 <b/>\xF0\x9F\x98\x80 &#x10FFFF;</a>",
         "caf\xC3\xA9 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", ""},
    };
    for (const Case& c : cases) {
        tree = parseBuffer(c.document);
        ASSERT_NE(tree, nullptr) << c.document;
        EXPECT_EQ(tree->text, c.rootText) << c.document;
        if (c.firstChildText) {
            ASSERT_FALSE(tree->children.empty()) << c.document;
            EXPECT_EQ(tree->children[0]->text, c.firstChildText) << c.document;
        }
    }
}

// The node handed out owns the names of its whole tree, including when a fatal error
// leaves the innermost element as the result.
TEST_F(XMIReaderTest, NodeNamesOutliveTheParse) {
    tree = parseBuffer("<r><p><UML:Class xmlns:UML='u'/><UML:Class xmlns:UML='u'/>"
                       "<q><UML:Class xmlns:UML='u'/></q><open>");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->name, "open");
    tree = parseBuffer("<r><p><UML:Class xmlns:UML='u'/><UML:Class xmlns:UML='u'/>"
                       "<q><UML:Class xmlns:UML='u'/></q></p>");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->name, "r") << "the unclosed root is the innermost open element";
    ASSERT_EQ(tree->children.size(), 1u);
    const XMINode* p = tree->children[0];
    ASSERT_EQ(p->children.size(), 3u);
    EXPECT_EQ(p->children[0]->name, "UML:Class");
    EXPECT_EQ(p->children[0]->name.data(), p->children[1]->name.data()) << "one copy per name";
    ASSERT_EQ(p->children[2]->children.size(), 1u);
    EXPECT_EQ(p->children[2]->children[0]->name, "UML:Class");
}

// Repeated values are stored once; every element still reads its own.
TEST_F(XMIReaderTest, AttributeValuesSurviveSharing) {
    tree = parseBuffer("<r><e a='x' b='x'/><e a='y' b='x'/><e a='x' b=''/><e a='xx'/></r>");
    ASSERT_NE(tree, nullptr);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"x", "x"}, {"y", "x"}, {"x", ""}, {"xx", "-"}};
    ASSERT_EQ(tree->children.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const XMINode* e = tree->children[i];
        EXPECT_EQ(*e->attribute("a"), expected[i].first) << i;
        const std::string_view* b = e->attribute("b");
        EXPECT_EQ(b ? std::string(*b) : "-", expected[i].second) << i;
    }
}

// Names alike in length, start and end are still different names; long values and many
// elements spread over many blocks of the tree's storage, the later ones prepared ahead
// of use, keep every character.
TEST_F(XMIReaderTest, LookAlikeNamesAndLongValuesStayApart) {
    const std::string longValue(100000, 'v');
    std::string doc = "<r xmlns:UML='u'><UML:AaaaXbbbb attrXlong='1' attrYlong='2'/>"
                      "<UML:AaaaYbbbb big='" +
                      longValue + "'/>";
    constexpr int elements = 250000;
    for (int i = 0; i < elements; ++i)
        doc += "<e n='" + std::to_string(i) + "'>t" + std::to_string(i) + "</e>";
    tree = parseBuffer(doc + "</r>");
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->children.size(), elements + 2u);
    const XMINode* x = tree->children[0];
    EXPECT_EQ(x->name, "UML:AaaaXbbbb");
    EXPECT_EQ(tree->children[1]->name, "UML:AaaaYbbbb");
    ASSERT_EQ(x->attributes.size(), 2u);
    EXPECT_EQ(*x->attributes[0].name, "attrXlong");
    EXPECT_EQ(*x->attribute("attrYlong"), "2");
    EXPECT_EQ(*tree->children[1]->attribute("big"), longValue);
    for (int i = 0; i < elements; i += 4999) {
        const XMINode* e = tree->children[2 + static_cast<std::size_t>(i)];
        EXPECT_EQ(*e->attribute("n"), std::to_string(i));
        EXPECT_EQ(e->text, "t" + std::to_string(i));
    }
}

// The parser hands names in buffers it reuses: one attribute position holds other names,
// and an element written with another prefix gets a name built in a scratch buffer.
TEST_F(XMIReaderTest, NamesHandedInTheSameParserBufferStayApart) {
    tree = parseBuffer("<r xmlns:UML='u' xmlns:v='u' xmlns='d' v:kept='k'>"
                       "<UML:A attr='1' attrLong='2'/><UML:A attrLong='3' attr='4'/>"
                       "<v:A att='5'/><v:AB attr='6'/><UML:A attr='7'/><v:A attr='8'/></r>");
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->children.size(), 6u);
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        {"UML:A", {"attr", "attrLong"}},
        {"UML:A", {"attr", "attrLong"}},
        {"v:A", {"att"}},
        {"v:AB", {"attr"}},
        {"UML:A", {"attr"}},
        {"v:A", {"attr"}}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const XMINode* node = tree->children[i];
        EXPECT_EQ(node->name, expected[i].first) << i;
        std::vector<std::string> names;
        for (const auto& attribute : node->attributes)
            names.emplace_back(*attribute.name);
        EXPECT_EQ(names, expected[i].second) << i;
    }
    EXPECT_EQ(*tree->children[1]->attribute("attr"), "4");
    // Namespace declarations are not attributes; a prefixed attribute is.
    ASSERT_EQ(tree->attributes.size(), 1u);
    EXPECT_EQ(*tree->attributes[0].name, "v:kept");
}

TEST_F(XMIReaderTest, MissingOrForeignDoctypeStillLoads) {
    std::string body = xmiDocument(model);
    body = body.substr(body.find("<XMI "));
    EXPECT_EQ(load("<?xml version='1.0'?>\n<!DOCTYPE XMI SYSTEM 'xmi1.2-uml1.4.dtd'>\n" + body),
              "");
    EXPECT_EQ(load("<?xml version='1.0'?>\n<!DOCTYPE XMI SYSTEM 'no-such-grammar.dtd'>\n" + body),
              "");
    EXPECT_EQ(load("<?xml version='1.0'?>\n<!DOCTYPE XMI SYSTEM "
                   "'http://example.invalid/uml.dtd'>\n" +
                   body),
              "");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(XMIReaderTest, ExponentialEntitiesAreCutShort) {
    std::string bomb = "<?xml version='1.0'?>\n<!DOCTYPE XMI [\n<!ENTITY a0 'xxxxxxxxxx'>\n";
    for (int i = 1; i <= 12; ++i)
        bomb += "<!ENTITY a" + std::to_string(i) + " '" + std::string("&a") +
                std::to_string(i - 1) + ";" + "&a" + std::to_string(i - 1) + ";&a" +
                std::to_string(i - 1) + ";&a" + std::to_string(i - 1) + ";&a" +
                std::to_string(i - 1) + ";" + "'>\n";
    bomb += "]>\n<XMI xmi.version='1.2'>&a12;</XMI>";
    auto start = std::chrono::steady_clock::now();
    tree = parseBuffer(bomb);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 5);
    ASSERT_FALSE(messages.messages.empty()) << "the expansion limit reports a fatal error";
    if (tree) {
        EXPECT_LT(tree->text.size(), 10'000'000u);
    }
}

TEST_F(XMIReaderTest, DeeplyNestedDocumentIsRejectedNotOverflowed) {
    std::string deep = "<XMI xmi.version='1.2'>";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    tree = parseBuffer(deep);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("nested"), std::string::npos);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->name, "a");
}
