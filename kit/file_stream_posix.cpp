// TFileStream over POSIX file descriptors (the packer on Linux).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kit/exceptions.h"
#include "kit/file_stream.h"

TFileStream::TFileStream(const std::string& path, unsigned mode) : path_(path) {
    int flags = O_RDONLY;
    if (mode == fmCreate) flags = O_RDWR | O_CREAT | O_TRUNC;
    else if (mode & fmOpenReadWrite) flags = O_RDWR | O_CREAT;
    if (flags & O_CREAT) {
        struct stat st {};
        created_ = ::stat(path.c_str(), &st) != 0;
    }
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        // Reading an existing file fails to open it; the other modes fail to make it.
        if (mode == fmOpenRead) throw EFOpenError(FormatMessage1(msg::kFOpenError, path));
        throw EFCreateError(FormatMessage1(msg::kFCreateError, path));
    }
}

TFileStream::~TFileStream() { ::close(fd_); }

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t TFileStream::Size() const {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? st.st_size : -1;
}

void TFileStream::Seek(std::int64_t position) {
    if (::lseek(fd_, position, SEEK_SET) < 0) throw EReadError(msg::kReadError);
}

void TFileStream::Truncate() {
    off_t at = ::lseek(fd_, 0, SEEK_CUR);
    if (at < 0 || ::ftruncate(fd_, at) != 0) throw EWriteError(msg::kWriteError);
}

void TFileStream::Flush() {
    if (::fsync(fd_) != 0) throw EWriteError(msg::kWriteError);
}
