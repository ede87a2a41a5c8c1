#include "xmi/ObjectPools.h"

#include <algorithm>
#include <cstdlib>
#include <new>

std::atomic<std::size_t> ObjectPools::nextTypeIndex_{0};

namespace {

// A type's first block holds a few objects, for the many small models; each next block
// doubles, up to a size where the cost of a block is far below that of its objects.
constexpr std::size_t firstBlock = 1024;
constexpr std::size_t largestBlock = std::size_t{1} << 20;

void* allocateOrThrow(std::size_t size) {
    void* memory = std::malloc(size);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

} // namespace

ObjectPools::~ObjectPools() {
    for (void* block : blocks_)
        std::free(block);
}

void* ObjectPools::allocate(std::size_t type, std::size_t size) {
    if (apart) {
        blocks_.push_back(nullptr); // room to keep the object before it is made
        blocks_.back() = allocateOrThrow(size);
        return blocks_.back();
    }
    if (pools_.size() <= type)
        pools_.resize(type + 1);
    Pool& pool = pools_[type];
    if (static_cast<std::size_t>(pool.end - pool.next) < size) {
        const std::size_t blockSize =
            std::max(size, std::min(largestBlock, std::max(firstBlock, pool.blockSize * 2)));
        blocks_.push_back(nullptr);
        char* block = static_cast<char*>(allocateOrThrow(blockSize));
        blocks_.back() = block;
        pool = {block, block + blockSize, blockSize};
    }
    void* object = pool.next;
    pool.next += size;
    return object;
}
