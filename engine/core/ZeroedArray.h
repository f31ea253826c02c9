// Zero-valued arrays sized for a capacity that a chain may never fill: a whole utterance
// of samples, frames or feature addresses. Large ones are mapped straight from the
// kernel, whose fresh pages read as zeros and take neither memory nor time until they
// are written, so the capacity a chain never reaches costs nothing, whatever the heap
// did before. Small ones come from calloc. Every value reads as zero until written, as
// with a value-initialised array.
#pragma once
#include <cstddef>
#include <memory>

// Gives back what AllocateZeroed made; frees nothing for null.
struct ZeroedRelease {
    size_t bytes = 0;
    void operator()(void* memory) const;
};

// bytes zero bytes (at least one); throws std::bad_alloc when there is no memory.
void* AllocateZeroed(size_t bytes, ZeroedRelease* release);

template <class T> using ZeroedArray = std::unique_ptr<T[], ZeroedRelease>;

// An array of count zero values of a trivial type T; at least one, so that data
// pointers of empty arrays still point at a value.
template <class T> ZeroedArray<T> MakeZeroed(size_t count) {
    ZeroedRelease release;
    void* memory = AllocateZeroed((count > 0 ? count : 1) * sizeof(T), &release);
    return ZeroedArray<T>(static_cast<T*>(memory), release);
}
