#include "uml/UMLModel.h"

#include <typeinfo>

#include "common/Exception.h"

UMLModelElement::~UMLModelElement() {
    // The entries belong to other subsystems; only forget them.
    for (auto& entry : userData)
        entry = nullptr;
    userData.clear();
}

bool parseBoolean(std::string_view text) {
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    throw XMIParseException("Invalid UML boolean value encountered");
}

const char* umlClassName(const UMLBase* element) {
#define BRENNIMORE_CLASS(T)                                                                        \
    if (typeid(*element) == typeid(T))                                                             \
        return #T;
    BRENNIMORE_CLASS(UMLAbstraction)
    BRENNIMORE_CLASS(UMLAction)
    BRENNIMORE_CLASS(UMLActionSequence)
    BRENNIMORE_CLASS(UMLActivityGraph)
    BRENNIMORE_CLASS(UMLActor)
    BRENNIMORE_CLASS(UMLAssociation)
    BRENNIMORE_CLASS(UMLAssociationEnd)
    BRENNIMORE_CLASS(UMLAssociationEndRole)
    BRENNIMORE_CLASS(UMLAssociationRole)
    BRENNIMORE_CLASS(UMLAttribute)
    BRENNIMORE_CLASS(UMLBehavioralFeature)
    BRENNIMORE_CLASS(UMLCallAction)
    BRENNIMORE_CLASS(UMLClass)
    BRENNIMORE_CLASS(UMLClassifier)
    BRENNIMORE_CLASS(UMLClassifierRole)
    BRENNIMORE_CLASS(UMLCollaboration)
    BRENNIMORE_CLASS(UMLComment)
    BRENNIMORE_CLASS(UMLComponent)
    BRENNIMORE_CLASS(UMLCompositeState)
    BRENNIMORE_CLASS(UMLDataType)
    BRENNIMORE_CLASS(UMLDependency)
    BRENNIMORE_CLASS(UMLEvent)
    BRENNIMORE_CLASS(UMLFeature)
    BRENNIMORE_CLASS(UMLGeneralizableElement)
    BRENNIMORE_CLASS(UMLGeneralization)
    BRENNIMORE_CLASS(UMLGuard)
    BRENNIMORE_CLASS(UMLInteraction)
    BRENNIMORE_CLASS(UMLInterface)
    BRENNIMORE_CLASS(UMLMessage)
    BRENNIMORE_CLASS(UMLModel)
    BRENNIMORE_CLASS(UMLModelElement)
    BRENNIMORE_CLASS(UMLNamespace)
    BRENNIMORE_CLASS(UMLNode)
    BRENNIMORE_CLASS(UMLOperation)
    BRENNIMORE_CLASS(UMLPackage)
    BRENNIMORE_CLASS(UMLParameter)
    BRENNIMORE_CLASS(UMLPseudostate)
    BRENNIMORE_CLASS(UMLRequest)
    BRENNIMORE_CLASS(UMLSendAction)
    BRENNIMORE_CLASS(UMLSignal)
    BRENNIMORE_CLASS(UMLSignalEvent)
    BRENNIMORE_CLASS(UMLSimpleState)
    BRENNIMORE_CLASS(UMLState)
    BRENNIMORE_CLASS(UMLStateMachine)
    BRENNIMORE_CLASS(UMLStateVertex)
    BRENNIMORE_CLASS(UMLStereotype)
    BRENNIMORE_CLASS(UMLStructuralFeature)
    BRENNIMORE_CLASS(UMLSubsystem)
    BRENNIMORE_CLASS(UMLTransition)
    BRENNIMORE_CLASS(UMLUninterpretedAction)
    BRENNIMORE_CLASS(UMLUseCase)
    BRENNIMORE_CLASS(UMLDiagram)
    BRENNIMORE_CLASS(UMLDiagramElement)
    BRENNIMORE_CLASS(UMLMultiplicity)
    BRENNIMORE_CLASS(UMLMultiplicityRange)
    BRENNIMORE_CLASS(UMLBooleanExpression)
    BRENNIMORE_CLASS(UMLExpression)
    BRENNIMORE_CLASS(UMLStyle)
    BRENNIMORE_CLASS(UMLGeometry)
    BRENNIMORE_CLASS(UMLElement)
#undef BRENNIMORE_CLASS
    return "UMLBase";
}
