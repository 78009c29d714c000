// DeviceIoControl: the two queries the drive check makes, answered from the
// handle's volume or disk.
#include "platform/storage/device_records.h"
#include "platform/storage/linux/handle_table.h"

#include <vector>

namespace {

using platform::storage::HandleObject;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL VolumeDiskExtents(const HandleObject& h, void* out, DWORD outSize, DWORD* returned) {
    if (h.type != HandleObject::Type::volume)
        return Fail(ERROR_INVALID_FUNCTION);
    std::vector<platform::storage::ExtentRecord> extents;
    for (const auto& extent : h.volume.extents)
        extents.push_back({static_cast<DWORD>(extent.diskNumber), extent.range.offset, extent.range.length});
    return platform::storage::FillVolumeDiskExtents(extents, out, outSize, returned);
}

BOOL DriveGeometryEx(const HandleObject& h, void* out, DWORD outSize, DWORD* returned) {
    if (h.type != HandleObject::Type::disk)
        return Fail(ERROR_INVALID_FUNCTION);
    return platform::storage::FillDriveGeometryEx(h.device->SizeBytes(), h.removableMedia ? RemovableMedia : FixedMedia,
                                                  out, outSize, returned);
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
