// Byte streams: the abstract TStream with whole-count transfers, and an
// in-memory stream used by the packer and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Transfer up to count bytes and return how many were transferred.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;

    // Transfer exactly count bytes or raise EReadError / EWriteError.
    // A count of 0 transfers nothing and never fails.
    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
};

// A growable stream over memory; reads start at position 0.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;

    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(data_); }
    std::size_t Position() const { return position_; }

private:
    std::vector<std::uint8_t> data_;
    std::size_t position_ = 0;
};

// A stream with a size and a position that can be cut and flushed: what
// extraction needs of its target file.
class TSeekableStream : public TStream {
public:
    virtual std::int64_t Size() const = 0;
    virtual void Seek(std::int64_t position) = 0;  // from the start
    virtual void Truncate() = 0;                    // at the current position
    virtual void Flush() = 0;                       // data to the device
};

// A read-only stream over bytes owned by someone else (a module's resource,
// a fuzzer's input).
class TReadOnlyMemoryStream : public TStream {
public:
    TReadOnlyMemoryStream(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    const std::uint8_t* Memory() const { return data_; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::size_t Size() const { return size_; }

protected:
    TReadOnlyMemoryStream() = default;
    void Assign(const void* data, std::size_t size) {
        data_ = static_cast<const std::uint8_t*>(data);
        size_ = size;
        position_ = 0;
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
};
