// The device names the system's code opens: volumes by drive letter
// ("\\?\e:", also "\\.\e:", letter in either case) and physical disks by
// number ("\\.\PhysicalDrive12", all digits). Everything else is a file.
#pragma once

#include <string_view>

namespace platform::storage {

struct DevicePath {
    enum class Kind { file, volume, physicalDrive, unknownDevice };
    Kind kind = Kind::file;
    char letter = 0;  // volume: upper case
    int number = -1;  // physical drive
};

DevicePath ParseDevicePath(std::u16string_view path);

} // namespace platform::storage
