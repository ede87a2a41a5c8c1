// PLACEHOLDER: the node drawings of the standard visualizer draw nothing here. This file only
// lets the relation drawing link on its own branch; the real node drawing replaces it.
#include "visualizers/UMLModelVisualizerStandard.h"

void UMLModelVisualizerStandard::visit(UMLActor*) {}
void UMLModelVisualizerStandard::visit(UMLClassifier*) {}
void UMLModelVisualizerStandard::visit(UMLClassifierRole*) {}
void UMLModelVisualizerStandard::visit(UMLComment*) {}
void UMLModelVisualizerStandard::visit(UMLInterface*) {}
void UMLModelVisualizerStandard::visit(UMLPackage*) {}
void UMLModelVisualizerStandard::visit(UMLPseudostate*) {}
void UMLModelVisualizerStandard::visit(UMLSimpleState*) {}
void UMLModelVisualizerStandard::visit(UMLUseCase*) {}

void UMLModelVisualizerStandard::drawClassifier(UMLClassifier*, const std::string&) {}

void UMLModelVisualizerStandard::drawBoxShadow(const Point&, const Point&) const {}

void UMLModelVisualizerStandard::drawMaskedShadow(const std::function<void(const Color&)>&,
                                                  const Color&) const {}
