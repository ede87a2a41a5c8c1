// The bundled web shop example must load cleanly: every reference resolves, every
// diagram element shows a model element, and the diagrams hold what a new user expects.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "common/Log.h"
#include "common/TestSupport.h"
#include "xmi/XMIParser.h"
#include "xmi/XMIReader.h"

namespace {

const std::string examplePath = std::string(BRENNIMORE_SOURCE_DIR) + "/examples/webshop.xmi";

class ExampleModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::unique_ptr<XMINode> root = parseFile(examplePath);
        ASSERT_TRUE(root);
        XMIReader reader;
        reader.read(root.get());
        result = reader.takeResult();
    }

    template <class T> T* find(const std::string& id) { return dynamic_cast<T*>(result->find(id)); }

    XmlParserSession session;
    MessageRecorder messages;
    LogCapture log;
    std::unique_ptr<XMIResult> result;
};

TEST_F(ExampleModelTest, LoadsWithoutMessagesOrUnresolvedReferences) {
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
    ASSERT_TRUE(result->model);
    EXPECT_EQ(result->model->name, "WebShop");
}

TEST_F(ExampleModelTest, DiagramsCoverEveryKindAndShowOnlyModelElements) {
    std::map<std::string, std::string> types;
    for (const UMLDiagram* diagram : result->diagrams) {
        types[diagram->name] = diagram->diagramType;
        EXPECT_GE(diagram->element.size(), 5u) << diagram->name;
        for (const UMLDiagramElement* element : diagram->element)
            EXPECT_TRUE(element->subject) << diagram->name << " " << element->id;
    }
    EXPECT_EQ(types, (std::map<std::string, std::string>{{"Shop Overview", "ClassDiagram"},
                                                         {"Shopping", "UseCaseDiagram"},
                                                         {"Order Lifecycle", "StateDiagram"},
                                                         {"Checkout", "SequenceDiagram"},
                                                         {"Packages", "ClassDiagram"}}));
}

TEST_F(ExampleModelTest, ClassDiagramRelationsAreComplete) {
    auto* composition = find<UMLAssociation>("as.Cart.Item");
    ASSERT_TRUE(composition);
    ASSERT_EQ(composition->connection.size(), 2u);
    auto* whole = dynamic_cast<UMLAssociationEnd*>(composition->connection[0]);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->aggregation, "composite");
    EXPECT_EQ(whole->type, find<UMLClass>("cls.ShoppingCart"));

    auto* reflexive = find<UMLAssociation>("as.Category.Sub");
    ASSERT_TRUE(reflexive);
    auto* parent = dynamic_cast<UMLAssociationEnd*>(reflexive->connection.at(0));
    auto* children = dynamic_cast<UMLAssociationEnd*>(reflexive->connection.at(1));
    ASSERT_TRUE(parent && children);
    EXPECT_EQ(parent->type, children->type);
    ASSERT_TRUE(children->multiplicity && children->multiplicity->range);
    EXPECT_EQ(children->multiplicity->range->upper, -1);

    auto* ternary = find<UMLAssociation>("as.Delivery");
    ASSERT_TRUE(ternary);
    ASSERT_EQ(ternary->connection.size(), 3u);
    for (UMLAssociationEnd* end : ternary->connection)
        EXPECT_TRUE(end && end->type) << "every end of the three-way association has its class";

    auto* generalization = find<UMLGeneralization>("gen.Digital");
    ASSERT_TRUE(generalization);
    EXPECT_EQ(generalization->parent, find<UMLClass>("cls.Product"));
    auto* realization = find<UMLAbstraction>("abs.CreditCard");
    ASSERT_TRUE(realization);
    ASSERT_EQ(realization->supplier.size(), 1u);
    EXPECT_EQ(realization->supplier[0], find<UMLInterface>("if.PaymentMethod"));
    auto* note = find<UMLComment>("note.Money");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->annotatedElement, find<UMLDataType>("dt.Money"));
}

TEST_F(ExampleModelTest, BehaviourIsConnected) {
    auto* machine = find<UMLStateMachine>("sm.OrderLifecycle");
    ASSERT_TRUE(machine && machine->top);
    EXPECT_EQ(machine->top->subvertex.size(), 7u);
    std::set<const UMLModelElement*> selfTransitions;
    for (const UMLTransition* transition : machine->transitions) {
        EXPECT_TRUE(transition->source && transition->target) << transition->id;
        if (transition->source == transition->target)
            selfTransitions.insert(transition);
    }
    EXPECT_EQ(selfTransitions.size(), 1u);

    auto* collaboration = find<UMLCollaboration>("col.Checkout");
    ASSERT_TRUE(collaboration);
    ASSERT_EQ(collaboration->interaction.size(), 1u);
    int selfMessages = 0;
    for (const UMLMessage* message : collaboration->interaction[0]->message) {
        ASSERT_TRUE(message->sender && message->receiver) << message->id;
        if (message->sender == message->receiver)
            ++selfMessages;
    }
    EXPECT_EQ(selfMessages, 1);
    auto* role = find<UMLClassifierRole>("role.Cart");
    ASSERT_TRUE(role);
    EXPECT_EQ(role->base, find<UMLClass>("cls.ShoppingCart"));
}

} // namespace
