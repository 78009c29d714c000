// A disk, partition or file opened by path for positioned transfers.
//
// Direct transfers (O_DIRECT) bypass the page cache: reads come from the
// medium, and a write has been handed to the device when it returns. The
// kernel wants the memory of a direct transfer aligned; a caller's buffer
// that is not is moved through an aligned bounce buffer of this device, so
// the transfer stays direct. Offsets and lengths are the caller's: a device
// refuses ones that are not whole logical blocks (ERROR_INVALID_PARAMETER),
// as unbuffered transfers are refused on the original system.
//
// A file system without O_DIRECT (tmpfs on older kernels) is opened
// buffered instead: before each read the cached pages of the range are
// dropped, so the read goes to the medium where there is one, and each write
// is followed by fdatasync.
#pragma once

#include "platform/storage/linux/disk_namespace.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

namespace platform::storage {

class FdDevice final : public RawDevice {
public:
    enum class Kind { regular, block, other };

    // Opens path with accessFlags (O_RDONLY, O_WRONLY or O_RDWR, plus
    // O_CREAT where a file may be created). Never blocks on a FIFO. Returns
    // nullptr and sets *error (ERROR_...) on failure.
    static std::unique_ptr<FdDevice> Open(const std::string& path, int accessFlags, bool direct, std::uint32_t* error);
    ~FdDevice() override;
    FdDevice(const FdDevice&) = delete;
    FdDevice& operator=(const FdDevice&) = delete;

    std::uint32_t ReadAt(std::uint64_t offset, void* buffer, std::uint32_t length, std::uint32_t* done) override;
    std::uint32_t WriteAt(std::uint64_t offset, const void* buffer, std::uint32_t length,
                          std::uint32_t* done) override;
    // Bytes on the device (BLKGETSIZE64) or in the file (its current length).
    std::uint64_t SizeBytes() const override;

    Kind GetKind() const { return m_kind; }
    dev_t DeviceId() const { return m_rdev; }  // for block devices
    bool IsDirect() const { return m_direct; }
    // Makes every write return only after fdatasync (a device with a volatile
    // write cache: the data must be on the card before the write reports).
    void SyncEveryWrite() { m_syncAfterWrite = true; }
    // Cuts a regular file to zero length; returns 0 or an error code.
    std::uint32_t Truncate();

private:
    FdDevice(int fd, Kind kind, dev_t rdev, bool direct, bool dropCacheOnRead);
    std::uint32_t Transfer(bool write, std::uint64_t offset, void* buffer, std::uint32_t length,
                           std::uint32_t* done);
    std::uint32_t TransferBounced(bool write, std::uint64_t offset, void* buffer, std::uint32_t length,
                                  std::uint32_t* done);

    int m_fd;
    Kind m_kind;
    dev_t m_rdev;
    bool m_direct;
    bool m_dropCacheOnRead;
    bool m_syncAfterWrite;
    struct FreeAligned {
        void operator()(void* p) const;
    };
    std::unique_ptr<std::uint8_t, FreeAligned> m_bounce;  // allocated on first unaligned direct transfer
};

} // namespace platform::storage
