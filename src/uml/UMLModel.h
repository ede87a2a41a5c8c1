#pragma once
// The in-memory UML 1.4 model: one class per metaclass the XMI reader knows, plus the
// diagram records. Elements are plain data filled by the reader.
//
// Ownership: every object the reader creates (elements, diagram records, multiplicities,
// expressions) is owned by the XMIResult's object store. Fields marked "owned" point to a
// sub-object that belongs to this element alone, but it is released by that store, never
// by the element. References and reference lists never own what they point to.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "uml/UMLModelVisitor.h"

class UMLDiagramElement;
class UMLModelElement;

using UMLElementRefList = std::vector<UMLModelElement*>;

// Data that other subsystems hang on model elements (metric records, selection state).
// The model never deletes it; its owners do.
class UMLUserData {
public:
    virtual ~UMLUserData() = default;
};

class UMLBase {
public:
    virtual ~UMLBase() = default;
};

class UMLMultiplicityRange : public UMLBase {
public:
    std::int32_t lower = 0;
    std::int32_t upper = 1;
};

class UMLMultiplicity : public UMLBase {
public:
    UMLMultiplicityRange* range = nullptr; // owned
};

class UMLExpression : public UMLBase {
public:
    std::string body;
};

class UMLBooleanExpression : public UMLExpression {};

class UMLStyle : public UMLBase {
public:
    using RGBA = std::array<float, 4>;
    enum FontFlag : std::int32_t { Bold = 1, Italic = 2, Strikethrough = 4, Underline = 8 };

    std::string fontName = "Arial";
    std::int32_t fontSize = 10;
    std::int32_t fontStyle = 0;
    RGBA fillColor{1.0f, 1.0f, 1.0f, 0.0f};
    RGBA fontColor{0.0f, 0.0f, 0.0f, 1.0f};
    RGBA lineColor{0.0f, 0.0f, 0.0f, 1.0f};
};

class UMLGeometry : public UMLBase {
public:
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

class UMLElement : public UMLBase {
public:
    std::string id;
    // The element as a model element, or null (a diagram or a diagram element). Cheaper
    // than a cast across the virtual bases of the model classes, for the loaders, which ask
    // it for every reference and every metric record they resolve.
    virtual UMLModelElement* asModelElement() { return nullptr; }
};

class UMLDiagram : public UMLElement {
public:
    std::string name;
    std::string diagramType;
    UMLModelElement* owner = nullptr;
    std::vector<UMLDiagramElement*> element; // in drawing order after reading
    // Union of the element boxes after centring: left, top, right, bottom.
    std::array<float, 4> bounds{0.0f, 0.0f, 0.0f, 0.0f};
    bool hasBounds = false;
};

class UMLDiagramElement : public UMLElement {
public:
    UMLGeometry geometry;
    UMLStyle style;
    UMLModelElement* subject = nullptr;
};

class UMLModelElement : public UMLElement {
public:
    ~UMLModelElement() override;
    virtual void accept(UMLModelVisitor& v);
    UMLModelElement* asModelElement() override { return this; }

    std::string name;
    UMLModelElement* namespace_ = nullptr; // the element's namespace (a UMLNamespace)
    UMLElementRefList clientDependency;    // UMLDependency
    UMLElementRefList supplierDependency;  // UMLDependency
    std::vector<UMLUserData*> userData;    // not owned; see UMLUserData
};

#define BRENNIMORE_UML_ACCEPT void accept(UMLModelVisitor& v) override;

class UMLNamespace : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLModelElement*> ownedElement;
};

class UMLGeneralizableElement : public virtual UMLNamespace {
public:
    BRENNIMORE_UML_ACCEPT
    bool isAbstract = false;
    bool isLeaf = false;
    bool isRoot = false;
};

class UMLFeature;
class UMLParameter;
class UMLAssociationEnd;
class UMLInteraction;
class UMLMessage;
class UMLAction;
class UMLTransition;
class UMLStateVertex;
class UMLCompositeState;
class UMLActionSequence;
class UMLGuard;

class UMLClassifier : public virtual UMLGeneralizableElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLFeature*> feature;
};

class UMLPackage : public virtual UMLGeneralizableElement {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLModel : public UMLPackage {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLSubsystem : public UMLClassifier, public UMLPackage {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLStereotype : public virtual UMLGeneralizableElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLElementRefList extendedElement;
};

class UMLAssociation : public virtual UMLGeneralizableElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLAssociationEnd*> connection;
};

class UMLAssociationRole : public UMLAssociation {
public:
    BRENNIMORE_UML_ACCEPT
    UMLMultiplicity* multiplicity = nullptr; // owned
};

class UMLActor : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLClass : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
    bool isActive = false;
};

class UMLClassifierRole : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
    UMLMultiplicity* multiplicity = nullptr; // owned
    UMLElementRefList availableFeature;      // UMLFeature
    UMLModelElement* base = nullptr;         // UMLClassifier
    UMLElementRefList message2;              // UMLMessage
    UMLElementRefList message1;              // UMLMessage
};

class UMLComponent : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLDataType : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLInterface : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLNode : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLUseCase : public UMLClassifier {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLCollaboration : public UMLNamespace {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLInteraction*> interaction;
};

class UMLAssociationEnd : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::string aggregation;
    std::string changeable;
    bool isNavigable = false;
    bool isOrdered = false;
    UMLMultiplicity* multiplicity = nullptr; // owned
    UMLModelElement* type = nullptr;         // UMLClassifier
};

class UMLAssociationEndRole : public UMLAssociationEnd {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLComment : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLModelElement* annotatedElement = nullptr;
};

class UMLGeneralization : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLModelElement* child = nullptr;  // UMLGeneralizableElement
    UMLModelElement* parent = nullptr; // UMLGeneralizableElement
};

class UMLGuard : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLBooleanExpression* expression = nullptr; // owned
};

class UMLMessage : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLModelElement* action = nullptr;   // UMLAction
    UMLElementRefList predecessor;       // UMLMessage
    UMLModelElement* receiver = nullptr; // UMLClassifierRole
    UMLModelElement* sender = nullptr;   // UMLClassifierRole
};

class UMLParameter : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLModelElement* type = nullptr; // UMLClassifier
};

class UMLStateMachine : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLModelElement* context = nullptr;
    UMLCompositeState* top = nullptr; // owned
    std::vector<UMLTransition*> transitions;
};

class UMLActivityGraph : public UMLStateMachine {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLTransition : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLActionSequence* effect = nullptr; // owned
    UMLGuard* guard = nullptr;           // owned
    UMLModelElement* source = nullptr;   // UMLStateVertex
    UMLModelElement* target = nullptr;   // UMLStateVertex
    UMLModelElement* trigger = nullptr;  // UMLEvent
};

class UMLEvent : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLSignalEvent : public UMLEvent {
public:
    BRENNIMORE_UML_ACCEPT
    UMLModelElement* signal = nullptr; // UMLSignal
};

class UMLStateVertex : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLElementRefList outgoing; // UMLTransition
    UMLElementRefList incoming; // UMLTransition
};

class UMLPseudostate : public UMLStateVertex {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLState : public UMLStateVertex {
public:
    BRENNIMORE_UML_ACCEPT
    UMLActionSequence* entry = nullptr; // owned
};

class UMLSimpleState : public UMLState {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLCompositeState : public UMLState {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLStateVertex*> subvertex;
};

class UMLFeature : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::string visibility;
};

class UMLStructuralFeature : public UMLFeature {
public:
    BRENNIMORE_UML_ACCEPT
    UMLMultiplicity* multiplicity = nullptr; // owned
    UMLModelElement* type = nullptr;         // UMLClassifier
};

class UMLAttribute : public UMLStructuralFeature {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLBehavioralFeature : public UMLFeature {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLParameter*> parameter;
};

class UMLRequest : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLOperation : public UMLBehavioralFeature, public UMLRequest {
public:
    BRENNIMORE_UML_ACCEPT
};

// A signal is a generalizable element and a request, not a classifier.
class UMLSignal : public virtual UMLGeneralizableElement, public UMLRequest {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLAction : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    bool isAsynchronous = false;
};

class UMLCallAction : public UMLAction {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLSendAction : public UMLAction {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLUninterpretedAction : public UMLAction {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLActionSequence : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLAction*> action;
};

class UMLDependency : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    UMLElementRefList client;
    UMLElementRefList supplier;
};

class UMLAbstraction : public UMLDependency {
public:
    BRENNIMORE_UML_ACCEPT
};

class UMLInteraction : public virtual UMLModelElement {
public:
    BRENNIMORE_UML_ACCEPT
    std::vector<UMLMessage*> message;
};

#undef BRENNIMORE_UML_ACCEPT

// "true" and "false" only; anything else throws XMIParseException.
bool parseBoolean(std::string_view text);

// The exact class name of an element ("UMLClass"), for output and exact-class decisions.
const char* umlClassName(const UMLBase* element);
