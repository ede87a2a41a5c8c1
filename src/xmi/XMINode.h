#pragma once
// One element of an XML document as the SAX2 parse saw it: qualified name, the character
// data that arrived while it was innermost, its attributes and its child elements.
//
// A tree is built by an XMITreeBuilder and lives in one storage that its root owns: the
// distinct names once each (a model file has a few dozen), every text and attribute value
// in one character arena, every attribute and child list allocated once at its exact size.
// The nodes of a tree refer into that storage and are all freed with the root.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A fixed run of items in a tree's storage.
template <class T> class XMISpan {
public:
    XMISpan() = default;
    XMISpan(T* data, std::size_t size) : data_(data), size_(size) {}
    T* begin() const { return data_; }
    T* end() const { return data_ + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) const { return data_[i]; }
    T& front() const { return data_[0]; }
    T& at(std::size_t i) const;

private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
};

// The interned name of an element: one pointer wide, read as a string view.
class XMIName {
public:
    explicit XMIName(const std::string& interned) : text_(&interned) {}
    operator std::string_view() const { return *text_; }
    const char* data() const { return text_->data(); }
    std::size_t size() const { return text_->size(); }
    friend bool operator==(XMIName a, std::string_view b) { return std::string_view(a) == b; }
    friend bool operator!=(XMIName a, std::string_view b) { return !(a == b); }
    friend bool operator==(std::string_view a, XMIName b) { return b == a; }
    friend bool operator!=(std::string_view a, XMIName b) { return !(b == a); }

private:
    const std::string* text_;
};

struct XMIAttribute {
    const std::string* name; // interned in the tree's name table
    std::string_view value;
};

class XMINode {
public:
    // Only a builder makes nodes.
    class Key {
        friend class XMITreeBuilder;
        Key() {} // user-provided, so that nobody else can brace-initialise one
    };
    XMINode(XMIName internedName, Key);
    XMINode(const XMINode&) = delete;
    XMINode& operator=(const XMINode&) = delete;
    ~XMINode();

    XMIName name;
    std::string_view text;
    // Attributes sorted by qualified name (iteration is in ascending name order).
    XMISpan<const XMIAttribute> attributes;
    XMISpan<XMINode* const> children;

    // The value of the named attribute, or null.
    const std::string_view* attribute(std::string_view attributeName) const;
    bool hasAttribute(std::string_view attributeName) const { return attribute(attributeName); }

private:
    friend class XMITreeBuilder;
    struct Storage;
    std::unique_ptr<Storage> storage_; // set on the root of a finished tree only
};

template <class T> T& XMISpan<T>::at(std::size_t i) const {
    if (i >= size_)
        throw std::out_of_range("XMISpan::at");
    return data_[i];
}

// Encodes UTF-16 as UTF-8 into dest, which has room for the result: at most three bytes per
// code unit (a surrogate pair takes four for its two). Returns the number of bytes written.
std::size_t encodeUtf8(const char16_t* text, std::size_t length, char* dest);

// A reusable place for the UTF-8 form of one text at a time: it grows to the longest text
// seen and is never cleared, so that a conversion costs no allocation and no fill.
class Utf8Buffer {
public:
    // The text in UTF-8, valid until the next conversion.
    std::string_view convert(const char16_t* text, std::size_t length);

private:
    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
};

// Builds a tree from the events of a parse, in document order:
//   startElement, addAttribute..., then text and child elements, then endElement.
// Attributes may come in any order; they are sorted, and of a repeated name the last one
// wins (as a map assignment would have it).
class XMITreeBuilder {
public:
    XMITreeBuilder();
    ~XMITreeBuilder();
    XMITreeBuilder(const XMITreeBuilder&) = delete;
    XMITreeBuilder& operator=(const XMITreeBuilder&) = delete;

    void startElement(std::string_view name);
    void addAttribute(std::string_view name, std::string_view value);

    // A name interned in the tree being built, for a caller that keeps its own index of
    // the names it has seen; valid until finish.
    struct Name;
    Name& intern(std::string_view name);
    void startElement(Name& name);
    void addAttribute(Name& name, std::string_view value);

    void appendText(std::u16string_view text); // UTF-16, stored as UTF-8
    void endElement();
    // Elements open now.
    std::size_t depth() const { return open_.size(); }

    // The tree: the root when it closed, otherwise the innermost element still open with
    // the children it has so far (a parse that stopped early); null when no element
    // started. The builder is empty afterwards.
    std::unique_ptr<XMINode> finish();

private:
    struct OpenElement {
        XMINode* node;
        std::size_t firstChild; // where its children start on finished_
    };
    std::string_view store(std::string_view text);
    std::string_view storeUtf8(std::u16string_view text);
    template <class T> T* allocate(std::size_t count);
    void sealAttributes();
    XMISpan<XMINode* const> takeChildren(std::size_t first);
    void reset();

    std::unique_ptr<XMINode::Storage> storage_;
    std::vector<OpenElement> open_;
    bool attributesOpen_ = false; // the innermost element may still get attributes
    struct PendingAttribute {
        Name* name;
        std::string_view value;
    };
    std::vector<PendingAttribute> pendingAttributes_; // of the element started last
    std::vector<XMINode*> finished_;                  // closed elements whose parent is still open
    std::vector<std::u16string> texts_;               // text of each open element, by depth; reused
    XMINode* root_ = nullptr;
};
