#pragma once
// One element of an XML document as the SAX2 parse saw it: qualified name, the character
// data that arrived while it was innermost, its attributes and its child elements.
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

// The distinct element names of a tree. A model file has a few dozen of them, so every node
// refers to its name here instead of holding a copy.
class XMINameTable {
public:
    // The table's copy of the name; the reference stays valid as long as the table.
    const std::string& intern(const std::string& name) { return *names_.insert(name).first; }
    std::size_t size() const { return names_.size(); }

private:
    std::unordered_set<std::string> names_; // node based: an entry never moves
};

class XMINode {
public:
    // A node of its own: it keeps its name itself.
    explicit XMINode(std::string nodeName = {});
    // A node of a parsed tree: the name belongs to the tree's name table, which the node
    // the parser hands out owns (see adoptNames).
    struct InternedName {};
    XMINode(const std::string& internedName, InternedName) : name(internedName) {}
    XMINode(const XMINode&) = delete;
    XMINode& operator=(const XMINode&) = delete;

private:
    // Declared first: it holds the name below for nodes that own their name table.
    std::unique_ptr<XMINameTable> names_;

public:
    const std::string& name;
    std::string text;
    // Attributes sorted by qualified name (iteration is in ascending name order).
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<XMINode>> children;

    // Makes this node the owner of the name table of its tree; the names of this node and
    // of its descendants stay valid as long as the node.
    void adoptNames(std::unique_ptr<XMINameTable> names) { names_ = std::move(names); }

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
