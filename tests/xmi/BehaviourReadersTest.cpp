#include <gtest/gtest.h>

#include "common/Log.h"
#include "xmi/ReadersTestSupport.h"

using readertest::document;
using readertest::find;
using readertest::read;
using readertest::readError;

namespace {
std::vector<std::string> classesOf(const std::vector<UMLStateVertex*>& vertices) {
    std::vector<std::string> names;
    for (const UMLStateVertex* v : vertices)
        names.push_back(umlClassName(v));
    return names;
}

// A state machine whose transitions are listed before the states they connect.
const char* const stateMachine = R"(
<UML:Class xmi.id="ctx" name="Door"/>
<UML:StateMachine xmi.id="sm" name="life">
 <UML:StateMachine.context><Foundation.Core.ModelElement xmi.idref="ctx"/></UML:StateMachine.context>
 <UML:StateMachine.transitions>
  <UML:Transition xmi.id="t1" name="open">
   <UML:Transition.source><Behavioral_Elements.State_Machines.StateVertex xmi.idref="closed"/></UML:Transition.source>
   <UML:Transition.target><Behavioral_Elements.State_Machines.StateVertex xmi.idref="opened"/></UML:Transition.target>
   <UML:Transition.trigger><Behavioral_Elements.State_Machines.Event xmi.idref="ev"/></UML:Transition.trigger>
   <UML:Transition.guard><UML:Guard xmi.id="g1"><UML:Guard.expression>
    <UML:BooleanExpression body="unlocked" language="OCL"/>
   </UML:Guard.expression></UML:Guard></UML:Transition.guard>
   <UML:Transition.effect><UML:ActionSequence xmi.id="seq">
    <UML:ActionSequence.action>
     <UML:UninterpretedAction xmi.id="u1" isAsynchronous="true"/>
     <UML:CallAction xmi.id="call"/>
     <UML:SendAction xmi.id="send1"/>
    </UML:ActionSequence.action>
   </UML:ActionSequence></UML:Transition.effect>
  </UML:Transition>
  <UML:Transition xmi.id="t2" name="close">
   <UML:Transition.source><Behavioral_Elements.State_Machines.StateVertex xmi.idref="opened"/></UML:Transition.source>
   <UML:Transition.target><Behavioral_Elements.State_Machines.StateVertex xmi.idref="closed"/></UML:Transition.target>
   <UML:Transition.guard><UML:Guard xmi.id="g2"/></UML:Transition.guard>
  </UML:Transition>
  <UML:Transition xmi.id="t0">
   <UML:Transition.source><Behavioral_Elements.State_Machines.StateVertex xmi.idref="init"/></UML:Transition.source>
   <UML:Transition.target><Behavioral_Elements.State_Machines.StateVertex xmi.idref="closed"/></UML:Transition.target>
  </UML:Transition>
 </UML:StateMachine.transitions>
 <UML:StateMachine.top>
  <UML:CompositeState xmi.id="top" name="top">
   <UML:CompositeState.subvertex>
    <UML:Pseudostate xmi.id="init" kind="initial">
     <UML:StateVertex.outgoing><Behavioral_Elements.State_Machines.Transition xmi.idref="t0"/></UML:StateVertex.outgoing>
    </UML:Pseudostate>
    <UML:SimpleState xmi.id="closed" name="Closed">
     <UML:StateVertex.outgoing><Behavioral_Elements.State_Machines.Transition xmi.idref="t1"/></UML:StateVertex.outgoing>
     <UML:StateVertex.incoming>
      <Behavioral_Elements.State_Machines.Transition xmi.idref="t2"/>
      <Behavioral_Elements.State_Machines.Transition xmi.idref="t0"/>
     </UML:StateVertex.incoming>
     <UML:State.entry><UML:ActionSequence xmi.id="entry">
      <UML:ActionSequence.action><UML:SendAction xmi.id="send2"/></UML:ActionSequence.action>
     </UML:ActionSequence></UML:State.entry>
    </UML:SimpleState>
    <UML:SimpleState xmi.id="opened" name="Opened">
     <UML:StateVertex.outgoing><Behavioral_Elements.State_Machines.Transition xmi.idref="t2"/></UML:StateVertex.outgoing>
    </UML:SimpleState>
    <UML:FinalState xmi.id="final"/>
    <UML:CompositeState xmi.id="nested" name="Service">
     <UML:CompositeState.subvertex>
      <UML:SimpleState xmi.id="oiling" name="Oiling"/>
      <UML:CompositeState xmi.id="deep"><UML:CompositeState.subvertex>
       <UML:Pseudostate xmi.id="deepInit"/>
      </UML:CompositeState.subvertex></UML:CompositeState>
     </UML:CompositeState.subvertex>
    </UML:CompositeState>
   </UML:CompositeState.subvertex>
  </UML:CompositeState>
 </UML:StateMachine.top>
</UML:StateMachine>
<UML:SignalEvent xmi.id="ev" name="push">
 <UML:SignalEvent.signal><Behavioral_Elements.Common_Behavior.Signal xmi.idref="sig"/></UML:SignalEvent.signal>
</UML:SignalEvent>
<UML:Signal xmi.id="sig" name="Push"/>)";
} // namespace

TEST(BehaviourReaders, StateMachineTopHoldsPseudostateStatesAndNestedComposite) {
    auto result = read(document(stateMachine));
    auto* machine = find<UMLStateMachine>(*result, "sm");
    ASSERT_NE(machine, nullptr);
    EXPECT_EQ(machine->context, result->find("ctx"));
    ASSERT_NE(machine->top, nullptr);
    EXPECT_EQ(machine->top->id, "top");
    // The final state is not a kind the reader knows; it is skipped silently.
    EXPECT_EQ(classesOf(machine->top->subvertex),
              (std::vector<std::string>{"UMLPseudostate", "UMLSimpleState", "UMLSimpleState",
                                        "UMLCompositeState"}));
    auto* nested = dynamic_cast<UMLCompositeState*>(machine->top->subvertex[3]);
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(classesOf(nested->subvertex),
              (std::vector<std::string>{"UMLSimpleState", "UMLCompositeState"}));
    auto* deep = dynamic_cast<UMLCompositeState*>(nested->subvertex[1]);
    ASSERT_EQ(deep->subvertex.size(), 1u);
    EXPECT_EQ(deep->subvertex[0], result->find("deepInit"));
}

TEST(BehaviourReaders, TransitionsListedBeforeTheirStatesAreConnected) {
    auto result = read(document(stateMachine));
    auto* machine = find<UMLStateMachine>(*result, "sm");
    ASSERT_EQ(machine->transitions.size(), 3u);
    UMLTransition* open = machine->transitions[0];
    UMLTransition* close = machine->transitions[1];
    UMLModelElement* closed = find<UMLSimpleState>(*result, "closed");
    UMLModelElement* opened = find<UMLSimpleState>(*result, "opened");
    EXPECT_EQ(open->source, closed);
    EXPECT_EQ(open->target, opened);
    EXPECT_EQ(close->source, opened);
    EXPECT_EQ(close->target, closed);
    EXPECT_EQ(open->trigger, result->find("ev"));
    EXPECT_EQ(find<UMLSignalEvent>(*result, "ev")->signal, result->find("sig"));

    auto* closedState = find<UMLSimpleState>(*result, "closed");
    EXPECT_EQ(closedState->outgoing, (UMLElementRefList{open}));
    EXPECT_EQ(closedState->incoming, (UMLElementRefList{close, machine->transitions[2]}));
    EXPECT_EQ(find<UMLPseudostate>(*result, "init")->outgoing,
              (UMLElementRefList{machine->transitions[2]}));
}

TEST(BehaviourReaders, GuardsExpressionsAndActionSequences) {
    auto result = read(document(stateMachine));
    auto* machine = find<UMLStateMachine>(*result, "sm");
    UMLTransition* open = machine->transitions[0];
    UMLTransition* close = machine->transitions[1];

    ASSERT_NE(open->guard, nullptr);
    ASSERT_NE(open->guard->expression, nullptr);
    EXPECT_EQ(open->guard->expression->body, "unlocked");
    ASSERT_NE(close->guard, nullptr);
    EXPECT_EQ(close->guard->expression, nullptr);
    EXPECT_EQ(close->effect, nullptr);
    EXPECT_EQ(machine->transitions[2]->guard, nullptr);

    // Uninterpreted and send actions are kept, the call action is dropped.
    ASSERT_NE(open->effect, nullptr);
    ASSERT_EQ(open->effect->action.size(), 2u);
    EXPECT_STREQ(umlClassName(open->effect->action[0]), "UMLUninterpretedAction");
    EXPECT_TRUE(open->effect->action[0]->isAsynchronous);
    EXPECT_STREQ(umlClassName(open->effect->action[1]), "UMLSendAction");
    EXPECT_FALSE(open->effect->action[1]->isAsynchronous);
    EXPECT_EQ(result->find("call"), nullptr);

    auto* closedState = find<UMLSimpleState>(*result, "closed");
    ASSERT_NE(closedState->entry, nullptr);
    ASSERT_EQ(closedState->entry->action.size(), 1u);
    EXPECT_EQ(closedState->entry->action[0]->id, "send2");
}

TEST(BehaviourReaders, ActivityGraphIsReadLikeAStateMachine) {
    auto result = read(document(R"(
<UML:ActivityGraph xmi.id="ag" name="flow">
 <UML:StateMachine.top><UML:CompositeState xmi.id="first"/><UML:CompositeState xmi.id="top">
  <UML:CompositeState.subvertex><UML:SimpleState xmi.id="act"/></UML:CompositeState.subvertex>
 </UML:CompositeState></UML:StateMachine.top>
</UML:ActivityGraph>)"));
    auto* graph = find<UMLActivityGraph>(*result, "ag");
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(graph->top, nullptr);
    EXPECT_EQ(graph->top->id, "top"); // the last top state wins
    EXPECT_EQ(graph->top->subvertex.size(), 1u);
}

TEST(BehaviourReaders, ActionsInANamespace) {
    LogCapture log;
    auto result = read(document(R"(
<UML:SendAction xmi.id="send"/>
<UML:CallAction xmi.id="call" isAsynchronous="true"/>
<UML:UninterpretedAction xmi.id="script"/>)"));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"Unknown component <UML:SendAction> in namespace"}));
    EXPECT_EQ(result->find("send"), nullptr);
    ASSERT_EQ(result->model->ownedElement.size(), 2u);
    EXPECT_TRUE(find<UMLCallAction>(*result, "call")->isAsynchronous);

    EXPECT_EQ(readError(document(R"(<UML:CallAction xmi.id="c" isAsynchronous="1"/>)")),
              "Invalid UML boolean value encountered");
    EXPECT_EQ(readError(document(R"(<UML:StateMachine xmi.id="sm"><UML:StateMachine.transitions>
        <UML:Transition><UML:Transition.effect><UML:ActionSequence><UML:ActionSequence.action>
        <UML:SendAction isAsynchronous="no"/></UML:ActionSequence.action></UML:ActionSequence>
        </UML:Transition.effect></UML:Transition></UML:StateMachine.transitions></UML:StateMachine>)")),
              "Invalid UML boolean value encountered");
}

TEST(BehaviourReaders, CollaborationWithRolesInteractionsAndMessages) {
    LogCapture log;
    auto result = read(document(R"(
<UML:Class xmi.id="shop" name="Shop"><UML:Classifier.feature><UML:Operation xmi.id="buy"/></UML:Classifier.feature></UML:Class>
<UML:Collaboration xmi.id="col" name="purchase">
 <UML:Namespace.ownedElement>
  <UML:ClassifierRole xmi.id="r1" name="customer">
   <UML:ClassifierRole.multiplicity><UML:Multiplicity><UML:Multiplicity.range>
    <UML:MultiplicityRange lower="1" upper="-1"/></UML:Multiplicity.range></UML:Multiplicity>
   </UML:ClassifierRole.multiplicity>
   <UML:ClassifierRole.base><Foundation.Core.Classifier xmi.idref="shop"/></UML:ClassifierRole.base>
   <UML:ClassifierRole.availableFeature>
    <Foundation.Core.Feature xmi.idref="buy"/><Foundation.Core.Feature xmi.idref="other"/>
   </UML:ClassifierRole.availableFeature>
   <UML:ClassifierRole.message2>
    <Behavioral_Elements.Collaborations.Message xmi.idref="m1"/>
    <Behavioral_Elements.Collaborations.Message xmi.idref="m2"/>
   </UML:ClassifierRole.message2>
  </UML:ClassifierRole>
  <UML:ClassifierRole xmi.id="r2" name="clerk">
   <UML:ClassifierRole.message1><Behavioral_Elements.Collaborations.Message xmi.idref="m1"/></UML:ClassifierRole.message1>
   <UML:ClassifierRole.message1><Behavioral_Elements.Collaborations.Message xmi.idref="m2"/></UML:ClassifierRole.message1>
  </UML:ClassifierRole>
  <UML:AssociationRole xmi.id="ar">
   <UML:Association.connection>
    <UML:AssociationEndRole xmi.id="ar1"><UML:AssociationEnd.type><Foundation.Core.Classifier xmi.idref="r1"/></UML:AssociationEnd.type></UML:AssociationEndRole>
    <UML:AssociationEndRole xmi.id="ar2"><UML:AssociationEnd.type><Foundation.Core.Classifier xmi.idref="r2"/></UML:AssociationEnd.type></UML:AssociationEndRole>
   </UML:Association.connection>
   <UML:AssociationRole.multiplicity><UML:Multiplicity><UML:Multiplicity.range>
    <UML:MultiplicityRange lower="0" upper="4"/></UML:Multiplicity.range></UML:Multiplicity>
   </UML:AssociationRole.multiplicity>
  </UML:AssociationRole>
 </UML:Namespace.ownedElement>
 <UML:Collaboration.interaction>
  <UML:Interaction xmi.id="in">
   <UML:Interaction.message>
    <UML:Message xmi.id="m1" name="order">
     <UML:Message.sender><Behavioral_Elements.Collaborations.ClassifierRole xmi.idref="r1"/></UML:Message.sender>
     <UML:Message.receiver><Behavioral_Elements.Collaborations.ClassifierRole xmi.idref="r2"/></UML:Message.receiver>
     <UML:Message.action><Behavioral_Elements.Common_Behavior.Action xmi.idref="act"/></UML:Message.action>
    </UML:Message>
    <UML:Message xmi.id="m2" name="pay"/>
    <UML:Message xmi.id="m3" name="ship">
     <UML:Message.predecessor>
      <Behavioral_Elements.Collaborations.Message xmi.idref="m2"/>
      <Behavioral_Elements.Collaborations.Message xmi.idref="m1"/>
     </UML:Message.predecessor>
    </UML:Message>
   </UML:Interaction.message>
  </UML:Interaction>
 </UML:Collaboration.interaction>
</UML:Collaboration>
<UML:UninterpretedAction xmi.id="act"/>)"));
    EXPECT_TRUE(log.lines().empty());
    auto* collaboration = find<UMLCollaboration>(*result, "col");
    ASSERT_NE(collaboration, nullptr);
    EXPECT_EQ(collaboration->ownedElement.size(), 3u);
    ASSERT_EQ(collaboration->interaction.size(), 1u);
    UMLInteraction* interaction = collaboration->interaction[0];
    ASSERT_EQ(interaction->message.size(), 3u);
    UMLMessage* m1 = interaction->message[0];
    UMLMessage* m2 = interaction->message[1];
    UMLMessage* m3 = interaction->message[2];
    auto* r1 = find<UMLClassifierRole>(*result, "r1");
    auto* r2 = find<UMLClassifierRole>(*result, "r2");
    EXPECT_EQ(m1->sender, r1);
    EXPECT_EQ(m1->receiver, r2);
    EXPECT_EQ(m1->action, result->find("act"));
    EXPECT_EQ(m3->predecessor, (UMLElementRefList{m2})); // only the first of one element

    EXPECT_EQ(r1->base, result->find("shop"));
    ASSERT_NE(r1->multiplicity, nullptr);
    EXPECT_EQ(r1->multiplicity->range->upper, -1);
    EXPECT_EQ(r1->availableFeature, (UMLElementRefList{find<UMLModelElement>(*result, "buy")}));
    EXPECT_EQ(r1->message2, (UMLElementRefList{m1}));
    EXPECT_EQ(r2->message1, (UMLElementRefList{m1, m2})); // one per element

    auto* role = find<UMLAssociationRole>(*result, "ar");
    ASSERT_NE(role, nullptr);
    ASSERT_EQ(role->connection.size(), 2u);
    EXPECT_STREQ(umlClassName(role->connection[0]), "UMLAssociationEndRole");
    EXPECT_EQ(role->connection[1]->type, r2);
    ASSERT_NE(role->multiplicity, nullptr);
    EXPECT_EQ(role->multiplicity->range->upper, 4);
}
