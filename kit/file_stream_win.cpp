// TFileStream over a Windows file handle: one WriteFile per write, no buffer
// of its own, so every write of the caller reaches the file at once.
#include <windows.h>

#include <algorithm>

#include "kit/exceptions.h"
#include "kit/file_stream.h"
#include "kit/text.h"

TFileStream::TFileStream(const std::string& path, unsigned mode) : path_(path) {
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode == fmCreate) {
        access = GENERIC_READ | GENERIC_WRITE;
        share = 0;
        disposition = CREATE_ALWAYS;
    } else if (mode & fmOpenReadWrite) {
        access = GENERIC_READ | GENERIC_WRITE;
        share = (mode & fmShareExclusive) ? 0 : FILE_SHARE_READ;
        disposition = OPEN_ALWAYS;
    }
    handle_ = ::CreateFileW(Utf8ToWide(path).c_str(), access, share, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        // Reading an existing file fails to open it; the other modes fail to make it.
        if (mode == fmOpenRead) throw EFOpenError(FormatMessage1(msg::kFOpenError, path));
        throw EFCreateError(FormatMessage1(msg::kFCreateError, path));
    }
    created_ = disposition != OPEN_EXISTING && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

TFileStream::~TFileStream() { ::CloseHandle(handle_); }

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(handle_, static_cast<char*>(buffer) + done, chunk, &got, nullptr) || got == 0) break;
        done += got;
    }
    return done;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD put = 0;
        if (!::WriteFile(handle_, static_cast<const char*>(buffer) + done, chunk, &put, nullptr) || put == 0) break;
        done += put;
    }
    return done;
}

std::int64_t TFileStream::Size() const {
    LARGE_INTEGER size;
    return ::GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
}

void TFileStream::Seek(std::int64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = position;
    if (!::SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN)) throw EReadError(msg::kReadError);
}

void TFileStream::Truncate() {
    if (!::SetEndOfFile(handle_)) throw EWriteError(msg::kWriteError);
}

void TFileStream::Flush() {
    if (!::FlushFileBuffers(handle_)) throw EWriteError(msg::kWriteError);
}
