#include "xmi/IdRegistry.h"

#include <algorithm>
#include <cstring>

#include "uml/UMLModel.h"

namespace {

std::uint64_t load(const char* bytes, std::size_t size) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, size);
    return word;
}

// The last one to seven characters of an id as one word, zero above them (on a little-endian
// machine, the word a copy into a zeroed word gives), read with fixed-size loads, which the
// compiler makes single moves, instead of a copy of variable length. `behind` tells that the
// eight characters before the end belong to the id, so that one load from there does.
std::uint64_t tailWord(const char* tail, std::size_t size, bool behind) {
    if (behind)
        return load(tail + size - 8, 8) >> (8 * (8 - size));
    if (size >= 4)
        return load(tail, 4) | load(tail + size - 4, 4) << (8 * (size - 4));
    return load(tail, 1) | load(tail + size / 2, 1) << (8 * (size / 2)) |
           load(tail + size - 1, 1) << (8 * (size - 1));
}

} // namespace

std::uint64_t IdRegistry::hashOf(std::string_view id) {
    // Eight characters at a time, each word mixed in with a multiply; a final mix spreads
    // the differing last characters of ids like "3C6E1A000021" over the whole hash.
    constexpr std::uint64_t multiplier = 0xFF51AFD7ED558CCDull;
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ id.size();
    std::size_t i = 0;
    for (; i + 8 <= id.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, id.data() + i, sizeof word);
        hash = (hash ^ word) * multiplier;
        hash ^= hash >> 32;
    }
    if (i < id.size()) {
        hash = (hash ^ tailWord(id.data() + i, id.size() - i, i > 0)) * multiplier;
    }
    hash ^= hash >> 29;
    hash *= 0xC4CEB9FE1A85EC53ull;
    return hash ^ (hash >> 32);
}

void IdRegistry::add(UMLElement* element) {
    add(element, hashOf(element->id));
}

void IdRegistry::add(UMLElement* element, std::uint64_t hash) {
    if ((size_ + 1) * 4 > slots_.size() * 3)
        grow();
    insert(element, hash);
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
