#include "uml/UMLModelVisitor.h"

#include "uml/UMLModel.h"

void UMLModelVisitor::visit(UMLAbstraction* element) {
    visit(static_cast<UMLDependency*>(element));
}
void UMLModelVisitor::visit(UMLAction* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLActionSequence* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLActivityGraph* element) {
    visit(static_cast<UMLStateMachine*>(element));
}
void UMLModelVisitor::visit(UMLActor* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLAssociation* element) {
    visit(static_cast<UMLGeneralizableElement*>(element));
}
void UMLModelVisitor::visit(UMLAssociationEnd* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLAssociationEndRole* element) {
    visit(static_cast<UMLAssociationEnd*>(element));
}
void UMLModelVisitor::visit(UMLAssociationRole* element) {
    visit(static_cast<UMLAssociation*>(element));
}
void UMLModelVisitor::visit(UMLAttribute* element) {
    visit(static_cast<UMLStructuralFeature*>(element));
}
void UMLModelVisitor::visit(UMLBehavioralFeature* element) {
    visit(static_cast<UMLFeature*>(element));
}
void UMLModelVisitor::visit(UMLCallAction* element) {
    visit(static_cast<UMLAction*>(element));
}
void UMLModelVisitor::visit(UMLClass* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLClassifier* element) {
    visit(static_cast<UMLGeneralizableElement*>(element));
}
void UMLModelVisitor::visit(UMLClassifierRole* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLCollaboration* element) {
    visit(static_cast<UMLNamespace*>(element));
}
void UMLModelVisitor::visit(UMLComment* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLComponent* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLCompositeState* element) {
    visit(static_cast<UMLState*>(element));
}
void UMLModelVisitor::visit(UMLDataType* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLDependency* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLEvent* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLFeature* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLGeneralizableElement* element) {
    visit(static_cast<UMLNamespace*>(element));
}
void UMLModelVisitor::visit(UMLGeneralization* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLGuard* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLInteraction* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLInterface* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLMessage* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLModel* element) {
    visit(static_cast<UMLPackage*>(element));
}
void UMLModelVisitor::visit(UMLModelElement*) {}
void UMLModelVisitor::visit(UMLNamespace* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLNode* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLOperation* element) {
    visit(static_cast<UMLBehavioralFeature*>(element));
}
void UMLModelVisitor::visit(UMLPackage* element) {
    visit(static_cast<UMLGeneralizableElement*>(element));
}
void UMLModelVisitor::visit(UMLParameter* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLPseudostate* element) {
    visit(static_cast<UMLStateVertex*>(element));
}
void UMLModelVisitor::visit(UMLRequest* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLSendAction* element) {
    visit(static_cast<UMLAction*>(element));
}
void UMLModelVisitor::visit(UMLSignal* element) {
    visit(static_cast<UMLGeneralizableElement*>(element));
}
void UMLModelVisitor::visit(UMLSignalEvent* element) {
    visit(static_cast<UMLEvent*>(element));
}
void UMLModelVisitor::visit(UMLSimpleState* element) {
    visit(static_cast<UMLState*>(element));
}
void UMLModelVisitor::visit(UMLState* element) {
    visit(static_cast<UMLStateVertex*>(element));
}
void UMLModelVisitor::visit(UMLStateMachine* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLStateVertex* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLStereotype* element) {
    visit(static_cast<UMLGeneralizableElement*>(element));
}
void UMLModelVisitor::visit(UMLStructuralFeature* element) {
    visit(static_cast<UMLFeature*>(element));
}
void UMLModelVisitor::visit(UMLSubsystem* element) {
    visit(static_cast<UMLClassifier*>(element));
}
void UMLModelVisitor::visit(UMLTransition* element) {
    visit(static_cast<UMLModelElement*>(element));
}
void UMLModelVisitor::visit(UMLUninterpretedAction* element) {
    visit(static_cast<UMLAction*>(element));
}
void UMLModelVisitor::visit(UMLUseCase* element) {
    visit(static_cast<UMLClassifier*>(element));
}

// Every model-element class dispatches on its own most-derived type.
void UMLAbstraction::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLAction::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLActionSequence::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLActivityGraph::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLActor::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLAssociation::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLAssociationEnd::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLAssociationEndRole::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLAssociationRole::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLAttribute::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLBehavioralFeature::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLCallAction::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLClass::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLClassifier::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLClassifierRole::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLCollaboration::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLComment::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLComponent::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLCompositeState::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLDataType::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLDependency::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLEvent::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLFeature::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLGeneralizableElement::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLGeneralization::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLGuard::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLInteraction::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLInterface::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLMessage::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLModel::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLModelElement::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLNamespace::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLNode::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLOperation::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLPackage::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLParameter::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLPseudostate::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLRequest::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLSendAction::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLSignal::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLSignalEvent::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLSimpleState::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLState::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLStateMachine::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLStateVertex::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLStereotype::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLStructuralFeature::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLSubsystem::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLTransition::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLUninterpretedAction::accept(UMLModelVisitor& v) {
    v.visit(this);
}
void UMLUseCase::accept(UMLModelVisitor& v) {
    v.visit(this);
}
