#include <gtest/gtest.h>

#include "common/Log.h"
#include "xmi/ReadersTestSupport.h"

using readertest::document;
using readertest::find;
using readertest::read;
using readertest::readError;

namespace {
std::vector<std::string> namesOf(const std::vector<UMLModelElement*>& elements) {
    std::vector<std::string> names;
    for (const UMLModelElement* e : elements)
        names.push_back(e ? e->name : "<null>");
    return names;
}
} // namespace

TEST(StructureReaders, NestedPackageClassFeaturesAndParametersKeepDocumentOrder) {
    auto result = read(document(R"(
<UML:Package xmi.id="p" name="shop">
 <UML:Namespace.ownedElement>
  <UML:Class xmi.id="c" name="Order" isActive="true" isAbstract="false">
   <UML:Classifier.feature>
    <UML:Attribute xmi.id="a" name="total" visibility="private">
     <UML:StructuralFeature.multiplicity>
      <UML:Multiplicity><UML:Multiplicity.range>
       <UML:MultiplicityRange lower="0" upper="-1"/>
      </UML:Multiplicity.range></UML:Multiplicity>
     </UML:StructuralFeature.multiplicity>
     <UML:StructuralFeature.type><Foundation.Core.Classifier xmi.idref="int"/></UML:StructuralFeature.type>
    </UML:Attribute>
    <UML:Operation xmi.id="o" name="add" visibility="public">
     <UML:BehavioralFeature.parameter>
      <UML:Parameter xmi.id="p1" name="item">
       <UML:Parameter.type><Foundation.Core.Classifier xmi.idref="c"/></UML:Parameter.type>
      </UML:Parameter>
      <UML:Parameter xmi.id="p2" name="count">
       <UML:Parameter.type><Foundation.Core.Classifier xmi.idref="int"/></UML:Parameter.type>
      </UML:Parameter>
     </UML:BehavioralFeature.parameter>
    </UML:Operation>
   </UML:Classifier.feature>
  </UML:Class>
 </UML:Namespace.ownedElement>
</UML:Package>
<UML:DataType xmi.id="int" name="int"/>)"));

    ASSERT_NE(result->model, nullptr);
    EXPECT_EQ(namesOf(result->model->ownedElement), (std::vector<std::string>{"shop", "int"}));
    auto* package = find<UMLPackage>(*result, "p");
    ASSERT_NE(package, nullptr);
    ASSERT_EQ(package->ownedElement.size(), 1u);
    auto* cls = dynamic_cast<UMLClass*>(package->ownedElement[0]);
    ASSERT_NE(cls, nullptr);
    EXPECT_TRUE(cls->isActive);
    EXPECT_EQ(cls->namespace_, nullptr); // only an explicit namespace reference sets it

    ASSERT_EQ(cls->feature.size(), 2u);
    auto* attribute = dynamic_cast<UMLAttribute*>(cls->feature[0]);
    auto* operation = dynamic_cast<UMLOperation*>(cls->feature[1]);
    ASSERT_NE(attribute, nullptr);
    ASSERT_NE(operation, nullptr);
    EXPECT_EQ(attribute->visibility, "private");
    EXPECT_EQ(attribute->type, result->find("int")); // forward reference
    ASSERT_NE(attribute->multiplicity, nullptr);
    ASSERT_NE(attribute->multiplicity->range, nullptr);
    EXPECT_EQ(attribute->multiplicity->range->lower, 0);
    EXPECT_EQ(attribute->multiplicity->range->upper, -1);

    EXPECT_EQ(operation->visibility, "public");
    ASSERT_EQ(operation->parameter.size(), 2u);
    EXPECT_EQ(operation->parameter[0]->name, "item");
    EXPECT_EQ(operation->parameter[1]->name, "count");
    EXPECT_EQ(operation->parameter[0]->type, cls);
    EXPECT_EQ(operation->parameter[1]->type, result->find("int"));
}

TEST(StructureReaders, EveryOwnedElementTagCreatesItsOwnClass) {
    const std::vector<std::pair<std::string, std::string>> kinds = {
        {"UML:Dependency", "UMLDependency"},
        {"UML:Package", "UMLPackage"},
        {"UML:DataType", "UMLDataType"},
        {"UML:StateMachine", "UMLStateMachine"},
        {"UML:SignalEvent", "UMLSignalEvent"},
        {"UML:Signal", "UMLSignal"},
        {"UML:Class", "UMLClass"},
        {"UML:Interface", "UMLInterface"},
        {"UML:Association", "UMLAssociation"},
        {"UML:Collaboration", "UMLCollaboration"},
        {"UML:UninterpretedAction", "UMLUninterpretedAction"},
        {"UML:CallAction", "UMLCallAction"},
        {"UML:Subsystem", "UMLSubsystem"},
        {"UML:Model", "UMLModel"},
        {"UML:Stereotype", "UMLStereotype"},
        {"UML:Comment", "UMLComment"},
        {"UML:Actor", "UMLActor"},
        {"UML:UseCase", "UMLUseCase"},
        {"UML:Generalization", "UMLGeneralization"},
        {"UML:Abstraction", "UMLAbstraction"},
        {"UML:ClassifierRole", "UMLClassifierRole"},
        {"UML:AssociationRole", "UMLAssociationRole"},
        {"UML:Component", "UMLComponent"},
        {"UML:Node", "UMLNode"},
        {"UML:Parameter", "UMLParameter"},
        {"UML:ActivityGraph", "UMLActivityGraph"},
    };
    std::string owned;
    for (std::size_t i = 0; i < kinds.size(); ++i)
        owned += "<" + kinds[i].first + " xmi.id=\"e" + std::to_string(i) + "\" name=\"n" +
                 std::to_string(i) + "\"/>\n";
    LogCapture log;
    auto result = read(document(owned));
    EXPECT_TRUE(log.lines().empty());
    ASSERT_EQ(result->model->ownedElement.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const UMLModelElement* element = result->model->ownedElement[i];
        EXPECT_STREQ(umlClassName(element), kinds[i].second.c_str()) << kinds[i].first;
        EXPECT_EQ(element->id, "e" + std::to_string(i));
        EXPECT_EQ(element->name, "n" + std::to_string(i));
    }
}

TEST(StructureReaders, SubsystemReadsItsSharedPartOnce) {
    auto result = read(document(R"(
<UML:Subsystem xmi.id="s" name="core" isAbstract="true">
 <UML:Namespace.ownedElement>
  <UML:Class xmi.id="c1" name="A"/><UML:Class xmi.id="c2" name="B"/><UML:Class xmi.id="c3" name="C"/>
 </UML:Namespace.ownedElement>
 <UML:Classifier.feature><UML:Operation xmi.id="op" name="run"/></UML:Classifier.feature>
</UML:Subsystem>)"));
    auto* subsystem = find<UMLSubsystem>(*result, "s");
    ASSERT_NE(subsystem, nullptr);
    EXPECT_EQ(namesOf(subsystem->ownedElement), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_TRUE(subsystem->isAbstract);
    ASSERT_EQ(subsystem->feature.size(), 1u);
    // Seen as a package, the subsystem is the same namespace.
    auto* asPackage = find<UMLPackage>(*result, "s");
    ASSERT_NE(asPackage, nullptr);
    EXPECT_EQ(asPackage->ownedElement.size(), 3u);
}

TEST(StructureReaders, UnknownOwnedTagIsLoggedOnceAndSkipped) {
    LogCapture log;
    auto result = read(document(R"(
<UML:Class xmi.id="a" name="A"/>
<UML:Enumeration xmi.id="en" name="Colour">
 <UML:Enumeration.literal><UML:EnumerationLiteral xmi.id="red" name="red"/></UML:Enumeration.literal>
</UML:Enumeration>
<UML:Class xmi.id="b" name="B"/>)"));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"Unknown component <UML:Enumeration> in namespace"}));
    EXPECT_EQ(namesOf(result->model->ownedElement), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(result->find("en"), nullptr);
}

TEST(StructureReaders, NameChildIsTrimmedAndWinsOverTheAttribute) {
    auto result = read(document(R"(
<UML:Class xmi.id="c" name="Attr"><UML:ModelElement.name>  Order
</UML:ModelElement.name></UML:Class>
<UML:Class xmi.id="blank" name="Attr"><UML:ModelElement.name>
	 </UML:ModelElement.name></UML:Class>)"));
    EXPECT_EQ(find<UMLClass>(*result, "c")->name, "Order");
    EXPECT_EQ(find<UMLClass>(*result, "blank")->name, "");
}

TEST(StructureReaders, MalformedBooleanFlagsAbortTheRead) {
    const std::string message = "Invalid UML boolean value encountered";
    EXPECT_EQ(readError(document(R"(<UML:Class xmi.id="c" isAbstract="yes"/>)")), message);
    EXPECT_EQ(readError(document(R"(<UML:Class xmi.id="c" isActive="True"/>)")), message);
    EXPECT_EQ(readError(document(R"(<UML:Association xmi.id="a"><UML:Association.connection>
        <UML:AssociationEnd xmi.id="e" isNavigable=" true"/></UML:Association.connection></UML:Association>)")),
              message);
    EXPECT_EQ(readError(document(R"(<UML:Package xmi.id="p"><UML:Namespace.ownedElement>
        <UML:Interface xmi.id="i" isLeaf=""/></UML:Namespace.ownedElement></UML:Package>)")),
              message);
}

TEST(StructureReaders, AssociationEndsResolveForwardTypesAndKeepTheirKind) {
    auto result = read(document(R"(
<UML:Association xmi.id="as" name="owns">
 <UML:Association.connection>
  <UML:AssociationEnd xmi.id="e1" isNavigable="true" isOrdered="false" aggregation="composite" changeable="frozen">
   <UML:AssociationEnd.multiplicity><UML:Multiplicity><UML:Multiplicity.range>
    <UML:MultiplicityRange lower="1" upper="1"/><UML:MultiplicityRange lower="2" upper="7"/>
   </UML:Multiplicity.range></UML:Multiplicity></UML:AssociationEnd.multiplicity>
   <UML:AssociationEnd.type><Foundation.Core.Classifier xmi.idref="later"/></UML:AssociationEnd.type>
  </UML:AssociationEnd>
  <UML:AssociationEndRole xmi.id="e2" isOrdered="true">
   <UML:AssociationEnd.type><Foundation.Core.Classifier xmi.idref="missing"/></UML:AssociationEnd.type>
  </UML:AssociationEndRole>
 </UML:Association.connection>
</UML:Association>
<UML:Class xmi.id="later" name="Later"/>)"));
    auto* association = find<UMLAssociation>(*result, "as");
    ASSERT_NE(association, nullptr);
    ASSERT_EQ(association->connection.size(), 2u);
    UMLAssociationEnd* first = association->connection[0];
    UMLAssociationEnd* second = association->connection[1];
    EXPECT_STREQ(umlClassName(first), "UMLAssociationEnd");
    EXPECT_STREQ(umlClassName(second), "UMLAssociationEndRole");
    EXPECT_TRUE(first->isNavigable);
    EXPECT_FALSE(first->isOrdered);
    EXPECT_EQ(first->aggregation, "composite");
    EXPECT_EQ(first->changeable, "frozen");
    EXPECT_EQ(first->type, result->find("later"));
    ASSERT_NE(first->multiplicity, nullptr);
    ASSERT_NE(first->multiplicity->range, nullptr); // the last range wins
    EXPECT_EQ(first->multiplicity->range->lower, 2);
    EXPECT_EQ(first->multiplicity->range->upper, 7);
    EXPECT_TRUE(second->isOrdered);
    EXPECT_EQ(second->type, nullptr);
    EXPECT_EQ(second->multiplicity, nullptr);
}

TEST(StructureReaders, RelationsCommentsAndStereotypesResolveTheirReferences) {
    auto result = read(document(R"(
<UML:Class xmi.id="base" name="Base">
 <UML:ModelElement.namespace><Foundation.Core.Namespace xmi.idref="model"/></UML:ModelElement.namespace>
 <UML:ModelElement.supplierDependency>
  <Foundation.Core.Dependency xmi.idref="dep"/><Foundation.Core.Dependency xmi.idref="abs"/>
 </UML:ModelElement.supplierDependency>
</UML:Class>
<UML:Class xmi.id="derived" name="Derived">
 <UML:ModelElement.clientDependency><Foundation.Core.Dependency xmi.idref="dep"/></UML:ModelElement.clientDependency>
</UML:Class>
<UML:Generalization xmi.id="gen">
 <UML:Generalization.child><Foundation.Core.GeneralizableElement xmi.idref="derived"/></UML:Generalization.child>
 <UML:Generalization.parent><Foundation.Core.Classifier xmi.idref="derived"/><Foundation.Core.GeneralizableElement xmi.idref="base"/></UML:Generalization.parent>
</UML:Generalization>
<UML:Dependency xmi.id="dep">
 <UML:Dependency.client><Foundation.Core.ModelElement xmi.idref="derived"/></UML:Dependency.client>
 <UML:Dependency.supplier><Foundation.Core.ModelElement xmi.idref="base"/><Foundation.Core.ModelElement xmi.idref="note"/></UML:Dependency.supplier>
</UML:Dependency>
<UML:Abstraction xmi.id="abs">
 <UML:Dependency.supplier><Foundation.Core.ModelElement xmi.idref="base"/></UML:Dependency.supplier>
</UML:Abstraction>
<UML:Comment xmi.id="note" name="see">
 <UML:Comment.annotatedElement><Foundation.Core.ModelElement xmi.idref="base"/></UML:Comment.annotatedElement>
 <UML:Comment.annotatedElement><Foundation.Core.ModelElement xmi.idref="derived"/></UML:Comment.annotatedElement>
</UML:Comment>
<UML:Stereotype xmi.id="st" name="entity">
 <UML:Stereotype.extendedElement>
  <Foundation.Core.ModelElement xmi.idref="base"/><Foundation.Core.ModelElement xmi.idref="derived"/>
 </UML:Stereotype.extendedElement>
</UML:Stereotype>)"));
    auto* base = find<UMLClass>(*result, "base");
    auto* derived = find<UMLClass>(*result, "derived");
    auto* dep = find<UMLDependency>(*result, "dep");
    auto* abs = find<UMLAbstraction>(*result, "abs");
    ASSERT_TRUE(base && derived && dep && abs);
    EXPECT_EQ(base->namespace_, result->model);
    EXPECT_EQ(base->supplierDependency, (UMLElementRefList{dep, abs}));
    EXPECT_EQ(derived->clientDependency, (UMLElementRefList{dep}));

    auto* gen = find<UMLGeneralization>(*result, "gen");
    EXPECT_EQ(gen->child, derived);
    EXPECT_EQ(gen->parent, base); // only the tagged reference counts
    EXPECT_EQ(dep->client, (UMLElementRefList{derived}));
    // The backward reference is resolved at once, the forward one at the end.
    EXPECT_EQ(dep->supplier, (UMLElementRefList{base, find<UMLModelElement>(*result, "note")}));
    EXPECT_EQ(abs->supplier, (UMLElementRefList{base}));
    // One annotated element only: the later reference overwrites the earlier.
    EXPECT_EQ(find<UMLComment>(*result, "note")->annotatedElement, derived);
    EXPECT_EQ(find<UMLStereotype>(*result, "st")->extendedElement,
              (UMLElementRefList{base, derived}));
}

TEST(StructureReaders, ObjectsWithoutIdsAreOwnedByTheResult) {
    // Multiplicities and their ranges carry no id; a replaced multiplicity stays owned
    // too, so the sanitizer build sees no leak here.
    auto result = read(document(R"(
<UML:Class xmi.id="c"><UML:Classifier.feature><UML:Attribute>
 <UML:StructuralFeature.multiplicity>
  <UML:Multiplicity><UML:Multiplicity.range><UML:MultiplicityRange lower="1" upper="1"/></UML:Multiplicity.range></UML:Multiplicity>
  <UML:Multiplicity><UML:Multiplicity.range><UML:MultiplicityRange lower="3"/></UML:Multiplicity.range></UML:Multiplicity>
 </UML:StructuralFeature.multiplicity>
</UML:Attribute></UML:Classifier.feature></UML:Class>)"));
    auto* cls = find<UMLClass>(*result, "c");
    ASSERT_EQ(cls->feature.size(), 1u);
    auto* attribute = dynamic_cast<UMLAttribute*>(cls->feature[0]);
    ASSERT_NE(attribute->multiplicity, nullptr);
    EXPECT_EQ(attribute->multiplicity->range->lower, 3);
    EXPECT_EQ(attribute->multiplicity->range->upper, 1); // absent bound keeps its default
    EXPECT_EQ(attribute->id, "");
}
