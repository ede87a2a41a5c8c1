#include "xmi/IdRegistry.h"

#include <algorithm>

#include "uml/UMLModel.h"

std::uint64_t IdRegistry::hashOf(std::string_view id) {
    // FNV-1a: ids are short, and this spreads their differing last characters well.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : id) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

void IdRegistry::add(UMLElement* element) {
    if ((size_ + 1) * 4 > slots_.size() * 3)
        grow();
    insert(element, hashOf(element->id));
}

void IdRegistry::insert(UMLElement* element, std::uint64_t hash) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (!slot.element) {
            slot = {element, hash};
            ++size_;
            return;
        }
        if (slot.hash == hash && slot.element->id == element->id) {
            slot.element = element;
            return;
        }
    }
}

UMLElement* IdRegistry::find(std::string_view id) const {
    return find(id, hashOf(id));
}

void IdRegistry::prefetch(std::uint64_t hash) const {
    if (size_ != 0)
        __builtin_prefetch(&slots_[static_cast<std::size_t>(hash) & (slots_.size() - 1)]);
}

UMLElement* IdRegistry::likely(std::uint64_t hash) const {
    if (size_ == 0)
        return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (!slot.element || slot.hash == hash)
            return slot.element;
    }
}

UMLElement* IdRegistry::find(std::string_view id, std::uint64_t hash) const {
    if (size_ == 0)
        return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (!slot.element)
            return nullptr;
        if (slot.hash == hash && slot.element->id == id)
            return slot.element;
    }
}

void IdRegistry::grow() {
    std::vector<Slot> old(std::max<std::size_t>(16, slots_.size() * 2));
    old.swap(slots_);
    size_ = 0;
    for (const Slot& slot : old) {
        if (slot.element)
            insert(slot.element, slot.hash);
    }
}

std::vector<std::pair<std::string_view, UMLElement*>> IdRegistry::sorted() const {
    std::vector<std::pair<std::string_view, UMLElement*>> entries;
    entries.reserve(size_);
    for (const Slot& slot : slots_) {
        if (slot.element)
            entries.emplace_back(slot.element->id, slot.element);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return entries;
}
