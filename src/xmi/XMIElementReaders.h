#pragma once
// The element readers: each fills an already constructed element from its node and
// returns it. Readers of derived kinds run the reader of their base kind first.
#include "uml/UMLModel.h"
#include "xmi/XMINode.h"

class XMIReader;

UMLModelElement* readModelElement(XMIReader& reader, XMINode* node, UMLModelElement* element);
UMLNamespace* readNamespace(XMIReader& reader, XMINode* node, UMLNamespace* element);
UMLGeneralizableElement* readGeneralizableElement(XMIReader& reader, XMINode* node,
                                                  UMLGeneralizableElement* element);

UMLDiagram* readDiagram(XMIReader& reader, XMINode* node);
