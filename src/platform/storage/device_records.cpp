#include "platform/storage/device_records.h"

#include <cstddef>
#include <cstring>

namespace platform::storage {
namespace {

constexpr DWORD kTracksPerCylinder = 255;
constexpr DWORD kSectorsPerTrack = 63;
constexpr DWORD kBytesPerSector = 512;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace

BOOL FillVolumeDiskExtents(std::span<const ExtentRecord> extents, void* out, DWORD outSize, DWORD* returned) {
    constexpr DWORD kHeader = offsetof(VOLUME_DISK_EXTENTS, Extents);
    if (out == nullptr || outSize < sizeof(VOLUME_DISK_EXTENTS))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    const std::size_t count = extents.size();
    const std::size_t room = (outSize - kHeader) / sizeof(DISK_EXTENT);
    auto* bytes = static_cast<BYTE*>(out);
    const DWORD number = static_cast<DWORD>(count);
    std::memcpy(bytes, &number, sizeof number);
    for (std::size_t i = 0; i < count && i < room; ++i) {
        DISK_EXTENT extent{};
        extent.DiskNumber = extents[i].diskNumber;
        extent.StartingOffset.QuadPart = static_cast<LONGLONG>(extents[i].offset);
        extent.ExtentLength.QuadPart = static_cast<LONGLONG>(extents[i].length);
        std::memcpy(bytes + kHeader + i * sizeof(DISK_EXTENT), &extent, sizeof extent);
    }
    const std::size_t filled = count < room ? count : room;
    *returned = static_cast<DWORD>(kHeader + filled * sizeof(DISK_EXTENT));
    return count > room ? Fail(ERROR_MORE_DATA) : TRUE;
}

BOOL FillDriveGeometryEx(ULONGLONG sizeBytes, MEDIA_TYPE media, void* out, DWORD outSize, DWORD* returned) {
    constexpr DWORD kFilled = offsetof(DISK_GEOMETRY_EX, Data);
    if (out == nullptr || outSize < kFilled)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    DISK_GEOMETRY_EX geometry{};
    geometry.Geometry.Cylinders.QuadPart =
        static_cast<LONGLONG>(sizeBytes / (ULONGLONG{kTracksPerCylinder} * kSectorsPerTrack * kBytesPerSector));
    geometry.Geometry.MediaType = media;
    geometry.Geometry.TracksPerCylinder = kTracksPerCylinder;
    geometry.Geometry.SectorsPerTrack = kSectorsPerTrack;
    geometry.Geometry.BytesPerSector = kBytesPerSector;
    geometry.DiskSize.QuadPart = static_cast<LONGLONG>(sizeBytes);
    std::memcpy(out, &geometry, outSize < sizeof geometry ? kFilled : sizeof geometry);
    *returned = kFilled;
    return TRUE;
}

} // namespace platform::storage
