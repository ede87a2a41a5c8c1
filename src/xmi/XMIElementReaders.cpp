#include "xmi/XMIElementReaders.h"

#include "common/Log.h"
#include "xmi/XMIReader.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// Every child of the reference node named typeTag adds its "xmi.idref" to the list.
void resolveEachIdref(XMIReader& reader, const XMINode* node, const char* typeTag,
                      UMLElementRefList* list) {
    for (const auto& ref : node->children) {
        if (ref->name != typeTag)
            continue;
        if (const std::string* id = ref->attribute("xmi.idref"))
            reader.resolveListReference(*id, list);
    }
}

void readFlag(const XMINode* node, const char* attribute, bool& flag) {
    if (const std::string* value = node->attribute(attribute))
        flag = parseBoolean(*value);
}
} // namespace

UMLModelElement* readModelElement(XMIReader& reader, XMINode* node, UMLModelElement* element) {
    reader.registerId(node, element);
    if (const std::string* name = node->attribute("name"))
        element->name = *name;
    for (const auto& child : node->children) {
        const std::string& tag = child->name;
        if (tag == "UML:ModelElement.name") {
            element->name = trimmed(child->text);
        } else if (tag == "UML:ModelElement.namespace") {
            reader.resolveReference(
                XMIReader::idrefOf(child.get(), "Foundation.Core.Namespace", "xmi.idref"),
                &element->namespace_);
        } else if (tag == "UML:ModelElement.clientDependency") {
            resolveEachIdref(reader, child.get(), "Foundation.Core.Dependency",
                             &element->clientDependency);
        } else if (tag == "UML:ModelElement.supplierDependency") {
            resolveEachIdref(reader, child.get(), "Foundation.Core.Dependency",
                             &element->supplierDependency);
        }
    }
    return element;
}

UMLNamespace* readNamespace(XMIReader& reader, XMINode* node, UMLNamespace* element) {
    readModelElement(reader, node, element);
    for (const auto& child : node->children) {
        if (child->name != "UML:Namespace.ownedElement")
            continue;
        for (const auto& owned : child->children) {
            const std::string& tag = owned->name;
            UMLModelElement* created = nullptr;
            if (tag == "UML:Package") {
                created = readGeneralizableElement(reader, owned.get(),
                                                   reader.create<UMLPackage>());
            } else if (tag == "UML:Model") {
                created = readGeneralizableElement(reader, owned.get(), reader.create<UMLModel>());
            } else {
                logLine("Unknown component <" + tag + "> in namespace");
                continue;
            }
            element->ownedElement.push_back(created);
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

UMLDiagram* readDiagram(XMIReader& reader, XMINode* node) {
    UMLDiagram* diagram = reader.create<UMLDiagram>();
    reader.registerId(node, diagram);
    if (const std::string* type = node->attribute("diagramType"))
        diagram->diagramType = *type;
    if (const std::string* name = node->attribute("name"))
        diagram->name = *name;
    return diagram;
}
