#pragma once
// One element of an XML document as the SAX2 parse saw it: qualified name, the character
// data that arrived while it was innermost, its attributes and its child elements.
#include <memory>
#include <string>
#include <utility>
#include <vector>

class XMINode {
public:
    explicit XMINode(std::string nodeName = {}) : name(std::move(nodeName)) {}

    std::string name;
    std::string text;
    // Attributes sorted by qualified name (iteration is in ascending name order).
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<XMINode>> children;

    // The value of the named attribute, or null.
    const std::string* attribute(const std::string& attributeName) const;
    bool hasAttribute(const std::string& attributeName) const { return attribute(attributeName); }
    // Sets an attribute, keeping the list sorted (a repeated name overwrites).
    void setAttribute(std::string attributeName, std::string value);
    // Sorts attributes added in any order with addAttributeUnsorted.
    void addAttributeUnsorted(std::string attributeName, std::string value) {
        attributes.emplace_back(std::move(attributeName), std::move(value));
    }
    void sortAttributes();
};
