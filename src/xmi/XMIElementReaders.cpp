// Readers for the static structure of a model: model elements, namespaces with their
// owned elements, classifiers and features, associations, relations and stereotypes.
#include "xmi/XMIElementReaders.h"

#include "common/Log.h"
#include "common/Numbers.h"
#include "common/TextLines.h"
#include "xmi/XMIReader.h"

namespace {
std::string trimmed(std::string_view text) {
    return std::string(trimXmlBlanks(text));
}

// Creates an element of class T, fills it with the reader for its kind and hands it back
// as the model element that the namespace lists.
template <class T, class R, R* (*Reader)(XMIReader&, XMINode*, R*)>
UMLModelElement* createAndRead(XMIReader& reader, XMINode* node) {
    T* element = reader.create<T>();
    Reader(reader, node, element);
    return element;
}

struct OwnedElementKind {
    std::string_view tag;
    UMLModelElement* (*read)(XMIReader&, XMINode*);
};

// The kinds a namespace may own, tried in this order.
const OwnedElementKind ownedElementKinds[] = {
    {"UML:Dependency", createAndRead<UMLDependency, UMLDependency, readDependency>},
    {"UML:Package", createAndRead<UMLPackage, UMLGeneralizableElement, readGeneralizableElement>},
    {"UML:DataType", createAndRead<UMLDataType, UMLClassifier, readClassifier>},
    {"UML:StateMachine", createAndRead<UMLStateMachine, UMLStateMachine, readStateMachine>},
    {"UML:SignalEvent", createAndRead<UMLSignalEvent, UMLSignalEvent, readSignalEvent>},
    {"UML:Signal", createAndRead<UMLSignal, UMLGeneralizableElement, readGeneralizableElement>},
    {"UML:Class", createAndRead<UMLClass, UMLClass, readClass>},
    {"UML:Interface", createAndRead<UMLInterface, UMLClassifier, readClassifier>},
    {"UML:Association", createAndRead<UMLAssociation, UMLAssociation, readAssociation>},
    {"UML:Collaboration", createAndRead<UMLCollaboration, UMLCollaboration, readCollaboration>},
    {"UML:UninterpretedAction", createAndRead<UMLUninterpretedAction, UMLAction, readAction>},
    {"UML:CallAction", createAndRead<UMLCallAction, UMLAction, readAction>},
    {"UML:Subsystem", createAndRead<UMLSubsystem, UMLClassifier, readClassifier>},
    {"UML:Model", createAndRead<UMLModel, UMLGeneralizableElement, readGeneralizableElement>},
    {"UML:Stereotype", createAndRead<UMLStereotype, UMLStereotype, readStereotype>},
    {"UML:Comment", createAndRead<UMLComment, UMLComment, readComment>},
    {"UML:Actor", createAndRead<UMLActor, UMLClassifier, readClassifier>},
    {"UML:UseCase", createAndRead<UMLUseCase, UMLClassifier, readClassifier>},
    {"UML:Generalization", createAndRead<UMLGeneralization, UMLGeneralization, readGeneralization>},
    {"UML:Abstraction", createAndRead<UMLAbstraction, UMLDependency, readDependency>},
    {"UML:ClassifierRole", createAndRead<UMLClassifierRole, UMLClassifierRole, readClassifierRole>},
    {"UML:AssociationRole",
     createAndRead<UMLAssociationRole, UMLAssociationRole, readAssociationRole>},
    {"UML:Component", createAndRead<UMLComponent, UMLClassifier, readClassifier>},
    {"UML:Node", createAndRead<UMLNode, UMLClassifier, readClassifier>},
    {"UML:Parameter", createAndRead<UMLParameter, UMLParameter, readParameter>},
    {"UML:ActivityGraph", createAndRead<UMLActivityGraph, UMLStateMachine, readStateMachine>},
};

const OwnedElementKind* findOwnedElementKind(std::string_view tag) {
    for (const OwnedElementKind& kind : ownedElementKinds) {
        if (tag == kind.tag)
            return &kind;
    }
    return nullptr;
}
} // namespace

namespace xmiread {
void readFlag(const XMINode* node, const char* attribute, bool& flag) {
    if (const std::string_view* value = node->attribute(attribute))
        flag = parseBoolean(*value);
}

void resolveSingle(XMIReader& reader, const XMINode* refNode, const char* typeTag,
                   UMLModelElement** slot) {
    if (hasChildNamed(refNode, typeTag))
        reader.resolveReference(XMIReader::idrefOf(refNode, typeTag, "xmi.idref"), slot);
    else if (const std::string_view* id = firstIdref(refNode))
        reader.resolveReference(*id, slot);
}

void resolveEach(XMIReader& reader, const XMINode* refNode, const char* typeTag,
                 UMLElementRefList* list) {
    // Without a child of the expected tag, every child that carries a reference counts.
    const bool anyTag = !hasChildNamed(refNode, typeTag);
    for (const auto& ref : refNode->children) {
        if (!anyTag && ref->name != typeTag)
            continue;
        if (const std::string_view* id = ref->attribute("xmi.idref"))
            reader.resolveListReference(*id, list);
    }
}

void resolveFirst(XMIReader& reader, const XMINode* refNode, const char* typeTag,
                  UMLElementRefList* list) {
    if (hasChildNamed(refNode, typeTag))
        reader.resolveListReference(XMIReader::idrefOf(refNode, typeTag, "xmi.idref"), list);
    else if (const std::string_view* id = firstIdref(refNode))
        reader.resolveListReference(*id, list);
}

void readMultiplicityHolder(XMIReader& reader, const XMINode* holder, UMLMultiplicity** slot) {
    readChildren(reader, holder, storeIn(*slot),
                 ChildKind<UMLMultiplicity, readMultiplicity>{"UML:Multiplicity"});
}
} // namespace xmiread

using namespace xmiread;

UMLModelElement* readModelElement(XMIReader& reader, XMINode* node, UMLModelElement* element) {
    reader.registerId(node, element);
    if (const std::string_view* name = node->attribute("name"))
        element->name = *name;
    for (const auto& child : node->children) {
        const std::string_view tag = child->name;
        if (tag == "UML:ModelElement.name") {
            element->name = trimmed(child->text);
        } else if (tag == "UML:ModelElement.namespace") {
            resolveSingle(reader, child, "Foundation.Core.Namespace", &element->namespace_);
        } else if (tag == "UML:ModelElement.clientDependency") {
            resolveEach(reader, child, "Foundation.Core.Dependency", &element->clientDependency);
        } else if (tag == "UML:ModelElement.supplierDependency") {
            resolveEach(reader, child, "Foundation.Core.Dependency", &element->supplierDependency);
        }
    }
    resolveAttributeSingle(reader, node, "UML:ModelElement.namespace", "namespace",
                           &element->namespace_);
    resolveAttributeList(reader, node, "UML:ModelElement.clientDependency", "clientDependency",
                         &element->clientDependency);
    resolveAttributeList(reader, node, "UML:ModelElement.supplierDependency", "supplierDependency",
                         &element->supplierDependency);
    return element;
}

UMLNamespace* readNamespace(XMIReader& reader, XMINode* node, UMLNamespace* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name != "UML:Namespace.ownedElement")
            continue;
        // Depth first: each owned element is read completely before its next sibling.
        for (const auto& owned : child->children) {
            const OwnedElementKind* kind = findOwnedElementKind(owned->name);
            if (!kind) {
                logLine("Unknown component <" + std::string(owned->name) + "> in namespace");
                continue;
            }
            element->ownedElement.push_back(kind->read(reader, owned));
        }
    }
    return element;
}

UMLGeneralizableElement* readGeneralizableElement(XMIReader& reader, XMINode* node,
                                                  UMLGeneralizableElement* element) {
    readNamespace(reader, node, element);
    readFlag(node, "isAbstract", element->isAbstract);
    readFlag(node, "isLeaf", element->isLeaf);
    readFlag(node, "isRoot", element->isRoot);
    return element;
}

UMLClassifier* readClassifier(XMIReader& reader, XMINode* node, UMLClassifier* element) {
    readGeneralizableElement(reader, node, element);
    readHeldChildren(reader, node, "UML:Classifier.feature", appendTo(element->feature),
                     ChildKind<UMLAttribute, readStructuralFeature>{"UML:Attribute"},
                     ChildKind<UMLOperation, readOperation>{"UML:Operation"});
    return element;
}

UMLClass* readClass(XMIReader& reader, XMINode* node, UMLClass* element) {
    readClassifier(reader, node, element);
    readFlag(node, "isActive", element->isActive);
    return element;
}

UMLFeature* readFeature(XMIReader& reader, XMINode* node, UMLFeature* element) {
    readModelElement(reader, node, element);
    if (const std::string_view* visibility = node->attribute("visibility"))
        element->visibility = *visibility;
    return element;
}

UMLStructuralFeature* readStructuralFeature(XMIReader& reader, XMINode* node,
                                            UMLStructuralFeature* element) {
    readFeature(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:StructuralFeature.multiplicity")
            readMultiplicityHolder(reader, child, &element->multiplicity);
        else if (child->name == "UML:StructuralFeature.type")
            resolveSingle(reader, child, "Foundation.Core.Classifier", &element->type);
    }
    resolveAttributeSingle(reader, node, "UML:StructuralFeature.type", "type", &element->type);
    return element;
}

namespace {
UMLMultiplicityRange* readMultiplicityRange(XMIReader&, XMINode* node,
                                            UMLMultiplicityRange* range) {
    // An absent bound keeps the range's default (lower 0, upper 1).
    if (const std::string_view* lower = node->attribute("lower"))
        range->lower = parseCInt(*lower);
    if (const std::string_view* upper = node->attribute("upper"))
        range->upper = parseCInt(*upper);
    return range;
}
} // namespace

UMLMultiplicity* readMultiplicity(XMIReader& reader, XMINode* node, UMLMultiplicity* element) {
    readHeldChildren(
        reader, node, "UML:Multiplicity.range", storeIn(element->range),
        ChildKind<UMLMultiplicityRange, readMultiplicityRange>{"UML:MultiplicityRange"});
    return element;
}

UMLOperation* readOperation(XMIReader& reader, XMINode* node, UMLOperation* element) {
    readFeature(reader, node, element);
    readHeldChildren(reader, node, "UML:BehavioralFeature.parameter", appendTo(element->parameter),
                     ChildKind<UMLParameter, readParameter>{"UML:Parameter"});
    return element;
}

UMLParameter* readParameter(XMIReader& reader, XMINode* node, UMLParameter* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:Parameter.type")
            resolveSingle(reader, child, "Foundation.Core.Classifier", &element->type);
    }
    resolveAttributeSingle(reader, node, "UML:Parameter.type", "type", &element->type);
    return element;
}

UMLAssociation* readAssociation(XMIReader& reader, XMINode* node, UMLAssociation* element) {
    readGeneralizableElement(reader, node, element);
    readHeldChildren(
        reader, node, "UML:Association.connection", appendTo(element->connection),
        ChildKind<UMLAssociationEnd, readAssociationEnd>{"UML:AssociationEnd"},
        ChildKind<UMLAssociationEndRole, readAssociationEnd>{"UML:AssociationEndRole"});
    return element;
}

UMLAssociationEnd* readAssociationEnd(XMIReader& reader, XMINode* node,
                                      UMLAssociationEnd* element) {
    readModelElement(reader, node, element);
    readFlag(node, "isNavigable", element->isNavigable);
    readFlag(node, "isOrdered", element->isOrdered);
    if (const std::string_view* aggregation = node->attribute("aggregation"))
        element->aggregation = *aggregation;
    if (const std::string_view* changeable = node->attribute("changeable"))
        element->changeable = *changeable;
    for (const auto& child : node->children) {
        if (child->name == "UML:AssociationEnd.multiplicity")
            readMultiplicityHolder(reader, child, &element->multiplicity);
        else if (child->name == "UML:AssociationEnd.type")
            resolveSingle(reader, child, "Foundation.Core.Classifier", &element->type);
    }
    resolveParticipant(reader, node, "UML:AssociationEnd.type", &element->type);
    if (!hasChildNamed(node, "UML:AssociationEnd.participant")) {
        const char* attribute = node->hasAttribute("type") ? "type" : "participant";
        resolveAttributeSingle(reader, node, "UML:AssociationEnd.type", attribute, &element->type);
    }
    readMultiplicityAttribute(reader, node, "UML:AssociationEnd.multiplicity", "multiplicity",
                              &element->multiplicity);
    return element;
}

UMLGeneralization* readGeneralization(XMIReader& reader, XMINode* node,
                                      UMLGeneralization* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:Generalization.child")
            resolveSingle(reader, child, "Foundation.Core.GeneralizableElement", &element->child);
        else if (child->name == "UML:Generalization.parent")
            resolveSingle(reader, child, "Foundation.Core.GeneralizableElement", &element->parent);
    }
    // Older writers name the ends subtype and supertype.
    resolveAttributeSingle(reader, node, "UML:Generalization.child", "child", &element->child);
    if (!node->hasAttribute("child"))
        resolveAttributeSingle(reader, node, "UML:Generalization.child", "subtype",
                               &element->child);
    resolveAttributeSingle(reader, node, "UML:Generalization.parent", "parent", &element->parent);
    if (!node->hasAttribute("parent"))
        resolveAttributeSingle(reader, node, "UML:Generalization.parent", "supertype",
                               &element->parent);
    return element;
}

UMLDependency* readDependency(XMIReader& reader, XMINode* node, UMLDependency* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:Dependency.client")
            resolveEach(reader, child, "Foundation.Core.ModelElement", &element->client);
        else if (child->name == "UML:Dependency.supplier")
            resolveEach(reader, child, "Foundation.Core.ModelElement", &element->supplier);
    }
    resolveAttributeList(reader, node, "UML:Dependency.client", "client", &element->client);
    resolveAttributeList(reader, node, "UML:Dependency.supplier", "supplier", &element->supplier);
    return element;
}

UMLComment* readComment(XMIReader& reader, XMINode* node, UMLComment* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:Comment.annotatedElement")
            resolveSingle(reader, child, "Foundation.Core.ModelElement",
                          &element->annotatedElement);
    }
    resolveAttributeSingle(reader, node, "UML:Comment.annotatedElement", "annotatedElement",
                           &element->annotatedElement);
    return element;
}

UMLStereotype* readStereotype(XMIReader& reader, XMINode* node, UMLStereotype* element) {
    readGeneralizableElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name == "UML:Stereotype.extendedElement")
            resolveEach(reader, child, "Foundation.Core.ModelElement", &element->extendedElement);
    }
    resolveAttributeList(reader, node, "UML:Stereotype.extendedElement", "extendedElement",
                         &element->extendedElement);
    return element;
}
