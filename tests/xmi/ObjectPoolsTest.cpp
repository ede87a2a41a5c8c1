#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "uml/UMLModel.h"
#include "xmi/XMIResult.h"

namespace {

struct Counted : UMLBase {
    static int alive;
    Counted() { ++alive; }
    ~Counted() override { --alive; }
    std::string text = std::string(100, 'x'); // on the heap: a missed destructor leaks it
};
int Counted::alive = 0;

} // namespace

TEST(ObjectPools, ObjectsOfATypeLieInCreationOrderAndTheResultDestroysThemAll) {
    const int classes = 5000; // several blocks of the class pool
    {
        XMIResult result;
        std::vector<UMLClass*> made;
        for (int i = 0; i < classes; ++i) {
            made.push_back(result.create<UMLClass>());
            made.back()->name = "Class " + std::to_string(i) + std::string(40, '_');
            result.create<UMLAttribute>();
            result.create<Counted>();
            result.create<UMLOperation>();
        }
        ASSERT_EQ(result.objects().size(), 4u * classes);
        EXPECT_EQ(Counted::alive, classes);
        int gaps = 0;
        for (int i = 0; i < classes; ++i) {
            const auto address = reinterpret_cast<std::uintptr_t>(made[i]);
            EXPECT_EQ(address % alignof(UMLClass), 0u);
            if (i > 0 && address != reinterpret_cast<std::uintptr_t>(made[i - 1] + 1))
                ++gaps;
        }
        if (!ObjectPools::apart) {
            EXPECT_LE(gaps, 12) << "the classes do not follow each other in memory";
        }
    }
    EXPECT_EQ(Counted::alive, 0);
}
