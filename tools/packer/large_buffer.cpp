// Large buffers: on Linux aligned to and sized in whole huge pages, with the
// kernel advised to back them so; elsewhere plain malloc.
#include "tools/packer/large_buffer.h"

#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

#ifdef __linux__
constexpr std::size_t kHugePage = std::size_t(2) << 20;
#endif

}  // namespace

void* AllocateLargeBuffer(std::size_t bytes) {
    if (bytes == 0) bytes = 1;
#ifdef __linux__
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* p = nullptr;
        if (rounded < bytes || posix_memalign(&p, kHugePage, rounded) != 0) throw std::bad_alloc();
        madvise(p, rounded, MADV_HUGEPAGE);  // only advice: without it the pages are small
        return p;
    }
#endif
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    return p;
}

void LargeBufferFree::operator()(void* p) const { std::free(p); }
