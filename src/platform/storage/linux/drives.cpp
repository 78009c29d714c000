// The drive letters of this Linux machine: the disk namespace read from "/".
#include "platform/storage/drives.h"

#include "platform/storage/linux/disk_namespace.h"

namespace platform::storage {

std::string AddImageDrive(char letter, const std::string& path) {
    return DiskNamespace::Current().AddImageDrive(letter, path);
}

void RefreshDrives() { DiskNamespace::Current().Refresh(); }

std::string DescribeDrive(char letter) { return DescribeDrive(DiskNamespace::Current(), letter); }

std::vector<std::string> DescribeDrives() { return DescribeDrives(DiskNamespace::Current()); }

} // namespace platform::storage
