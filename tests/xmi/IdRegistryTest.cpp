#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "uml/UMLModel.h"
#include "xmi/IdRegistry.h"

namespace {

std::vector<std::unique_ptr<UMLClass>> classes(const std::vector<std::string>& ids) {
    std::vector<std::unique_ptr<UMLClass>> out;
    for (const std::string& id : ids) {
        out.push_back(std::make_unique<UMLClass>());
        out.back()->id = id;
    }
    return out;
}

} // namespace

TEST(IdRegistry, FindsEveryIdThroughGrowthAndListsThemSorted) {
    // Enough ids to grow the table many times; ids that share prefixes and suffixes.
    std::vector<std::string> ids;
    for (int i = 0; i < 5000; ++i)
        ids.push_back((i % 2 ? "EAID_" : "") + std::to_string(i * 7919 % 100003));
    // Ids of several words that differ only in their last word, or only in their first.
    for (int i = 0; i < 300; ++i) {
        ids.push_back("EAID_3C6E1A00-0000-" + std::to_string(1000 + i));
        ids.push_back(std::to_string(1000 + i) + "_3C6E1A00-0000-0000");
    }
    ids.push_back("");
    auto elements = classes(ids);
    IdRegistry registry;
    for (auto& element : elements)
        registry.add(element.get());
    ASSERT_EQ(registry.size(), ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ASSERT_EQ(registry.find(ids[i]), elements[i].get()) << ids[i];
        // The lookup in steps gives the same, and its hint names the element.
        const std::uint64_t hash = IdRegistry::hashOf(ids[i]);
        registry.prefetch(hash);
        ASSERT_EQ(registry.likely(hash), elements[i].get()) << ids[i];
        ASSERT_EQ(registry.find(ids[i], hash), elements[i].get()) << ids[i];
    }
    for (const char* missing : {"EAID_", "x", "EAID_0 ", "00"}) {
        EXPECT_EQ(registry.find(missing), nullptr) << missing;
        EXPECT_EQ(registry.find(missing, IdRegistry::hashOf(missing)), nullptr) << missing;
    }
    EXPECT_EQ(IdRegistry().likely(IdRegistry::hashOf("x")), nullptr);

    const auto sorted = registry.sorted();
    ASSERT_EQ(sorted.size(), ids.size());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        ASSERT_LT(sorted[i - 1].first, sorted[i].first);
}

TEST(IdRegistry, ALaterElementWithTheSameIdReplacesTheEarlier) {
    auto elements = classes({"a", "b", "a"});
    IdRegistry registry;
    EXPECT_EQ(registry.find("a"), nullptr);
    for (auto& element : elements)
        registry.add(element.get());
    EXPECT_EQ(registry.size(), 2u);
    EXPECT_EQ(registry.find("a"), elements[2].get());
    EXPECT_EQ(registry.find("b"), elements[1].get());
}
