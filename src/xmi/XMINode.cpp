#include "xmi/XMINode.h"

#include <algorithm>

namespace {
struct NameLess {
    bool operator()(const std::pair<std::string, std::string>& a, const std::string& b) const {
        return a.first < b;
    }
};

// Longer attribute lists than this are sorted in n log n steps.
constexpr std::size_t insertionSortLimit = 32;
} // namespace

XMINode::XMINode(std::string nodeName)
    : names_(std::make_unique<XMINameTable>()), name(names_->intern(nodeName)) {}

const std::string* XMINode::attribute(const std::string& attributeName) const {
    // Nodes have few attributes: a linear scan beats the binary search's branches.
    for (const auto& entry : attributes) {
        if (entry.first == attributeName)
            return &entry.second;
    }
    return nullptr;
}

void XMINode::setAttribute(std::string attributeName, std::string value) {
    auto it = std::lower_bound(attributes.begin(), attributes.end(), attributeName, NameLess());
    if (it != attributes.end() && it->first == attributeName)
        it->second = std::move(value);
    else
        attributes.emplace(it, std::move(attributeName), std::move(value));
}

void XMINode::sortAttributes() {
    auto notStrictlyAscending = [](const auto& a, const auto& b) { return !(a.first < b.first); };
    if (std::adjacent_find(attributes.begin(), attributes.end(), notStrictlyAscending) ==
        attributes.end())
        return;
    // An element has a handful of attributes: a stable insertion sort moves no more than
    // it must and needs no buffer. A long list gets a stable sort of n log n steps, which
    // leaves the same order.
    if (attributes.size() > insertionSortLimit) {
        std::stable_sort(attributes.begin(), attributes.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    } else {
        for (std::size_t i = 1; i < attributes.size(); ++i) {
            for (std::size_t j = i; j > 0 && attributes[j].first < attributes[j - 1].first; --j)
                std::swap(attributes[j], attributes[j - 1]);
        }
    }
    // Later duplicates win, as a map assignment would have it; compacted in place.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (kept > 0 && attributes[kept - 1].first == attributes[i].first)
            attributes[kept - 1].second = std::move(attributes[i].second);
        else if (kept++ != i)
            attributes[kept - 1] = std::move(attributes[i]);
    }
    attributes.erase(attributes.begin() + static_cast<std::ptrdiff_t>(kept), attributes.end());
}
