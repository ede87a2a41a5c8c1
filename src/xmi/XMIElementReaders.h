#pragma once
// The element readers: each fills an already constructed element from its node and
// returns it. Readers of derived kinds run the reader of their base kind first, so the
// shared model-element part of an element is read exactly once, whatever its bases.
#include <cstdint>
#include <string>
#include <string_view>

#include "uml/UMLModel.h"
#include "xmi/XMINode.h"
#include "xmi/XMIReader.h"

// Static structure.
UMLModelElement* readModelElement(XMIReader& reader, XMINode* node, UMLModelElement* element);
UMLNamespace* readNamespace(XMIReader& reader, XMINode* node, UMLNamespace* element);
UMLGeneralizableElement* readGeneralizableElement(XMIReader& reader, XMINode* node,
                                                  UMLGeneralizableElement* element);
UMLClassifier* readClassifier(XMIReader& reader, XMINode* node, UMLClassifier* element);
UMLClass* readClass(XMIReader& reader, XMINode* node, UMLClass* element);
UMLFeature* readFeature(XMIReader& reader, XMINode* node, UMLFeature* element);
UMLStructuralFeature* readStructuralFeature(XMIReader& reader, XMINode* node,
                                            UMLStructuralFeature* element);
UMLOperation* readOperation(XMIReader& reader, XMINode* node, UMLOperation* element);
UMLParameter* readParameter(XMIReader& reader, XMINode* node, UMLParameter* element);
UMLAssociation* readAssociation(XMIReader& reader, XMINode* node, UMLAssociation* element);
UMLAssociationEnd* readAssociationEnd(XMIReader& reader, XMINode* node, UMLAssociationEnd* element);
UMLGeneralization* readGeneralization(XMIReader& reader, XMINode* node, UMLGeneralization* element);
UMLDependency* readDependency(XMIReader& reader, XMINode* node, UMLDependency* element);
UMLComment* readComment(XMIReader& reader, XMINode* node, UMLComment* element);
UMLStereotype* readStereotype(XMIReader& reader, XMINode* node, UMLStereotype* element);
UMLMultiplicity* readMultiplicity(XMIReader& reader, XMINode* node, UMLMultiplicity* element);

// Behaviour: state machines, actions, collaborations.
UMLStateMachine* readStateMachine(XMIReader& reader, XMINode* node, UMLStateMachine* element);
UMLStateVertex* readStateVertex(XMIReader& reader, XMINode* node, UMLStateVertex* element);
UMLState* readState(XMIReader& reader, XMINode* node, UMLState* element);
UMLCompositeState* readCompositeState(XMIReader& reader, XMINode* node, UMLCompositeState* element);
UMLTransition* readTransition(XMIReader& reader, XMINode* node, UMLTransition* element);
UMLGuard* readGuard(XMIReader& reader, XMINode* node, UMLGuard* element);
UMLBooleanExpression* readBooleanExpression(XMIReader& reader, XMINode* node,
                                            UMLBooleanExpression* element);
UMLAction* readAction(XMIReader& reader, XMINode* node, UMLAction* element);
UMLActionSequence* readActionSequence(XMIReader& reader, XMINode* node, UMLActionSequence* element);
UMLSignalEvent* readSignalEvent(XMIReader& reader, XMINode* node, UMLSignalEvent* element);
UMLCollaboration* readCollaboration(XMIReader& reader, XMINode* node, UMLCollaboration* element);
UMLInteraction* readInteraction(XMIReader& reader, XMINode* node, UMLInteraction* element);
UMLMessage* readMessage(XMIReader& reader, XMINode* node, UMLMessage* element);
UMLClassifierRole* readClassifierRole(XMIReader& reader, XMINode* node, UMLClassifierRole* element);
UMLAssociationRole* readAssociationRole(XMIReader& reader, XMINode* node,
                                        UMLAssociationRole* element);

// Diagrams. readDiagram normalises the coordinates (a third of the file's units, y up,
// centred on the origin) and sorts the elements into drawing order.
UMLDiagram* readDiagram(XMIReader& reader, XMINode* node);
UMLDiagramElement* readDiagramElement(XMIReader& reader, XMINode* node);

// The geometry and style attribute texts; both throw XMIParseException when malformed.
void parseDiagramGeometry(std::string_view text, UMLGeometry& geometry);
void parseDiagramStyle(std::string_view text, UMLStyle& style);
// Normalises the element boxes and the bounds, then sorts the elements into drawing
// order. A diagram without elements is left alone.
void normaliseDiagram(UMLDiagram& diagram);
void sortDiagramElements(UMLDiagram& diagram);

// Shared by the reader files.
namespace xmiread {
// "true"/"false" of the named attribute into the flag; absent leaves it as it is.
void readFlag(const XMINode* node, const char* attribute, bool& flag);
// The single reference held by the reference node's first typeTag child.
void resolveSingle(XMIReader& reader, const XMINode* refNode, const char* typeTag,
                   UMLModelElement** slot);
// Every typeTag child of the reference node adds its "xmi.idref" to the list.
void resolveEach(XMIReader& reader, const XMINode* refNode, const char* typeTag,
                 UMLElementRefList* list);
// Only the first typeTag child of the reference node is added to the list.
void resolveFirst(XMIReader& reader, const XMINode* refNode, const char* typeTag,
                  UMLElementRefList* list);
// Whether the node has a child element of that name.
bool hasChildNamed(const XMINode* node, const char* tag);
// The "xmi.idref" of the node's first child that carries one, whatever its tag; null if none.
const std::string_view* firstIdref(const XMINode* node);

// References written as attributes of the element itself (an id, or ids separated by
// blanks), as several tools write them instead of a holder child. Each applies only when
// the element has no child named holderTag, so a holder always takes precedence.
void resolveAttributeSingle(XMIReader& reader, const XMINode* node, const char* holderTag,
                            const char* attribute, UMLModelElement** slot);
// Every id of the attribute is added to the list, or only the first one.
void resolveAttributeList(XMIReader& reader, const XMINode* node, const char* holderTag,
                          const char* attribute, UMLElementRefList* list, bool firstOnly = false);
// An association end's type given by a "participant" holder (the later name of the same
// reference), read when the end has no holderTag child.
void resolveParticipant(XMIReader& reader, const XMINode* node, const char* holderTag,
                        UMLModelElement** slot);
// A multiplicity written as text in an attribute ("1", "0..1", "1..*", "*"), read when the
// element has no holderTag child; "*" as an upper bound reads as -1, a lone "*" as 0..*.
// Text of another form leaves the slot as it is.
void readMultiplicityAttribute(XMIReader& reader, const XMINode* node, const char* holderTag,
                               const char* attribute, UMLMultiplicity** slot);
// The bounds of a multiplicity text; false when the text has another form.
bool parseMultiplicityText(std::string_view text, std::int32_t& lower, std::int32_t& upper);

// The "UML:Multiplicity" children of a multiplicity holder; the last one wins.
void readMultiplicityHolder(XMIReader& reader, const XMINode* holder, UMLMultiplicity** slot);

// One kind of element that a holder node may list: its tag, the class created for it and
// the reader that fills the new object (the reader of that class or of a base class).
template <class T, auto Read> struct ChildKind { std::string_view tag; };

template <class T, auto Read, class Take>
bool readChildAs(XMIReader& reader, XMINode* node, Take& take, ChildKind<T, Read> kind) {
    if (node->name != kind.tag)
        return false;
    take(Read(reader, node, reader.create<T>()));
    return true;
}

// Every child of the holder whose tag is one of the kinds is created, read and handed to
// take, in document order; other children are passed over.
template <class Take, class... Kinds>
void readChildren(XMIReader& reader, const XMINode* holder, Take take, Kinds... kinds) {
    for (const auto& child : holder->children)
        (void)(readChildAs(reader, child, take, kinds) || ...);
}

// readChildren on each child of the node tagged holderTag.
template <class Take, class... Kinds>
void readHeldChildren(XMIReader& reader, const XMINode* node, const char* holderTag, Take take,
                      Kinds... kinds) {
    for (const auto& holder : node->children) {
        if (holder->name == holderTag)
            readChildren(reader, holder, take, kinds...);
    }
}

// Takes for readChildren: append each element to a list, or keep it in a slot (so that the
// last one wins).
template <class List> auto appendTo(List& list) {
    return [&list](auto* element) { list.push_back(element); };
}
template <class Slot> auto storeIn(Slot*& slot) {
    return [&slot](auto* element) { slot = element; };
}
} // namespace xmiread
