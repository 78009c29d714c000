// The records of the two device queries the drive check makes, filled the
// same way on every system: a volume's disk extents and a disk's geometry.
#pragma once

#include "platform/storage/storage.h"

#include <span>

namespace platform::storage {

struct ExtentRecord {
    DWORD diskNumber;
    ULONGLONG offset;
    ULONGLONG length;
};

// Fills a VOLUME_DISK_EXTENTS record with as many extents as it has room for.
// A volume over more disks than the record holds fails with ERROR_MORE_DATA
// after reporting how many extents there are; a record smaller than one
// extent fails with ERROR_INSUFFICIENT_BUFFER.
BOOL FillVolumeDiskExtents(std::span<const ExtentRecord> extents, void* out, DWORD outSize, DWORD* returned);

// Fills a DISK_GEOMETRY_EX record for a disk of sizeBytes, with the classic
// geometry of a disk too large for real cylinders (255 heads of 63 sectors
// of 512 bytes).
BOOL FillDriveGeometryEx(ULONGLONG sizeBytes, MEDIA_TYPE media, void* out, DWORD outSize, DWORD* returned);

} // namespace platform::storage
