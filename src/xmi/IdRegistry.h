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
    // The same, with the hash of the element's id already at hand.
    void add(UMLElement* element, std::uint64_t hash);
    // The element registered under the id, or null.
    UMLElement* find(std::string_view id) const;

    // A lookup in steps, for callers that look up many ids in a row: with the hash of each
    // id, prefetch() asks for the slot where its search starts, likely() then reads the
    // slots alone for the element probably registered under it, so that its memory can be
    // asked for too, and find() completes the lookup. Taking the ids of a batch through
    // each step in turn lets their cache misses overlap instead of following each other.
    static std::uint64_t hashOf(std::string_view id);
    void prefetch(std::uint64_t hash) const;
    UMLElement* likely(std::uint64_t hash) const;
    UMLElement* find(std::string_view id, std::uint64_t hash) const;
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The entries in ascending id order.
    std::vector<std::pair<std::string_view, UMLElement*>> sorted() const;

private:
    struct Slot {
        UMLElement* element = nullptr;
        std::uint64_t hash = 0;
    };
    void insert(UMLElement* element, std::uint64_t hash);
    void grow();

    std::vector<Slot> slots_; // a power of two in size, at most three quarters full
    std::size_t size_ = 0;
};
