// The objects behind the HANDLE values of the storage services: an ordinary
// file, a volume (opened for its extents) or a physical disk.
#pragma once

#include "platform/storage/linux/disk_namespace.h"
#include "platform/wintypes.h"

#include <memory>
#include <vector>

namespace platform::storage {

struct HandleObject {
    enum class Type { file, volume, disk };
    Type type = Type::file;
    bool canRead = false;
    bool canWrite = false;
    std::uint64_t position = 0;
    std::unique_ptr<RawDevice> device;
    Volume volume;                  // volumes
    bool removableMedia = false;    // disks: a card rather than a fixed disk
    std::vector<ByteRange> inUse;   // disks opened for writing: ranges the system uses
};

// Registers an open object; the handle stays valid until ReleaseHandle.
HANDLE RegisterHandle(std::unique_ptr<HandleObject> object);
// The object behind handle, or nullptr for a handle that is not open.
HandleObject* LookupHandle(HANDLE handle);
// Closes the object; false for a handle that is not open.
bool ReleaseHandle(HANDLE handle);

} // namespace platform::storage
