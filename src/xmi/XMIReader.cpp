#include "xmi/XMIReader.h"

#include "common/Exception.h"
#include "common/Log.h"
#include "common/Numbers.h"
#include "xmi/XMIElementReaders.h"
#include "xmi/XMIExporterDialects.h"

namespace {
// The C library's decimal conversion narrowed to a 32-bit float.
float versionOf(const XMINode* node, std::string_view attribute) {
    const std::string_view* text = node->attribute(attribute);
    return text ? static_cast<float>(parseCDouble(*text)) : 0.0f;
}
} // namespace

XMIReader::XMIReader() = default;
XMIReader::~XMIReader() = default;

void XMIReader::read(XMINode* root) {
    try {
        readContent(root);
    } catch (...) {
        enterRegistered();
        throw;
    }
}

void XMIReader::readContent(XMINode* root) {
    if (!root || root->name != "XMI")
        throw XMIParseException("Not an XMI document");
    xmiVersion = versionOf(root, "xmi.version");
    if (!(xmiVersion >= 1.1f))
        throw XMIParseException("XMI version too low");
    const XMIDialect dialect = dialectOf(root);
    if (!hasAcceptedRootChildren(root, dialect))
        throw XMIParseException("Root node does not have two children");

    result = std::make_unique<XMIResult>();

    XMINode* header = root->children[0];
    if (header->name != "XMI.header")
        throw XMIParseException("XMI header not found");
    const XMINode* metamodel = nullptr;
    for (const auto& child : header->children) {
        if (child->name == "XMI.metamodel")
            metamodel = child;
    }
    // A header without a metamodel names no UML version at all: rejected like a wrong one,
    // except from an exporter known to leave it out, which writes UML 1.3.
    if (metamodel) {
        const std::string_view* name = metamodel->attribute("xmi.name");
        metamodelName = name ? std::string(*name) : std::string();
        metamodelVersion = versionOf(metamodel, "xmi.version");
    } else if (dialect == XMIDialect::EnterpriseArchitect) {
        metamodelName = "UML";
        metamodelVersion = 1.3f;
    } else {
        throw XMIParseException("Unsupported XMI metamodel");
    }
    if (metamodelName != "UML" || !(metamodelVersion >= 1.3f))
        throw XMIParseException("Unsupported XMI metamodel");

    XMINode* content = root->children[1];
    if (content->name != "XMI.content")
        throw XMIParseException("XMI content not found");
    PixelDiagramReader pixelDiagrams;
    for (const auto& child : content->children) {
        if (child->name == "UML:Model") {
            UMLModel* model = create<UMLModel>();
            readGeneralizableElement(*this, child, model);
            result->model = model;
        } else if (child->name == "UML:Diagram") {
            result->diagrams.push_back(dialect == XMIDialect::EnterpriseArchitect
                                           ? pixelDiagrams.read(*this, child)
                                           : readDiagram(*this, child));
        }
    }
    enterRegistered();
    resolvePending();
    pixelDiagrams.finish();
}

void XMIReader::registerId(XMINode* node, UMLElement* element) {
    const std::string_view* id = node->attribute("xmi.id");
    if (!id)
        return;
    element->id = *id;
    const std::uint64_t hash = IdRegistry::hashOf(element->id);
    result->idRegistry.prefetch(hash);
    enterRegistered();
    registered_ = element;
    registeredHash_ = hash;
}

void XMIReader::enterRegistered() {
    if (!registered_)
        return;
    UMLElement* element = registered_;
    registered_ = nullptr;
    result->idRegistry.add(element, registeredHash_);
}

UMLElement* XMIReader::find(std::string_view id) const {
    // The element not entered yet is the latest registration: it wins over an earlier
    // element with its id, as it will in the registry.
    if (registered_ && registered_->id == id)
        return registered_;
    return result->find(id);
}

std::string_view XMIReader::idrefOf(const XMINode* node, std::string_view typeTag,
                                    std::string_view attribute) {
    for (const auto& child : node->children) {
        if (child->name != typeTag)
            continue;
        if (const std::string_view* value = child->attribute(attribute))
            return *value;
    }
    return {};
}

namespace {
UMLModelElement* asModelElement(UMLElement* element) {
    return element->asModelElement();
}
} // namespace

void XMIReader::resolveReference(std::string_view id, UMLModelElement** slot) {
    if (id.empty())
        return;
    if (UMLElement* found = find(id)) {
        *slot = asModelElement(found);
        return;
    }
    pendingReferences.emplace_back(id, slot);
}

void XMIReader::resolveListReference(std::string_view id, UMLElementRefList* list) {
    if (id.empty())
        return;
    if (UMLElement* found = find(id)) {
        if (UMLModelElement* element = asModelElement(found))
            list->push_back(element);
        return;
    }
    pendingListReferences.emplace_back(id, list);
}

void XMIReader::resolveListReferences(const XMINode* node, std::string_view childTag,
                                      std::string_view typeTag, UMLElementRefList* list) {
    for (const auto& child : node->children) {
        if (child->name != childTag)
            continue;
        for (const auto& ref : child->children) {
            if (ref->name != typeTag)
                continue;
            if (const std::string_view* id = ref->attribute("xmi.idref"))
                resolveListReference(*id, list);
        }
    }
}

void XMIReader::resolvePending() {
    for (auto& [id, slot] : pendingReferences) {
        if (UMLElement* found = find(id))
            *slot = asModelElement(found);
        else
            logLine("Unresolved reference to " + id);
    }
    for (auto& [id, list] : pendingListReferences) {
        if (UMLElement* found = find(id)) {
            if (UMLModelElement* element = asModelElement(found))
                list->push_back(element);
        } else {
            logLine("Unresolved listreference to " + id);
        }
    }
    pendingReferences.clear();
    pendingListReferences.clear();
}
