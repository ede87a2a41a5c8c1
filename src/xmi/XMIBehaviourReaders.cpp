// Readers for the behaviour of a model: state machines and activity graphs with their
// states and transitions, guards, actions and events, and collaborations with their
// interactions, messages and roles.
#include "xmi/XMIElementReaders.h"

using namespace xmiread;

namespace {
const char* const transitionTag = "Behavioral_Elements.State_Machines.Transition";
const char* const messageTag = "Behavioral_Elements.Collaborations.Message";

// The "UML:ActionSequence" children of a holder such as "UML:State.entry"; the last wins.
void readActionSequenceHolder(XMIReader& reader, const XMINode* holder, UMLActionSequence** slot) {
    readChildren(reader, holder, storeIn(*slot),
                 ChildKind<UMLActionSequence, readActionSequence>{"UML:ActionSequence"});
}
} // namespace

UMLStateMachine* readStateMachine(XMIReader& reader, XMINode* node, UMLStateMachine* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        const std::string_view tag = child->name;
        if (tag == "UML:StateMachine.context") {
            resolveSingle(reader, child, "Foundation.Core.ModelElement", &element->context);
        } else if (tag == "UML:StateMachine.top") {
            readChildren(reader, child, storeIn(element->top),
                         ChildKind<UMLCompositeState, readCompositeState>{"UML:CompositeState"});
        } else if (tag == "UML:StateMachine.transitions") {
            readChildren(reader, child, appendTo(element->transitions),
                         ChildKind<UMLTransition, readTransition>{"UML:Transition"});
        }
    }
    resolveAttributeSingle(reader, node, "UML:StateMachine.context", "context", &element->context);
    return element;
}

UMLStateVertex* readStateVertex(XMIReader& reader, XMINode* node, UMLStateVertex* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:StateVertex.outgoing")
            resolveEach(reader, child, transitionTag, &element->outgoing);
        else if (child->name == "UML:StateVertex.incoming")
            resolveEach(reader, child, transitionTag, &element->incoming);
    }
    resolveAttributeList(reader, node, "UML:StateVertex.outgoing", "outgoing", &element->outgoing);
    resolveAttributeList(reader, node, "UML:StateVertex.incoming", "incoming", &element->incoming);
    return element;
}

UMLState* readState(XMIReader& reader, XMINode* node, UMLState* element) {
    readStateVertex(reader, node, element);
    // Exit and do activities are not part of the model.
    for (const auto& child : node->children) {
        if (child->name == "UML:State.entry")
            readActionSequenceHolder(reader, child, &element->entry);
    }
    return element;
}

UMLCompositeState* readCompositeState(XMIReader& reader, XMINode* node,
                                      UMLCompositeState* element) {
    readState(reader, node, element);
    readHeldChildren(reader, node, "UML:CompositeState.subvertex", appendTo(element->subvertex),
                     ChildKind<UMLPseudostate, readStateVertex>{"UML:Pseudostate"},
                     ChildKind<UMLSimpleState, readState>{"UML:SimpleState"},
                     ChildKind<UMLCompositeState, readCompositeState>{"UML:CompositeState"});
    return element;
}

UMLTransition* readTransition(XMIReader& reader, XMINode* node, UMLTransition* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        const std::string_view tag = child->name;
        if (tag == "UML:Transition.trigger") {
            resolveSingle(reader, child, "Behavioral_Elements.State_Machines.Event",
                          &element->trigger);
        } else if (tag == "UML:Transition.source") {
            resolveSingle(reader, child, "Behavioral_Elements.State_Machines.StateVertex",
                          &element->source);
        } else if (tag == "UML:Transition.target") {
            resolveSingle(reader, child, "Behavioral_Elements.State_Machines.StateVertex",
                          &element->target);
        } else if (tag == "UML:Transition.guard") {
            readChildren(reader, child, storeIn(element->guard),
                         ChildKind<UMLGuard, readGuard>{"UML:Guard"});
        } else if (tag == "UML:Transition.effect") {
            readActionSequenceHolder(reader, child, &element->effect);
        }
    }
    resolveAttributeSingle(reader, node, "UML:Transition.trigger", "trigger", &element->trigger);
    resolveAttributeSingle(reader, node, "UML:Transition.source", "source", &element->source);
    resolveAttributeSingle(reader, node, "UML:Transition.target", "target", &element->target);
    return element;
}

UMLGuard* readGuard(XMIReader& reader, XMINode* node, UMLGuard* element) {
    readModelElement(reader, node, element);
    readHeldChildren(
        reader, node, "UML:Guard.expression", storeIn(element->expression),
        ChildKind<UMLBooleanExpression, readBooleanExpression>{"UML:BooleanExpression"});
    return element;
}

UMLBooleanExpression* readBooleanExpression(XMIReader&, XMINode* node,
                                            UMLBooleanExpression* element) {
    if (const std::string_view* body = node->attribute("body"))
        element->body = *body;
    return element;
}

UMLAction* readAction(XMIReader& reader, XMINode* node, UMLAction* element) {
    readModelElement(reader, node, element);
    readFlag(node, "isAsynchronous", element->isAsynchronous);
    return element;
}

UMLActionSequence* readActionSequence(XMIReader& reader, XMINode* node,
                                      UMLActionSequence* element) {
    readModelElement(reader, node, element);
    // Call actions and other kinds are not kept in a sequence.
    readHeldChildren(reader, node, "UML:ActionSequence.action", appendTo(element->action),
                     ChildKind<UMLUninterpretedAction, readAction>{"UML:UninterpretedAction"},
                     ChildKind<UMLSendAction, readAction>{"UML:SendAction"});
    return element;
}

UMLSignalEvent* readSignalEvent(XMIReader& reader, XMINode* node, UMLSignalEvent* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:SignalEvent.signal")
            resolveSingle(reader, child, "Behavioral_Elements.Common_Behavior.Signal",
                          &element->signal);
    }
    resolveAttributeSingle(reader, node, "UML:SignalEvent.signal", "signal", &element->signal);
    return element;
}

UMLCollaboration* readCollaboration(XMIReader& reader, XMINode* node, UMLCollaboration* element) {
    readNamespace(reader, node, element);
    readHeldChildren(reader, node, "UML:Collaboration.interaction", appendTo(element->interaction),
                     ChildKind<UMLInteraction, readInteraction>{"UML:Interaction"});
    return element;
}

UMLInteraction* readInteraction(XMIReader& reader, XMINode* node, UMLInteraction* element) {
    readModelElement(reader, node, element);
    readHeldChildren(reader, node, "UML:Interaction.message", appendTo(element->message),
                     ChildKind<UMLMessage, readMessage>{"UML:Message"});
    return element;
}

UMLMessage* readMessage(XMIReader& reader, XMINode* node, UMLMessage* element) {
    readModelElement(reader, node, element);
    const char* const roleTag = "Behavioral_Elements.Collaborations.ClassifierRole";
    for (const auto& child : node->children) {
        const std::string_view tag = child->name;
        if (tag == "UML:Message.sender")
            resolveSingle(reader, child, roleTag, &element->sender);
        else if (tag == "UML:Message.receiver")
            resolveSingle(reader, child, roleTag, &element->receiver);
        else if (tag == "UML:Message.action")
            resolveSingle(reader, child, "Behavioral_Elements.Common_Behavior.Action",
                          &element->action);
        else if (tag == "UML:Message.predecessor")
            resolveFirst(reader, child, messageTag, &element->predecessor);
    }
    resolveAttributeSingle(reader, node, "UML:Message.sender", "sender", &element->sender);
    resolveAttributeSingle(reader, node, "UML:Message.receiver", "receiver", &element->receiver);
    resolveAttributeSingle(reader, node, "UML:Message.action", "action", &element->action);
    resolveAttributeList(reader, node, "UML:Message.predecessor", "predecessor",
                         &element->predecessor, true);
    return element;
}

UMLClassifierRole* readClassifierRole(XMIReader& reader, XMINode* node,
                                      UMLClassifierRole* element) {
    readClassifier(reader, node, element);
    for (const auto& child : node->children) {
        const std::string_view tag = child->name;
        if (tag == "UML:ClassifierRole.multiplicity")
            readMultiplicityHolder(reader, child, &element->multiplicity);
        else if (tag == "UML:ClassifierRole.base")
            resolveSingle(reader, child, "Foundation.Core.Classifier", &element->base);
        else if (tag == "UML:ClassifierRole.availableFeature")
            resolveFirst(reader, child, "Foundation.Core.Feature", &element->availableFeature);
        else if (tag == "UML:ClassifierRole.message1")
            resolveFirst(reader, child, messageTag, &element->message1);
        else if (tag == "UML:ClassifierRole.message2")
            resolveFirst(reader, child, messageTag, &element->message2);
    }
    resolveAttributeSingle(reader, node, "UML:ClassifierRole.base", "base", &element->base);
    resolveAttributeList(reader, node, "UML:ClassifierRole.availableFeature", "availableFeature",
                         &element->availableFeature, true);
    resolveAttributeList(reader, node, "UML:ClassifierRole.message1", "message1",
                         &element->message1, true);
    resolveAttributeList(reader, node, "UML:ClassifierRole.message2", "message2",
                         &element->message2, true);
    return element;
}

UMLAssociationRole* readAssociationRole(XMIReader& reader, XMINode* node,
                                        UMLAssociationRole* element) {
    readAssociation(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:AssociationRole.multiplicity")
            readMultiplicityHolder(reader, child, &element->multiplicity);
    }
    return element;
}
