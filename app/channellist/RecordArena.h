#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

// Under the address sanitizer every allocation takes the checked path
// (redzones, poisoning); otherwise the common case is inline.
#if defined(__SANITIZE_ADDRESS__)
#define SVL_ARENA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SVL_ARENA_ASAN 1
#endif
#endif
#ifndef SVL_ARENA_ASAN
#define SVL_ARENA_ASAN 0
#endif

namespace record_arena_detail {
struct Chunk;
/// The open chunk of this thread (all null outside a scope): the next free
/// byte, the chunk's end, and how many allocations it has handed out.
struct ThreadState {
    int depth = 0;
    Chunk* chunk = nullptr;
    char* next = nullptr;
    char* end = nullptr;
    std::int64_t handedOut = 0;
};
inline thread_local ThreadState state;
}  // namespace record_arena_detail

/// Memory for records that a load creates in bulk (programs and their
/// stream arrays).
///
/// While a RecordArena::Scope is open on a thread, Allocate hands out memory
/// from large chunks by moving a pointer, so that loading a list of many
/// thousand programs costs a few hundred heap allocations instead of several
/// per program. Outside a scope it takes memory from the global heap. Every
/// allocation carries a header naming its chunk (or none), so Free works for
/// both kinds, from any thread, in any order. A chunk goes back to the heap
/// when its scope has ended and the last allocation in it has been freed;
/// memory freed inside a chunk is not reused before that.
class RecordArena {
  public:
    /// Alignment of the memory Allocate returns: enough for the records,
    /// and no more, to keep them packed.
    static constexpr std::size_t Alignment = 8;
    /// Memory for `size` bytes, aligned to Alignment.
    static void* Allocate(std::size_t size) {
#if !SVL_ARENA_ASAN
        // Inside a scope with room in the open chunk: a record is its chunk
        // pointer followed by the rounded size. Everything else (no scope,
        // a full chunk, a large size) takes the out-of-line path.
        record_arena_detail::ThreadState& s = record_arena_detail::state;
        if (size <= ChunkBytes / 4) {
            const std::size_t total = sizeof(void*) + ((size + Alignment - 1) & ~(Alignment - 1));
            if (total <= ChunkBytes / 4 && total <= static_cast<std::size_t>(s.end - s.next)) {
                char* at = s.next;
                s.next = at + total;
                ++s.handedOut;
                std::memcpy(at, &s.chunk, sizeof s.chunk);
                return at + sizeof(void*);
            }
        }
#endif
        return AllocateSlow(size);
    }
    /// Frees what Allocate returned; nullptr is ignored.
    static void Free(void* p) noexcept;

    /// Bulk allocation on this thread for its lifetime. Scopes nest; only the
    /// outermost one opens and closes chunks.
    class Scope {
      public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    /// Chunk size; allocations above a quarter of it always use the heap.
    static constexpr std::size_t ChunkBytes = 64 * 1024;
    /// Allocate's general path.
    static void* AllocateSlow(std::size_t size);
    /// True when `p` (from Allocate) lies in a chunk, for tests.
    static bool InChunk(const void* p) noexcept;
    /// Chunks taken from the heap and not yet given back, for tests.
    static std::size_t ChunksHeld() noexcept;
};

/// Standard allocator over RecordArena, for containers inside records.
template <class T>
struct RecordAllocator {
    static_assert(alignof(T) <= RecordArena::Alignment);
    using value_type = T;
    RecordAllocator() noexcept = default;
    template <class U>
    RecordAllocator(const RecordAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(RecordArena::Allocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t) noexcept { RecordArena::Free(p); }
    friend bool operator==(const RecordAllocator&, const RecordAllocator&) noexcept { return true; }
};
