#include "platform/storage/linux/fd_device.h"

#include "platform/storage/linux/error_map.h"
#include "platform/storage/storage.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform::storage {
namespace {

// Memory alignment that satisfies direct transfers on every device here
// (logical blocks of 512 or 4096 bytes).
constexpr std::uintptr_t kDirectAlignment = 4096;
// Bounce buffer for unaligned direct transfers, moved in pieces of this size.
constexpr std::uint32_t kBounceSize = 1u << 20;

FdDevice::Kind KindOf(const struct stat& st) {
    if (S_ISREG(st.st_mode))
        return FdDevice::Kind::regular;
    if (S_ISBLK(st.st_mode))
        return FdDevice::Kind::block;
    return FdDevice::Kind::other;
}

// pread or pwrite until length bytes have moved. A read stops at the end of
// the data; a write that fails after some bytes have reached the device
// reports those bytes (a short write) rather than the error.
std::uint32_t Move(int fd, bool write, std::uint64_t offset, std::uint8_t* p, std::uint32_t length,
                   std::uint32_t* done) {
    *done = 0;
    while (*done < length) {
        const std::size_t want = length - *done;
        const off_t at = static_cast<off_t>(offset + *done);
        const ssize_t n = write ? ::pwrite(fd, p + *done, want, at) : ::pread(fd, p + *done, want, at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (write && *done > 0)
                return 0;
            return ErrorFromErrno(errno);
        }
        *done += static_cast<std::uint32_t>(n);
        if (n == 0 || (!write && static_cast<std::size_t>(n) < want))
            break;
    }
    return 0;
}

} // namespace

void FdDevice::FreeAligned::operator()(void* p) const { std::free(p); }

FdDevice::FdDevice(int fd, Kind kind, dev_t rdev, bool direct, bool dropCacheOnRead)
    : m_fd(fd), m_kind(kind), m_rdev(rdev), m_direct(direct), m_dropCacheOnRead(dropCacheOnRead),
      m_syncAfterWrite(dropCacheOnRead) {}

FdDevice::~FdDevice() { ::close(m_fd); }

std::unique_ptr<FdDevice> FdDevice::Open(const std::string& path, int accessFlags, bool direct,
                                         std::uint32_t* error) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is cleared below.
    const int flags = accessFlags | O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(path.c_str(), flags | (direct ? O_DIRECT : 0), 0666);
    bool fellBack = false;
    if (fd < 0 && direct && errno == EINVAL) {
        fd = ::open(path.c_str(), flags, 0666);
        fellBack = true;
    }
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        *error = ErrorFromErrno(errno);
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    *error = 0;
    return std::unique_ptr<FdDevice>(
        new FdDevice(fd, KindOf(st), st.st_rdev, direct && !fellBack, fellBack));
}

std::uint64_t FdDevice::SizeBytes() const {
    if (m_kind == Kind::block) {
        std::uint64_t bytes = 0;
        return ::ioctl(m_fd, BLKGETSIZE64, &bytes) == 0 ? bytes : 0;
    }
    struct stat st {};
    return ::fstat(m_fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::uint32_t FdDevice::Truncate() { return ::ftruncate(m_fd, 0) == 0 ? 0 : ErrorFromErrno(errno); }

std::uint32_t FdDevice::ReadAt(std::uint64_t offset, void* buffer, std::uint32_t length, std::uint32_t* done) {
    if (m_dropCacheOnRead)
        ::posix_fadvise(m_fd, static_cast<off_t>(offset), length, POSIX_FADV_DONTNEED);
    return Transfer(false, offset, buffer, length, done);
}

std::uint32_t FdDevice::WriteAt(std::uint64_t offset, const void* buffer, std::uint32_t length,
                                std::uint32_t* done) {
    // Transfer only reads from the buffer when writing.
    const std::uint32_t error = Transfer(true, offset, const_cast<void*>(buffer), length, done);
    if (error == 0 && *done > 0 && m_syncAfterWrite && ::fdatasync(m_fd) != 0)
        return ErrorFromErrno(errno);
    return error;
}

std::uint32_t FdDevice::Transfer(bool write, std::uint64_t offset, void* buffer, std::uint32_t length,
                                 std::uint32_t* done) {
    if (m_direct && reinterpret_cast<std::uintptr_t>(buffer) % kDirectAlignment != 0)
        return TransferBounced(write, offset, buffer, length, done);
    return Move(m_fd, write, offset, static_cast<std::uint8_t*>(buffer), length, done);
}

std::uint32_t FdDevice::TransferBounced(bool write, std::uint64_t offset, void* buffer, std::uint32_t length,
                                        std::uint32_t* done) {
    *done = 0;
    if (!m_bounce)
        m_bounce.reset(static_cast<std::uint8_t*>(std::aligned_alloc(kDirectAlignment, kBounceSize)));
    if (!m_bounce)
        return ERROR_NOT_ENOUGH_MEMORY;
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (*done < length) {
        const std::uint32_t piece = std::min(kBounceSize, length - *done);
        if (write)
            std::memcpy(m_bounce.get(), p + *done, piece);
        std::uint32_t moved = 0;
        const std::uint32_t error = Move(m_fd, write, offset + *done, m_bounce.get(), piece, &moved);
        if (!write)
            std::memcpy(p + *done, m_bounce.get(), moved);
        *done += moved;
        if (error != 0)
            return write && *done > 0 ? 0 : error;
        if (moved < piece)
            break;
    }
    return 0;
}

} // namespace platform::storage
