// Arrays of many megabytes that are written in full before they are read,
// so they skip zeroing. On Linux they also ask for huge pages: touching a
// large array page by page costs thousands of page faults, a sizeable part
// of a pack's time.
#pragma once

#include <cstddef>
#include <memory>

struct LargeBufferFree {
    void operator()(void* p) const;
};

template <typename T>
using LargeArray = std::unique_ptr<T[], LargeBufferFree>;

// Uninitialised room for `bytes` bytes; raises std::bad_alloc when there is none.
void* AllocateLargeBuffer(std::size_t bytes);

// Room for `count` trivial values of T, uninitialised.
template <typename T>
LargeArray<T> NewLargeArray(std::size_t count) {
    return LargeArray<T>(static_cast<T*>(AllocateLargeBuffer(count * sizeof(T))));
}
