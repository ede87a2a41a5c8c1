#include "xmi/XMINode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <new>
#include <system_error>
#include <unordered_map>

#include <sys/mman.h>
#include <unistd.h>

struct XMITreeBuilder::Name {
    const std::string* text;
    // The first eight characters as a big-endian number: orders most pairs of names
    // without comparing the strings.
    std::uint64_t sortKey;
    // The value the attribute of this name had last: attributes such as isAbstract="false"
    // repeat on thousands of elements and share one copy.
    std::string_view lastValue;
};

namespace {
// Raw memory for one tree, cut from blocks and freed in one go. Blocks grow from 64 KiB to
// 2 MiB as the tree grows: a small document takes little, a large one few blocks.
//
// Fresh memory costs a page fault per page on first write, about a tenth of the load of a
// large model. A block's pages are therefore asked for all at once when it is taken, which
// costs less than a fault each. Once a tree has grown large, the next block is allocated
// and its pages provided on a helper thread while the parse fills the current one, so that
// the parse finds it ready. At most one block is prepared ahead; a small tree, which loads
// in a moment anyway, never has one.
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena() {
        if (ahead_.valid())
            std::free(ahead_.get());
    }

    void* allocate(std::size_t bytes, std::size_t align) {
        if (bytes > ownBlockSize)
            return keep(std::malloc(bytes));
        std::size_t padding = (align - reinterpret_cast<std::uintptr_t>(cursor_) % align) % align;
        if (padding + bytes > remaining_) {
            cursor_ = static_cast<unsigned char*>(nextBlock());
            remaining_ = nextSize_;
            nextSize_ = std::min(nextSize_ * 2, largestBlock);
            padding = 0;
        }
        void* at = cursor_ + padding;
        cursor_ += padding + bytes;
        remaining_ -= padding + bytes;
        return at;
    }

private:
    static constexpr std::size_t largestBlock = std::size_t{2} << 20;
    // Full-size blocks a tree fills before the next ones are prepared ahead (16 MiB).
    static constexpr std::size_t blocksBeforeLookAhead = 8;
    // Longer runs than this get a block of their own, so that little of a block is unused.
    static constexpr std::size_t ownBlockSize = 8 * 1024;

    struct Free {
        void operator()(void* block) const { std::free(block); }
    };

    // A block of nextSize_ bytes: the one prepared ahead when there is one.
    void* nextBlock() {
        const bool prepared = ahead_.valid();
        void* block = keep(prepared ? ahead_.get() : std::malloc(nextSize_));
        if (!prepared)
            askForPages(block, nextSize_);
        if (nextSize_ == largestBlock && ++fullBlocks_ >= blocksBeforeLookAhead) {
            try {
                ahead_ = std::async(std::launch::async, preparedBlock);
            } catch (const std::system_error&) {
                // No thread to spare: the next block is allocated when it is needed.
            }
        }
        return block;
    }

    static void* preparedBlock() {
        void* block = std::malloc(largestBlock);
        if (block) {
            // One write per page makes the system provide them all.
            for (std::size_t i = 0; i < largestBlock; i += pageSize())
                static_cast<volatile unsigned char*>(block)[i] = 0;
        }
        return block;
    }

    static std::size_t pageSize() {
        static const long size = sysconf(_SC_PAGESIZE);
        return size > 0 ? static_cast<std::size_t>(size) : 4096;
    }

    // Asks the system to provide the whole pages of a fresh block now, in one call. Where
    // it cannot, the pages come one fault at a time as they are written.
    static void askForPages(void* block, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
        const std::uintptr_t mask = pageSize() - 1;
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t begin = (start + mask) & ~mask;
        const std::uintptr_t end = (start + bytes) & ~mask;
        if (end > begin)
            madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
        (void)block;
        (void)bytes;
#endif
    }

    void* keep(void* block) {
        // Not filled: everything is written before it is read.
        if (!block)
            throw std::bad_alloc();
        blocks_.emplace_back(block);
        return block;
    }

    std::vector<std::unique_ptr<void, Free>> blocks_;
    unsigned char* cursor_ = nullptr; // free part of the newest block
    std::size_t remaining_ = 0;
    std::size_t nextSize_ = 64 * 1024;
    std::size_t fullBlocks_ = 0;
    std::future<void*> ahead_; // the next full-size block, being prepared
};

// Containers whose memory comes from the arena; it is given back with the arena.
template <class T> struct ArenaAllocator {
    using value_type = T;
    explicit ArenaAllocator(Arena& source) : arena(&source) {}
    template <class U> ArenaAllocator(const ArenaAllocator<U>& other) : arena(other.arena) {}
    T* allocate(std::size_t n) {
        return static_cast<T*>(arena->allocate(n * sizeof(T), alignof(T)));
    }
    void deallocate(T*, std::size_t) {}
    template <class U> bool operator==(const ArenaAllocator<U>& o) const {
        return arena == o.arena;
    }
    template <class U> bool operator!=(const ArenaAllocator<U>& o) const {
        return arena != o.arena;
    }
    Arena* arena;
};
} // namespace

// Everything a tree refers to: names in a deque, whose items never move, and the nodes,
// texts, attribute lists and child lists in the arena.
struct XMINode::Storage {
    Arena arena; // declared first: what follows lives in it
    std::deque<std::string> names;
    std::unordered_map<std::string_view, XMITreeBuilder::Name> nameIndex; // keys view into names
    std::deque<XMINode, ArenaAllocator<XMINode>> nodes{ArenaAllocator<XMINode>(arena)};
};

XMINode::XMINode(XMIName internedName, Key) : name(internedName) {}
XMINode::~XMINode() = default;

const std::string_view* XMINode::attribute(std::string_view attributeName) const {
    // Nodes have few attributes: a linear scan beats the binary search's branches.
    for (const XMIAttribute& entry : attributes) {
        if (*entry.name == attributeName)
            return &entry.value;
    }
    return nullptr;
}

namespace {
// Longer attribute lists than this are sorted in n log n steps.
constexpr std::size_t insertionSortLimit = 32;

bool isBlank(std::u16string_view text) {
    // Indentation is a line feed and a run of spaces: spaces are checked four at a time
    // wherever four follow.
    constexpr std::uint64_t spaces = 0x0020002000200020ull;
    for (std::size_t i = 0; i < text.size();) {
        if (i + 4 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if (word == spaces) {
                i += 4;
                continue;
            }
        }
        const char16_t c = text[i++];
        if (c != u' ' && c != u'\n' && c != u'\t' && c != u'\r')
            return false;
    }
    return true;
}

std::uint64_t sortKeyOf(std::string_view name) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i)
        key = key << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
    return key;
}
} // namespace

std::size_t encodeUtf8(const char16_t* text, std::size_t length, char* dest) {
    char* out = dest;
    std::size_t i = 0;
    // Model files are almost all ASCII: four code units at a time while they are.
    while (i + 4 <= length && (text[i] | text[i + 1] | text[i + 2] | text[i + 3]) < 0x80) {
        out[0] = static_cast<char>(text[i]);
        out[1] = static_cast<char>(text[i + 1]);
        out[2] = static_cast<char>(text[i + 2]);
        out[3] = static_cast<char>(text[i + 3]);
        out += 4;
        i += 4;
    }
    for (; i < length; ++i) {
        std::uint32_t c = text[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return static_cast<std::size_t>(out - dest);
}

namespace {
// The number of bytes encodeUtf8 writes for the text.
std::size_t encodedLength(const char16_t* text, std::size_t length) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t c = text[i];
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
                 text[i + 1] <= 0xDFFF) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}
} // namespace

std::string_view Utf8Buffer::convert(const char16_t* text, std::size_t length) {
    // Room for the worst case; a long text gets what it needs exactly, so that a huge value
    // never costs three times its length.
    if (length > capacity_ / 3) {
        const std::size_t needed = length > 4096 ? encodedLength(text, length) : length * 3;
        if (needed > capacity_) {
            capacity_ = std::max<std::size_t>(needed, 256);
            data_ = std::make_unique<char[]>(capacity_);
        }
    }
    return {data_.get(), encodeUtf8(text, length, data_.get())};
}

XMITreeBuilder::XMITreeBuilder() {
    reset();
}

XMITreeBuilder::~XMITreeBuilder() = default;

void XMITreeBuilder::reset() {
    storage_ = std::make_unique<XMINode::Storage>();
    open_.clear();
    attributesOpen_ = false;
    pendingAttributes_.clear();
    finished_.clear();
    root_ = nullptr;
}

XMITreeBuilder::Name& XMITreeBuilder::intern(std::string_view name) {
    auto found = storage_->nameIndex.find(name);
    if (found != storage_->nameIndex.end())
        return found->second;
    const std::string& stored = storage_->names.emplace_back(name);
    return storage_->nameIndex.emplace(stored, Name{&stored, sortKeyOf(stored), {}}).first->second;
}

template <class T> T* XMITreeBuilder::allocate(std::size_t count) {
    // Characters are packed without gaps; lists start at their type's alignment.
    return static_cast<T*>(storage_->arena.allocate(count * sizeof(T), alignof(T)));
}

std::string_view XMITreeBuilder::store(std::string_view text) {
    if (text.empty())
        return {};
    char* at = allocate<char>(text.size());
    std::memcpy(at, text.data(), text.size());
    return {at, text.size()};
}

std::string_view XMITreeBuilder::storeUtf8(std::u16string_view text) {
    // Encoded in place, at its exact length.
    const std::size_t bytes = encodedLength(text.data(), text.size());
    if (bytes == 0)
        return {};
    char* at = allocate<char>(bytes);
    return {at, encodeUtf8(text.data(), text.size(), at)};
}

void XMITreeBuilder::startElement(std::string_view name) {
    startElement(intern(name));
}

void XMITreeBuilder::startElement(Name& name) {
    sealAttributes();
    XMINode& node = storage_->nodes.emplace_back(XMIName(*name.text), XMINode::Key{});
    const std::size_t depth = open_.size();
    if (texts_.size() <= depth)
        texts_.resize(depth + 1);
    texts_[depth].clear();
    open_.push_back({&node, finished_.size()});
    attributesOpen_ = true;
}

void XMITreeBuilder::addAttribute(std::string_view name, std::string_view value) {
    addAttribute(intern(name), value);
}

void XMITreeBuilder::addAttribute(Name& entry, std::string_view value) {
    if (!attributesOpen_)
        return;
    if (entry.lastValue != value)
        entry.lastValue = store(value);
    pendingAttributes_.push_back({&entry, entry.lastValue});
}

// Sorts the attributes of the element just started into its list.
void XMITreeBuilder::sealAttributes() {
    if (!attributesOpen_)
        return;
    attributesOpen_ = false;
    auto& list = pendingAttributes_;
    auto nameLess = [](const PendingAttribute& a, const PendingAttribute& b) {
        if (a.name->sortKey != b.name->sortKey)
            return a.name->sortKey < b.name->sortKey;
        return a.name != b.name && *a.name->text < *b.name->text;
    };
    if (std::adjacent_find(list.begin(), list.end(), [&](const auto& a, const auto& b) {
            return !nameLess(a, b);
        }) != list.end()) {
        // An element has a handful of attributes: a stable insertion sort moves no more
        // than it must. A long list gets a stable sort of n log n steps, which leaves the
        // same order.
        if (list.size() > insertionSortLimit) {
            std::stable_sort(list.begin(), list.end(), nameLess);
        } else {
            for (std::size_t i = 1; i < list.size(); ++i) {
                for (std::size_t j = i; j > 0 && nameLess(list[j], list[j - 1]); --j)
                    std::swap(list[j], list[j - 1]);
            }
        }
        // Later duplicates win; compacted in place.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (kept > 0 && list[kept - 1].name == list[i].name)
                list[kept - 1].value = list[i].value;
            else
                list[kept++] = list[i];
        }
        list.resize(kept);
    }
    if (!list.empty()) {
        XMIAttribute* at = allocate<XMIAttribute>(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            new (at + i) XMIAttribute{list[i].name->text, list[i].value};
        open_.back().node->attributes = {at, list.size()};
    }
    list.clear();
}

void XMITreeBuilder::appendText(std::u16string_view text) {
    if (open_.empty())
        return;
    sealAttributes();
    // The text buffer of each depth keeps its capacity from element to element.
    // Kept as the parser gives it: most of it is indentation that the tree drops, and is
    // never converted.
    texts_[open_.size() - 1].append(text);
}

XMISpan<XMINode* const> XMITreeBuilder::takeChildren(std::size_t first) {
    const std::size_t count = finished_.size() - first;
    if (count == 0)
        return {};
    XMINode** at = allocate<XMINode*>(count);
    std::uninitialized_copy(finished_.begin() + static_cast<std::ptrdiff_t>(first), finished_.end(),
                            at);
    finished_.resize(first);
    return {at, count};
}

void XMITreeBuilder::endElement() {
    if (open_.empty())
        return;
    sealAttributes();
    const OpenElement open = open_.back();
    open_.pop_back();
    XMINode& node = *open.node;
    node.children = takeChildren(open.firstChild);
    // An element with child elements gets the indentation between them as its text;
    // when that is all it got, nothing reads it and the tree does not keep it.
    const std::u16string& text = texts_[open_.size()];
    if (node.children.empty() || !isBlank(text))
        node.text = storeUtf8(text);
    if (open_.empty())
        root_ = &node;
    else
        finished_.push_back(&node);
}

std::unique_ptr<XMINode> XMITreeBuilder::finish() {
    sealAttributes();
    XMINode* result = root_;
    if (!open_.empty()) {
        const OpenElement innermost = open_.back();
        result = innermost.node;
        result->children = takeChildren(innermost.firstChild);
        result->text = storeUtf8(texts_[open_.size() - 1]);
    }
    std::unique_ptr<XMINode> tree;
    if (result) {
        // The root handed out is a copy that owns the storage of the whole tree.
        tree = std::make_unique<XMINode>(result->name, XMINode::Key{});
        tree->text = result->text;
        tree->attributes = result->attributes;
        tree->children = result->children;
        tree->storage_ = std::move(storage_);
    }
    reset();
    return tree;
}
