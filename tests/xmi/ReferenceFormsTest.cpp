// References in the forms other tools write, and documents of an exporter with its own
// frame and diagram form.
#include <gtest/gtest.h>

#include <functional>

#include "common/Log.h"
#include "xmi/ReadersTestSupport.h"
#include "xmi/XMIElementReaders.h"

using readertest::document;
using readertest::find;
using readertest::read;
using readertest::readError;

namespace {
std::string idOf(const UMLModelElement* e) {
    return e ? e->id : "<null>";
}
std::string idsOf(const UMLElementRefList& list) {
    std::string ids;
    for (const UMLModelElement* e : list)
        ids += (ids.empty() ? "" : " ") + idOf(e);
    return ids;
}

struct FormCase {
    const char* form;
    bool feature;        // the element is a feature of a class
    const char* element; // the classes "A" and "B" are always there
    const char* id;      // the element whose slot is checked
    std::function<std::string(UMLModelElement*)> slot;
    const char* expected;
};

template <class T> std::function<std::string(UMLModelElement*)> single(UMLModelElement* T::*slot) {
    return [slot](UMLModelElement* e) { return idOf(dynamic_cast<T*>(e)->*slot); };
}
template <class T> std::function<std::string(UMLModelElement*)> list(UMLElementRefList T::*slot) {
    return [slot](UMLModelElement* e) { return idsOf(dynamic_cast<T*>(e)->*slot); };
}

std::string inClass(const std::string& feature) {
    return R"(<UML:Class xmi.id="C"><UML:Classifier.feature>)" + feature +
           "</UML:Classifier.feature></UML:Class>";
}
std::function<std::string(UMLModelElement*)> generalizationEnds() {
    return [](UMLModelElement* e) {
        auto* g = dynamic_cast<UMLGeneralization*>(e);
        return idOf(g->child) + ">" + idOf(g->parent);
    };
}
} // namespace

TEST(ReferenceForms, EachFormFillsItsSlotAndAHolderKeepsPrecedence) {
    const FormCase cases[] = {
        {"any tag in a holder", true,
         R"(<UML:Attribute xmi.id="x"><UML:StructuralFeature.type><UML:Class xmi.idref="A"/></UML:StructuralFeature.type></UML:Attribute>)",
         "x", single(&UMLStructuralFeature::type), "A"},
        {"the dotted tag wins over another tag", true,
         R"(<UML:Attribute xmi.id="x"><UML:StructuralFeature.type><UML:Class xmi.idref="A"/><Foundation.Core.Classifier xmi.idref="B"/></UML:StructuralFeature.type></UML:Attribute>)",
         "x", single(&UMLStructuralFeature::type), "B"},
        {"attribute type", true, R"(<UML:Attribute xmi.id="x" type="B"/>)", "x",
         single(&UMLStructuralFeature::type), "B"},
        {"a holder wins over the attribute", true,
         R"(<UML:Attribute xmi.id="x" type="B"><UML:StructuralFeature.type><Foundation.Core.Classifier xmi.idref="A"/></UML:StructuralFeature.type></UML:Attribute>)",
         "x", single(&UMLStructuralFeature::type), "A"},
        {"parameter type", true,
         R"(<UML:Operation xmi.id="o"><UML:BehavioralFeature.parameter><UML:Parameter xmi.id="x" type="A"/></UML:BehavioralFeature.parameter></UML:Operation>)",
         "x", single(&UMLParameter::type), "A"},
        {"generalization child and parent holders with any tag", false,
         R"(<UML:Generalization xmi.id="x"><UML:Generalization.child><UML:Class xmi.idref="A"/></UML:Generalization.child><UML:Generalization.parent><UML:Class xmi.idref="B"/></UML:Generalization.parent></UML:Generalization>)",
         "x", generalizationEnds(), "A>B"},
        {"generalization child and parent attributes", false,
         R"(<UML:Generalization xmi.id="x" child="A" parent="B"/>)", "x", generalizationEnds(),
         "A>B"},
        {"generalization subtype and supertype attributes", false,
         R"(<UML:Generalization xmi.id="x" subtype="A" supertype="B"/>)", "x", generalizationEnds(),
         "A>B"},
        {"association end participant holder", false,
         R"(<UML:Association xmi.id="as"><UML:Association.connection><UML:AssociationEnd xmi.id="x"><UML:AssociationEnd.participant><UML:Class xmi.idref="B"/></UML:AssociationEnd.participant></UML:AssociationEnd></UML:Association.connection></UML:Association>)",
         "x", single(&UMLAssociationEnd::type), "B"},
        {"association end type attribute", false,
         R"(<UML:Association xmi.id="as"><UML:Association.connection><UML:AssociationEnd xmi.id="x" type="A"/></UML:Association.connection></UML:Association>)",
         "x", single(&UMLAssociationEnd::type), "A"},
        {"dependency client and supplier attributes with several ids", false,
         R"(<UML:Dependency xmi.id="x" client="A" supplier=" A  B "/>)", "x",
         [](UMLModelElement* e) {
             auto* d = dynamic_cast<UMLDependency*>(e);
             return idsOf(d->client) + ">" + idsOf(d->supplier);
         },
         "A>A B"},
        {"namespace attribute", false, R"(<UML:Class xmi.id="x" namespace="model"/>)", "x",
         single(&UMLModelElement::namespace_), "model"},
        {"classifier role base attribute", false, R"(<UML:ClassifierRole xmi.id="x" base="A"/>)",
         "x", single(&UMLClassifierRole::base), "A"},
        {"transition source and target attributes, forward", false,
         R"(<UML:StateMachine xmi.id="m"><UML:StateMachine.transitions><UML:Transition xmi.id="x" source="s" target="s"/></UML:StateMachine.transitions><UML:StateMachine.top><UML:CompositeState xmi.id="top"><UML:CompositeState.subvertex><UML:SimpleState xmi.id="s" outgoing="x x"/></UML:CompositeState.subvertex></UML:CompositeState></UML:StateMachine.top></UML:StateMachine>)",
         "x",
         [](UMLModelElement* e) {
             auto* t = dynamic_cast<UMLTransition*>(e);
             return idOf(t->source) + ">" + idOf(t->target);
         },
         "s>s"},
        {"state vertex outgoing attribute lists every id", false,
         R"(<UML:StateMachine xmi.id="m"><UML:StateMachine.transitions><UML:Transition xmi.id="t"/></UML:StateMachine.transitions><UML:StateMachine.top><UML:CompositeState xmi.id="top"><UML:CompositeState.subvertex><UML:SimpleState xmi.id="x" outgoing="t t"/></UML:CompositeState.subvertex></UML:CompositeState></UML:StateMachine.top></UML:StateMachine>)",
         "x", list(&UMLStateVertex::outgoing), "t t"},
    };
    const std::string ab = R"(<UML:Class xmi.id="A"/><UML:Class xmi.id="B"/>)";
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.form);
        auto result = read(document(ab + (c.feature ? inClass(c.element) : c.element)));
        EXPECT_EQ(c.slot(find<UMLModelElement>(*result, c.id)), c.expected);
    }
}

TEST(ReferenceForms, AnUnresolvedAttributeReferenceIsLoggedAndStaysNull) {
    LogCapture log;
    auto result = read(document(R"(<UML:Generalization xmi.id="g" subtype="gone" supertype=""/>)"));
    auto* g = find<UMLGeneralization>(*result, "g");
    EXPECT_EQ(g->child, nullptr);
    EXPECT_EQ(g->parent, nullptr);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Unresolved reference to gone"});
}

TEST(ReferenceForms, MultiplicityTextGivesItsBoundsOrNothing) {
    struct Case {
        const char* text;
        bool valid;
        std::int32_t lower, upper;
    };
    const Case cases[] = {{"1", true, 1, 1},    {"0..1", true, 0, 1},     {"1..*", true, 1, -1},
                          {"*", true, 0, -1},   {" 2 .. 5 ", true, 2, 5}, {"n", false, 0, 0},
                          {"", false, 0, 0},    {"1..", false, 0, 0},     {"-1", false, 0, 0},
                          {"0..n", false, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t lower = 0, upper = 0;
        ASSERT_EQ(xmiread::parseMultiplicityText(c.text, lower, upper), c.valid);
        if (c.valid) {
            EXPECT_EQ(lower, c.lower);
            EXPECT_EQ(upper, c.upper);
        }
    }
}

namespace {
// A document as the pixel-box exporter writes it: no metamodel, two extra root children.
std::string pixelBoxDocument(const std::string& exporter, const std::string& extraChildren) {
    return R"(<?xml version="1.0"?>
<XMI xmi.version="1.1" xmlns:UML="omg.org/UML1.3">
<XMI.header><XMI.documentation><XMI.exporter>)" +
           exporter + R"(</XMI.exporter></XMI.documentation></XMI.header>
<XMI.content>
<UML:Model name="M" xmi.id="M"><UML:Namespace.ownedElement>
 <UML:Class name="Base" xmi.id="base"/>
 <UML:Class name="Derived" xmi.id="derived"/>
 <UML:Generalization subtype="derived" supertype="base" xmi.id="gen"/>
 <UML:Association xmi.id="assoc"><UML:Association.connection>
  <UML:AssociationEnd multiplicity="0..*" type="base"/>
  <UML:AssociationEnd multiplicity="1" type="derived"/>
 </UML:Association.connection></UML:Association>
</UML:Namespace.ownedElement></UML:Model>
<UML:Diagram name="D" xmi.id="d" diagramType="ClassDiagram" owner="M"><UML:Diagram.element>
 <UML:DiagramElement geometry="Left=100;Top=50;Right=300;Bottom=150;" subject="base" style="DUID=B1;"/>
 <UML:DiagramElement geometry="Left=100;Top=300;Right=300;Bottom=400;" subject="derived" style="DUID=D1;"/>
 <UML:DiagramElement geometry="EDGE=1;SX=0;SY=0;EX=0;EY=0;$LLB=CX=26:CY=15;" subject="gen" style="Mode=3;EOID=B1;SOID=D1;Hidden=0;"/>
 <UML:DiagramElement geometry="EDGE=2;" subject="assoc" style="Mode=3;EOID=B1;SOID=D1;Hidden=1;"/>
</UML:Diagram.element></UML:Diagram>
</XMI.content>)" +
           extraChildren + "\n</XMI>\n";
}
const char* const extras =
    R"(<XMI.difference/><XMI.extensions xmi.extender="Enterprise Architect 2.5"/>)";
} // namespace

TEST(PixelBoxDialect, DocumentLoadsWithItsModelAndDiagramInPixelsYUp) {
    auto result = read(pixelBoxDocument("Enterprise Architect", extras));
    ASSERT_NE(result->model, nullptr);
    auto* gen = find<UMLGeneralization>(*result, "gen");
    EXPECT_EQ(idOf(gen->child) + ">" + idOf(gen->parent), "derived>base");
    auto* assoc = find<UMLAssociation>(*result, "assoc");
    ASSERT_EQ(assoc->connection.size(), 2u);
    ASSERT_NE(assoc->connection[0]->multiplicity, nullptr);
    EXPECT_EQ(assoc->connection[0]->multiplicity->range->upper, -1);
    EXPECT_EQ(assoc->connection[1]->multiplicity->range->lower, 1);

    ASSERT_EQ(result->diagrams.size(), 1u);
    const UMLDiagram& d = *result->diagrams[0];
    EXPECT_EQ(idOf(d.owner), "M");
    // The hidden connector is left out; the relation is drawn first.
    ASSERT_EQ(d.element.size(), 3u);
    EXPECT_EQ(idOf(d.element[0]->subject), "gen");
    const UMLGeometry& base = d.element[1]->geometry;
    const UMLGeometry& derived = d.element[2]->geometry;
    EXPECT_FLOAT_EQ(base.right - base.left, 200.0f); // a pixel stays a unit
    EXPECT_FLOAT_EQ(base.bottom - base.top, 100.0f);
    // y up and centred: the derived class, lower on the page, ends at the bottom bound.
    EXPECT_FLOAT_EQ(derived.top, -175.0f);
    EXPECT_FLOAT_EQ(base.bottom, 175.0f);
    EXPECT_FLOAT_EQ(d.bounds[3] - d.bounds[1], 350.0f);
    // The connector's box sits halfway between the boxes it joins.
    const UMLGeometry& link = d.element[0]->geometry;
    EXPECT_FLOAT_EQ((link.left + link.right) * 0.5f, 0.0f);
    EXPECT_FLOAT_EQ((link.top + link.bottom) * 0.5f, 0.0f);
}

TEST(PixelBoxDialect, OnlyThatExporterGetsTheAllowances) {
    struct Case {
        const char* what;
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"other exporter, third root child", pixelBoxDocument("Other", "<XMI.difference/>"),
         "Root node does not have two children"},
        {"known exporter, unknown third child",
         pixelBoxDocument("Enterprise Architect", "<XMI.other/>"),
         "Root node does not have two children"},
        {"other exporter, no metamodel", pixelBoxDocument("Other", ""),
         "Unsupported XMI metamodel"},
        {"known exporter, two children", pixelBoxDocument(" Enterprise Architect\n", ""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(readError(c.text), c.error);
    }
}
