// Zero-valued capacity; see ZeroedArray.h. Under AddressSanitizer every array comes from
// calloc, so that its checks still see each array's bounds.
#include "core/ZeroedArray.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kMappedFrom = SIZE_MAX;
#else
// Below this a mapping's rounding to whole pages would waste too much.
constexpr size_t kMappedFrom = 64 * 1024;
#endif
} // namespace

void ZeroedRelease::operator()(void* memory) const {
    if (!memory) return;
    if (bytes >= kMappedFrom)
        munmap(memory, bytes);
    else
        std::free(memory);
}

void* AllocateZeroed(size_t bytes, ZeroedRelease* release) {
    release->bytes = bytes > 0 ? bytes : 1;
    if (release->bytes < kMappedFrom) {
        void* memory = std::calloc(release->bytes, 1);
        if (!memory) throw std::bad_alloc();
        return memory;
    }
    void* memory =
        mmap(nullptr, release->bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    return memory;
}
