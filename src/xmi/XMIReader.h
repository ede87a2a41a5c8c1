#pragma once
// The second stage of an XMI load: checks the document's outer structure, reads the model
// and the diagrams from the node tree, and resolves references by XMI id.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xmi/XMINode.h"
#include "xmi/XMIResult.h"

class XMIReader {
public:
    XMIReader();
    ~XMIReader();

    // Checks and reads the document; throws XMIParseException. On success takeResult()
    // hands the result to the caller.
    void read(XMINode* root);
    std::unique_ptr<XMIResult> takeResult() { return std::move(result); }

    // Sets the element's id from the node's "xmi.id" and registers it (a later element
    // with the same id replaces the earlier one in the registry).
    void registerId(XMINode* node, UMLElement* element);
    // The named attribute of the first child of the reference node whose name is typeTag
    // and that has the attribute; "" if none.
    static std::string_view idrefOf(const XMINode* node, std::string_view typeTag,
                                    std::string_view attribute);
    // A reference not found yet waits, with a copy of its id, for the end of the read.
    void resolveReference(std::string_view id, UMLModelElement** slot);
    void resolveListReference(std::string_view id, UMLElementRefList* list);
    // For each child named childTag, for each of its children named typeTag, resolves the
    // child's "xmi.idref" into the list.
    void resolveListReferences(const XMINode* node, std::string_view childTag,
                               std::string_view typeTag, UMLElementRefList* list);

    // Creates an object owned by the result being read.
    template <class T> T* create() { return result->create<T>(); }

    float xmiVersion = 0.0f;
    std::string metamodelName;
    float metamodelVersion = 0.0f;
    std::unique_ptr<XMIResult> result;
    std::vector<std::pair<std::string, UMLModelElement**>> pendingReferences;
    std::vector<std::pair<std::string, UMLElementRefList*>> pendingListReferences;

private:
    void readContent(XMINode* root);
    void resolvePending();
    // The element registered last is only entered into the registry at the next
    // registration, so that the slot it goes to, asked for when its id was read, has
    // arrived from memory meanwhile. Lookups during the read see it all the same.
    void enterRegistered();
    UMLElement* find(std::string_view id) const;

    UMLElement* registered_ = nullptr; // not in the registry yet
    std::uint64_t registeredHash_ = 0;
};
