#include "channellist/RecordArena.h"

#include <atomic>
#include <cstdint>

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace record_arena_detail {
// While a chunk is open its count carries a large bias, so that frees of its
// records cannot bring it to zero; closing the chunk swaps the bias for the
// number of records handed out, and whoever brings it to zero frees it.
constexpr std::int64_t OpenBias = std::int64_t{1} << 62;

struct alignas(16) Chunk {
    std::atomic<std::int64_t> live{OpenBias};
};
}  // namespace record_arena_detail

namespace {

using record_arena_detail::Chunk;
using record_arena_detail::OpenBias;
using record_arena_detail::state;
using record_arena_detail::ThreadState;

// Records in a chunk are followed by a poisoned gap under the sanitizer.
constexpr std::size_t Redzone = SVL_ARENA_ASAN ? 16 : 0;

// Each allocation starts with its chunk (nullptr: from the heap); under the
// address sanitizer also with its size, so that a freed record is poisoned.
struct Header {
    Chunk* chunk;
#if SVL_ARENA_ASAN
    std::size_t size;
#endif
};
constexpr std::size_t HeaderBytes = sizeof(Header);
static_assert(HeaderBytes % RecordArena::Alignment == 0);

std::atomic<std::size_t> chunksHeld{0};

void ReleaseChunk(Chunk* chunk) noexcept {
    ASAN_UNPOISON_MEMORY_REGION(chunk, RecordArena::ChunkBytes);
    chunk->~Chunk();
    ::operator delete(chunk);
    chunksHeld.fetch_sub(1, std::memory_order_relaxed);
}

void CloseChunk(ThreadState& s) noexcept {
    if (!s.chunk) return;
    const std::int64_t delta = s.handedOut - OpenBias;
    if (s.chunk->live.fetch_add(delta, std::memory_order_acq_rel) + delta == 0)
        ReleaseChunk(s.chunk);
    s.chunk = nullptr;
    s.next = s.end = nullptr;
    s.handedOut = 0;
}

void OpenChunk(ThreadState& s) {
    CloseChunk(s);
    void* raw = ::operator new(RecordArena::ChunkBytes);
    chunksHeld.fetch_add(1, std::memory_order_relaxed);
    s.chunk = new (raw) Chunk;
    s.next = static_cast<char*>(raw) + sizeof(Chunk);
    s.end = static_cast<char*>(raw) + RecordArena::ChunkBytes;
    ASAN_POISON_MEMORY_REGION(s.next, static_cast<std::size_t>(s.end - s.next));
}

char* Stamp(char* at, Chunk* chunk, [[maybe_unused]] std::size_t size) {
    Header* header = reinterpret_cast<Header*>(at);
    header->chunk = chunk;
#if SVL_ARENA_ASAN
    header->size = size;
#endif
    return at + HeaderBytes;
}

}  // namespace

void* RecordArena::AllocateSlow(std::size_t size) {
    if (size > ChunkBytes) {
        // Too big for a chunk; checked first so that the rounding cannot overflow.
        return Stamp(static_cast<char*>(::operator new(HeaderBytes + size)), nullptr, size);
    }
    const std::size_t total =
        HeaderBytes + ((size + RecordArena::Alignment - 1) & ~(RecordArena::Alignment - 1));
    ThreadState& s = state;
    if (s.depth == 0 || total > ChunkBytes / 4)
        return Stamp(static_cast<char*>(::operator new(total)), nullptr, size);
    if (static_cast<std::size_t>(s.end - s.next) < total + Redzone) OpenChunk(s);
    char* at = s.next;
    s.next += total + Redzone;
    ++s.handedOut;
    ASAN_UNPOISON_MEMORY_REGION(at, total);
    return Stamp(at, s.chunk, size);
}

void RecordArena::Free(void* p) noexcept {
    if (!p) return;
    char* at = static_cast<char*>(p) - HeaderBytes;
    const Header header = *reinterpret_cast<const Header*>(at);
    if (!header.chunk) {
        ::operator delete(at);
        return;
    }
#if SVL_ARENA_ASAN
    // Poisoned, so that a use after free or a second free is reported.
    ASAN_POISON_MEMORY_REGION(at, HeaderBytes + header.size);
#endif
    if (header.chunk->live.fetch_sub(1, std::memory_order_acq_rel) == 1) ReleaseChunk(header.chunk);
}

bool RecordArena::InChunk(const void* p) noexcept {
    const char* at = static_cast<const char*>(p) - HeaderBytes;
    return reinterpret_cast<const Header*>(at)->chunk != nullptr;
}

std::size_t RecordArena::ChunksHeld() noexcept {
    return chunksHeld.load(std::memory_order_relaxed);
}

RecordArena::Scope::Scope() { ++state.depth; }

RecordArena::Scope::~Scope() {
    if (--state.depth == 0) CloseChunk(state);
}
