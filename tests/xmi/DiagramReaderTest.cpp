#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "inspect/InspectDiagrams.h"
#include "xmi/ReadersTestSupport.h"
#include "xmi/XMIElementReaders.h"

using readertest::document;
using readertest::read;
using readertest::readError;

namespace {
struct Box {
    float left, top, right, bottom;
};

void expectBox(const UMLGeometry& g, Box expected) {
    EXPECT_FLOAT_EQ(g.left, expected.left);
    EXPECT_FLOAT_EQ(g.top, expected.top);
    EXPECT_FLOAT_EQ(g.right, expected.right);
    EXPECT_FLOAT_EQ(g.bottom, expected.bottom);
}

std::string diagramElement(const std::string& id, const std::string& subject,
                           const std::string& geometry = "0,0,30,30,",
                           const std::string& style = "") {
    std::string text = "<UML:DiagramElement xmi.id=\"" + id + "\" geometry=\"" + geometry + "\"";
    if (!style.empty())
        text += " style=\"" + style + "\"";
    text += ">";
    if (!subject.empty())
        text += "<UML:PresentationElement.subject><Foundation.Core.ModelElement xmi.idref=\"" +
                subject + "\"/></UML:PresentationElement.subject>";
    return text + "</UML:DiagramElement>\n";
}

std::string diagram(const std::string& elements) {
    return "<UML:Diagram xmi.id=\"d\" name=\"Main\" diagramType=\"ClassDiagram\">"
           "<UML:Diagram.owner><Foundation.Core.ModelElement xmi.idref=\"model\"/>"
           "</UML:Diagram.owner><UML:Diagram.element>" +
           elements + "</UML:Diagram.element></UML:Diagram>";
}

const char* const classesAndRelations = R"(
<UML:Class xmi.id="a" name="A"/><UML:Class xmi.id="b" name="B"/>
<UML:Association xmi.id="as"/><UML:Generalization xmi.id="gen"/>
<UML:AssociationRole xmi.id="ar"/><UML:Abstraction xmi.id="abs"/>)";

std::vector<std::string> idsOf(const UMLDiagram& d) {
    std::vector<std::string> ids;
    for (const UMLDiagramElement* e : d.element)
        ids.push_back(e->id);
    return ids;
}
} // namespace

TEST(DiagramGeometry, CentreAndSizeBecomeAThirdSizedBox) {
    UMLGeometry g;
    parseDiagramGeometry("300, 150, 120, 60,", g);
    expectBox(g, {80, 40, 120, 60});
    // Whatever follows the fourth comma is ignored; text without a number reads as 0.
    parseDiagramGeometry("x,  -30,60,junk,12,13", g);
    expectBox(g, {-10, -10, 10, -10});
}

TEST(DiagramGeometry, FewerThanFourCommasAbortTheRead) {
    UMLGeometry g;
    EXPECT_THROW(parseDiagramGeometry("300, 150, 120, 60", g), XMIParseException);
    EXPECT_THROW(parseDiagramGeometry("", g), XMIParseException);
    EXPECT_EQ(readError(document("", diagram(diagramElement("e", "", "300, 150, 120, 60")))),
              "Invalid geometry data in UML diagram element node");
}

TEST(DiagramStyle, OnlyPiecesBetweenTwoCommasAreUsed) {
    // 51 / 255 = 0.2, unlike the default red of 1.
    UMLStyle leading;
    parseDiagramStyle(",FillColor.Red=51,Font.Bold=1,", leading);
    EXPECT_FLOAT_EQ(leading.fillColor[0], 0.2f);
    EXPECT_EQ(leading.fontStyle, UMLStyle::Bold);

    UMLStyle noLeading;
    parseDiagramStyle("FillColor.Red=51,Font.Bold=1,", noLeading);
    EXPECT_FLOAT_EQ(noLeading.fillColor[0], 1.0f); // not read: the default stays
    EXPECT_EQ(noLeading.fontStyle, UMLStyle::Bold);

    UMLStyle single;
    parseDiagramStyle("Font.Bold=1", single);
    parseDiagramStyle("Font.Bold=1,Font.Italic=1", single);
    EXPECT_EQ(single.fontStyle, 0);
    // The unused ends are not checked either.
    parseDiagramStyle("no equals,Font.Italic=1,trailing", single);
    EXPECT_EQ(single.fontStyle, UMLStyle::Italic);
}

TEST(DiagramStyle, RecognisedKeysSetTheStyle) {
    UMLStyle s;
    parseDiagramStyle(",FillColor.Green=51,FillColor.Blue=0,FillColor.Transparent=0.5,"
                      "Font.Red=255,Font.Green=0,Font.Blue=102,Font.FaceName=Liberation Sans,"
                      "Font.Size=14,Font.Size=12,Font.Italic=0,Font.Strikethrough=2,"
                      "Font.Underline=-1,LineColor.Red=255,LineColor.Green=255,"
                      "LineColor.Blue=255,LineColor.Transparent=0.25, Font.Bold=1,Unknown=7,"
                      "Font.Bold=0,",
                      s);
    EXPECT_FLOAT_EQ(s.fillColor[0], 1.0f);
    EXPECT_FLOAT_EQ(s.fillColor[1], 0.2f);
    EXPECT_FLOAT_EQ(s.fillColor[2], 0.0f);
    EXPECT_FLOAT_EQ(s.fillColor[3], 0.5f);
    EXPECT_FLOAT_EQ(s.fontColor[0], 1.0f);
    EXPECT_FLOAT_EQ(s.fontColor[2], 0.4f);
    EXPECT_FLOAT_EQ(s.fontColor[3], 1.0f);
    EXPECT_EQ(s.fontName, "Liberation Sans");
    EXPECT_EQ(s.fontSize, 12); // a later key overrides an earlier one
    // Italic 0 sets nothing; the key with a leading blank is not Font.Bold.
    EXPECT_EQ(s.fontStyle, UMLStyle::Strikethrough | UMLStyle::Underline);
    EXPECT_FLOAT_EQ(s.lineColor[0], 1.0f);
    EXPECT_FLOAT_EQ(s.lineColor[3], 0.25f);
}

TEST(DiagramStyle, PieceWithoutEqualsSignAbortsTheRead) {
    UMLStyle s;
    EXPECT_THROW(parseDiagramStyle(",Font.Bold=1,Font.Italic,", s), XMIParseException);
    EXPECT_THROW(parseDiagramStyle("a=1,,b=2", s), XMIParseException);
    EXPECT_EQ(readError(document("", diagram(diagramElement("e", "", "0,0,3,3,", ",Font.Bold,")))),
              "Invalid style property in UML diagram element node");
}

TEST(DiagramStyle, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    UMLGeometry g;
    UMLStyle s;
    parseDiagramGeometry("1.5,3,3,1.5,", g);
    parseDiagramStyle(",FillColor.Transparent=0.75,", s);
    std::setlocale(LC_ALL, previous.c_str());
    expectBox(g, {0, 0.75f, 1, 1.25f});
    EXPECT_FLOAT_EQ(s.fillColor[3], 0.75f);
}

TEST(DiagramReader, ElementsAreFlippedAndCentredInTheirBounds) {
    auto result =
        read(document(classesAndRelations, diagram(diagramElement("e1", "a", "15,15,30,30,") +
                                                   diagramElement("e2", "b", "90,120,60,60,"))));
    ASSERT_EQ(result->diagrams.size(), 1u);
    const UMLDiagram& d = *result->diagrams[0];
    EXPECT_EQ(d.name, "Main");
    EXPECT_EQ(d.diagramType, "ClassDiagram");
    EXPECT_EQ(d.owner, result->model);
    EXPECT_EQ(result->find("d"), &d);
    ASSERT_TRUE(d.hasBounds);
    EXPECT_FLOAT_EQ(d.bounds[0], -20);
    EXPECT_FLOAT_EQ(d.bounds[1], -25);
    EXPECT_FLOAT_EQ(d.bounds[2], 20);
    EXPECT_FLOAT_EQ(d.bounds[3], 25);
    ASSERT_EQ(d.element.size(), 2u);
    expectBox(d.element[0]->geometry, {-20, 15, -10, 25});
    expectBox(d.element[1]->geometry, {0, -25, 20, -5});
}

TEST(DiagramReader, DiagramWithoutElementsHasNoBounds) {
    auto result = read(document("", "<UML:Diagram xmi.id=\"d\" diagramType=\"Mine\"/>"));
    ASSERT_EQ(result->diagrams.size(), 1u);
    EXPECT_FALSE(result->diagrams[0]->hasBounds);
    EXPECT_EQ(result->diagrams[0]->diagramType, "Mine");
    EXPECT_TRUE(result->diagrams[0]->element.empty());
}

TEST(DiagramReader, DrawingOrderFollowsTheSubjectsExactClass) {
    auto result = read(
        document(classesAndRelations +
                     std::string(R"(<UML:Collaboration xmi.id="col"><UML:Collaboration.interaction>
            <UML:Interaction><UML:Interaction.message><UML:Message xmi.id="msg"/>
            </UML:Interaction.message></UML:Interaction></UML:Collaboration.interaction></UML:Collaboration>)"),
                 diagram(diagramElement("c1", "a") + diagramElement("m", "msg") +
                         diagramElement("as1", "as") + diagramElement("c2", "b") +
                         diagramElement("role", "ar") + diagramElement("gen1", "gen") +
                         diagramElement("free", "") + diagramElement("abs1", "abs") +
                         diagramElement("gone", "missing"))));
    // Elements without a subject lead, then relations, nodes (an association role counts
    // as a node: its own class is not a relation class) and messages last.
    EXPECT_EQ(
        idsOf(*result->diagrams[0]),
        (std::vector<std::string>{"free", "gone", "as1", "gen1", "abs1", "c1", "c2", "role", "m"}));
}

TEST(DiagramReader, SubjectWithTwoReferencesKeepsOne) {
    auto result = read(document(
        classesAndRelations,
        diagram("<UML:DiagramElement xmi.id=\"e\" geometry=\"0,0,3,3,\">"
                "<UML:PresentationElement.subject><Foundation.Core.ModelElement xmi.idref=\"a\"/>"
                "<Foundation.Core.Class xmi.idref=\"b\"/></UML:PresentationElement.subject>"
                "</UML:DiagramElement>")));
    const UMLModelElement* subject = result->diagrams[0]->element[0]->subject;
    EXPECT_TRUE(subject == result->find("a") || subject == result->find("b"));
}

TEST(InspectDiagrams, ListsTheElementsInDrawingOrder) {
    auto result = read(document(
        classesAndRelations,
        diagram(diagramElement("c1", "a", "15,15,30,30,",
                               ",Font.FaceName=Mono,Font.Size=8,Font.Bold=1,FillColor.Red=0,") +
                diagramElement("free", "", "90,120,60,60,"))));
    nlohmann::ordered_json items = inspectDiagramItems(*result->diagrams[0]);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]["id"], "free");
    EXPECT_TRUE(items[0]["subject"].is_null());
    EXPECT_TRUE(items[0]["subjectClass"].is_null());
    const nlohmann::ordered_json& item = items[1];
    EXPECT_EQ(item["id"], "c1");
    EXPECT_EQ(item["subject"], "a");
    EXPECT_EQ(item["subjectClass"], "UMLClass");
    EXPECT_EQ(item["geometry"], nlohmann::ordered_json::parse("[-20, 15, -10, 25]"));
    EXPECT_EQ(item["style"].dump(),
              R"({"fontName":"Mono","fontSize":8,"fontStyle":1,"fillColor":[0.0,1.0,1.0,0.0],)"
              R"("fontColor":[0.0,0.0,0.0,1.0],"lineColor":[0.0,0.0,0.0,1.0]})");
    std::vector<std::string> keys;
    for (auto it = item.begin(); it != item.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"id", "subject", "subjectClass", "geometry", "style"}));
}
