#pragma once
// The second stage of an XMI load: checks the document's outer structure, reads the model
// and the diagrams from the node tree, and resolves references by XMI id.
#include <memory>
#include <string>
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
    static std::string idrefOf(const XMINode* node, const std::string& typeTag,
                               const std::string& attribute);
    void resolveReference(const std::string& id, UMLModelElement** slot);
    void resolveListReference(const std::string& id, UMLElementRefList* list);
    // For each child named childTag, for each of its children named typeTag, resolves the
    // child's "xmi.idref" into the list.
    void resolveListReferences(const XMINode* node, const std::string& childTag,
                               const std::string& typeTag, UMLElementRefList* list);

    // Creates an object owned by the result being read.
    template <class T> T* create() { return result->create<T>(); }

    float xmiVersion = 0.0f;
    std::string metamodelName;
    float metamodelVersion = 0.0f;
    std::unique_ptr<XMIResult> result;
    std::vector<std::pair<std::string, UMLModelElement**>> pendingReferences;
    std::vector<std::pair<std::string, UMLElementRefList*>> pendingListReferences;

private:
    void resolvePending();
};
