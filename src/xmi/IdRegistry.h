#pragma once
// The elements of a loaded model by XMI id. Each element is registered under its own id,
// which the registry does not copy: an element's id must not change while it is
// registered. A later element with an id already present replaces the earlier one.
//
// An open-addressing table of element pointers with each id's hash beside it, so that a
// lookup touches one run of slots and, as a rule, only the element it finds, and growing
// the table touches no element at all.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

class UMLElement;

class IdRegistry {
public:
    void add(UMLElement* element);
    // The element registered under the id, or null.
    UMLElement* find(std::string_view id) const;
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The entries in ascending id order.
    std::vector<std::pair<std::string_view, UMLElement*>> sorted() const;

private:
    struct Slot {
        UMLElement* element = nullptr;
        std::uint64_t hash = 0;
    };
    static std::uint64_t hashOf(std::string_view id);
    void insert(UMLElement* element, std::uint64_t hash);
    void grow();

    std::vector<Slot> slots_; // a power of two in size, at most three quarters full
    std::size_t size_ = 0;
};
