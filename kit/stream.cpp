// Whole-count transfers and the memory streams.
#include "kit/stream.h"

#include <algorithm>
#include <cstring>

#include "kit/exceptions.h"

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(msg::kReadError);
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(msg::kWriteError);
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    std::size_t n = std::min(count, data_.size() - std::min(position_, data_.size()));
    if (n) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (position_ + count > data_.size()) data_.resize(position_ + count);
    if (count) std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

std::size_t TReadOnlyMemoryStream::Read(void* buffer, std::size_t count) {
    std::size_t n = std::min(count, size_ - position_);
    if (n) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
}

std::size_t TReadOnlyMemoryStream::Write(const void*, std::size_t) { return 0; }
