#pragma once
// The memory of the objects of one load, kept by type: the objects of one type lie side by
// side in the order they were made. A pass over the elements of one kind, such as the
// classes a metrics file lists in document order, then reads memory in sequence instead of
// one scattered page per element. Memory is returned in one go when the pools go; the
// objects in them must be destroyed before.
//
// Under AddressSanitizer every object is allocated on its own, so that a stray access
// between two objects is still caught.
#include <atomic>
#include <cstddef>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define BRENNIMORE_OBJECTS_APART 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRENNIMORE_OBJECTS_APART 1
#endif
#endif

class ObjectPools {
public:
    ObjectPools() = default;
    ObjectPools(const ObjectPools&) = delete;
    ObjectPools& operator=(const ObjectPools&) = delete;
    ~ObjectPools();

    // Uninitialised room for one T, suitably aligned; returned only with the pools.
    template <class T> void* allocate() {
        static_assert(alignof(T) <= alignof(std::max_align_t), "over-aligned object");
        // A type's size is a multiple of its alignment: objects made side by side stay aligned.
        return allocate(typeIndex<T>(), sizeof(T));
    }

#ifdef BRENNIMORE_OBJECTS_APART
    static constexpr bool apart = true;
#else
    static constexpr bool apart = false;
#endif

private:
    // One number per type, the same in every set of pools.
    template <class T> static std::size_t typeIndex() {
        static const std::size_t index = nextTypeIndex_.fetch_add(1);
        return index;
    }
    void* allocate(std::size_t type, std::size_t size);

    struct Pool {
        char* next = nullptr; // the free room of the newest block
        char* end = nullptr;
        std::size_t blockSize = 0; // of the newest block
    };
    static std::atomic<std::size_t> nextTypeIndex_;
    std::vector<Pool> pools_;   // by type index
    std::vector<void*> blocks_; // every block, or every object when kept apart
};
