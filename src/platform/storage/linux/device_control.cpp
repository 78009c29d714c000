// DeviceIoControl: the two queries the drive check makes. The records are
// filled as the original system fills them, so a volume spread over more
// disks than the caller's record holds fails with ERROR_MORE_DATA after
// reporting how many extents there are.
#include "platform/storage/linux/handle_table.h"
#include "platform/storage/storage.h"

#include <cstddef>
#include <cstring>

namespace {

using platform::storage::HandleObject;

// The classic geometry of a disk too large for real cylinders: 255 heads of
// 63 sectors of 512 bytes.
constexpr DWORD kTracksPerCylinder = 255;
constexpr DWORD kSectorsPerTrack = 63;
constexpr DWORD kBytesPerSector = 512;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL VolumeDiskExtents(const HandleObject& h, void* out, DWORD outSize, DWORD* returned) {
    constexpr DWORD kHeader = offsetof(VOLUME_DISK_EXTENTS, Extents);
    if (h.type != HandleObject::Type::volume)
        return Fail(ERROR_INVALID_FUNCTION);
    if (out == nullptr || outSize < sizeof(VOLUME_DISK_EXTENTS))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    const std::size_t count = h.volume.extents.size();
    const std::size_t room = (outSize - kHeader) / sizeof(DISK_EXTENT);
    auto* bytes = static_cast<BYTE*>(out);
    const DWORD number = static_cast<DWORD>(count);
    std::memcpy(bytes, &number, sizeof number);
    for (std::size_t i = 0; i < count && i < room; ++i) {
        DISK_EXTENT extent{};
        extent.DiskNumber = static_cast<DWORD>(h.volume.extents[i].diskNumber);
        extent.StartingOffset.QuadPart = static_cast<LONGLONG>(h.volume.extents[i].range.offset);
        extent.ExtentLength.QuadPart = static_cast<LONGLONG>(h.volume.extents[i].range.length);
        std::memcpy(bytes + kHeader + i * sizeof(DISK_EXTENT), &extent, sizeof extent);
    }
    const std::size_t filled = count < room ? count : room;
    *returned = static_cast<DWORD>(kHeader + filled * sizeof(DISK_EXTENT));
    return count > room ? Fail(ERROR_MORE_DATA) : TRUE;
}

BOOL DriveGeometryEx(const HandleObject& h, void* out, DWORD outSize, DWORD* returned) {
    constexpr DWORD kFilled = offsetof(DISK_GEOMETRY_EX, Data);
    if (h.type != HandleObject::Type::disk)
        return Fail(ERROR_INVALID_FUNCTION);
    if (out == nullptr || outSize < kFilled)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    const std::uint64_t size = h.device->SizeBytes();
    DISK_GEOMETRY_EX geometry{};
    geometry.Geometry.Cylinders.QuadPart =
        static_cast<LONGLONG>(size / (std::uint64_t{kTracksPerCylinder} * kSectorsPerTrack * kBytesPerSector));
    geometry.Geometry.MediaType = h.removableMedia ? RemovableMedia : FixedMedia;
    geometry.Geometry.TracksPerCylinder = kTracksPerCylinder;
    geometry.Geometry.SectorsPerTrack = kSectorsPerTrack;
    geometry.Geometry.BytesPerSector = kBytesPerSector;
    geometry.DiskSize.QuadPart = static_cast<LONGLONG>(size);
    std::memcpy(out, &geometry, outSize < sizeof geometry ? kFilled : sizeof geometry);
    *returned = kFilled;
    return TRUE;
}

} // namespace

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* /*inBuffer*/, DWORD /*inBufferSize*/,
                     void* outBuffer, DWORD outBufferSize, DWORD* bytesReturned, void* /*overlapped*/) {
    DWORD returned = 0;
    const HandleObject* h = platform::storage::LookupHandle(device);
    BOOL result = FALSE;
    if (h == nullptr)
        result = Fail(ERROR_INVALID_HANDLE);
    else if (ioControlCode == IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS)
        result = VolumeDiskExtents(*h, outBuffer, outBufferSize, &returned);
    else if (ioControlCode == IOCTL_DISK_GET_DRIVE_GEOMETRY_EX)
        result = DriveGeometryEx(*h, outBuffer, outBufferSize, &returned);
    else
        result = Fail(ERROR_INVALID_FUNCTION);
    if (bytesReturned != nullptr)
        *bytesReturned = returned;
    return result;
}
