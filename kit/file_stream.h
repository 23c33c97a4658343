// A stream over an operating-system file. On Windows it opens the file with
// CreateFileW; elsewhere with open(2). Paths are UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "kit/stream.h"

// Open modes (the values of the component library this layer stands in for).
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmCreate = 0xFFFF,  // create or empty; read and write access, no sharing
};

class TFileStream : public TSeekableStream {
public:
    // fmCreate: create the file or empty an existing one.
    // fmOpenRead: open an existing file for reading (sharing reads).
    // fmOpenReadWrite | fmShareExclusive: open or create without emptying,
    // read and write access, no sharing.
    // Raises EFOpenError (fmOpenRead) or EFCreateError naming the path when
    // the file cannot be opened.
    TFileStream(const std::string& path, unsigned mode);
    ~TFileStream() override;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;

    std::int64_t Size() const override;
    void Seek(std::int64_t position) override;
    void Truncate() override;
    void Flush() override;
    const std::string& Path() const { return path_; }
    // Whether opening made the file (it did not exist before).
    bool Created() const { return created_; }

private:
    std::string path_;
    bool created_ = false;
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};
