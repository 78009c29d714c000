// Small helpers shared by the storage-service tests.
#pragma once

#include "platform/storage/storage.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace storage_test {

// A handle closed at the end of the scope.
struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE value) : h(value) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return h; }  // NOLINT
};

inline HANDLE Open(const std::u16string& path, DWORD access, DWORD flags = 0, DWORD disposition = OPEN_EXISTING) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, flags, nullptr);
}

inline std::u16string DiskPath(int number) {
    std::u16string path = u"\\\\.\\PhysicalDrive";
    for (char c : std::to_string(number))
        path += static_cast<char16_t>(c);
    return path;
}

inline bool Seek(HANDLE h, std::uint64_t offset) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) != 0;
}

// A 4096-aligned buffer, as the sector transfer buffers are.
struct AlignedBuffer {
    explicit AlignedBuffer(std::size_t size)
        : bytes(static_cast<std::uint8_t*>(std::aligned_alloc(4096, size + 4096))), length(size) {
        std::memset(bytes, 0, size + 4096);
    }
    ~AlignedBuffer() { std::free(bytes); }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    std::uint8_t* bytes;
    std::size_t length;
};

inline void FillPattern(std::uint8_t* p, std::size_t n, unsigned seed) {
    for (std::size_t i = 0; i < n; ++i)
        p[i] = static_cast<std::uint8_t>((i * 131 + seed * 7 + (i >> 9)) & 0xFF);
}

// Bytes of a file read with plain POSIX calls, bypassing the code under test.
inline std::vector<std::uint8_t> ReadBytes(const std::string& path, std::uint64_t offset, std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t got = ::pread(fd, bytes.data(), n, static_cast<off_t>(offset));
    ::close(fd);
    bytes.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return bytes;
}

// Drops the file's pages from the page cache, after writing them out.
inline void EvictFromCache(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    ::fsync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// How many of the file's pages in [offset, offset + n) sit in the page cache.
inline std::size_t CachedPages(const std::string& path, std::uint64_t offset, std::size_t n) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    void* map = ::mmap(nullptr, n, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(offset));
    ::close(fd);
    if (map == MAP_FAILED)
        return ~std::size_t{0};
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident((n + page - 1) / page);
    ::mincore(map, n, resident.data());
    ::munmap(map, n);
    std::size_t cached = 0;
    for (unsigned char r : resident)
        cached += r & 1;
    return cached;
}

} // namespace storage_test
