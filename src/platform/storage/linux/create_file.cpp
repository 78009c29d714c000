// CreateFileW: ordinary files by path, volumes by drive letter and physical
// disks by number, each turned into a handle of the handle table.
#include "platform/storage/linux/device_path.h"
#include "platform/storage/linux/disk_namespace.h"
#include "platform/storage/linux/fd_device.h"
#include "platform/storage/linux/handle_table.h"
#include "platform/storage/storage.h"
#include "platform/text/wide_format.h"

#include <fcntl.h>

#include <filesystem>
#include <string>

namespace {

using platform::storage::DiskNamespace;
using platform::storage::FdDevice;
using platform::storage::HandleObject;

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

int AccessFlags(bool read, bool write) {
    if (read && write)
        return O_RDWR;
    return write ? O_WRONLY : O_RDONLY;
}

bool FolderExists(const std::string& fileName) {
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    std::error_code ec;
    return std::filesystem::is_directory(folder.empty() ? std::filesystem::path(".") : folder, ec);
}

// An ordinary file. Only regular files qualify: a path that names a device
// node (typed into a file dialog, say) must never become a raw write.
HANDLE OpenFile(std::u16string_view path, bool read, bool write, DWORD disposition, bool unbuffered) {
    if (disposition != OPEN_EXISTING && disposition != CREATE_ALWAYS)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::string name = platform::text::ToUtf8(path);
    if (name.empty())
        return Fail(ERROR_PATH_NOT_FOUND);
    const int flags = AccessFlags(read, write) | (disposition == CREATE_ALWAYS ? O_CREAT : 0);
    std::uint32_t error = 0;
    std::unique_ptr<FdDevice> file = FdDevice::Open(name, flags, unbuffered, &error);
    if (!file && error == ERROR_FILE_NOT_FOUND && !FolderExists(name))
        return Fail(ERROR_PATH_NOT_FOUND);  // the folder is missing, not just the file
    if (!file)
        return Fail(error);
    if (file->GetKind() != FdDevice::Kind::regular)
        return Fail(ERROR_ACCESS_DENIED);
    if (disposition == CREATE_ALWAYS && (error = file->Truncate()) != 0)
        return Fail(error);
    auto object = std::make_unique<HandleObject>();
    object->type = HandleObject::Type::file;
    object->canRead = read;
    object->canWrite = write;
    object->device = std::move(file);
    return platform::storage::RegisterHandle(std::move(object));
}

// A volume is opened read-only, for its extents; the device node is opened
// so that the system's access rights apply as they would to the volume.
HANDLE OpenVolume(char letter, bool write) {
    if (write)
        return Fail(ERROR_ACCESS_DENIED);
    DiskNamespace& ns = DiskNamespace::Current();
    ns.Refresh();  // a card may have come or gone since the drives were last read
    const platform::storage::Volume* volume = ns.FindVolume(letter);
    if (volume == nullptr)
        return Fail(ERROR_FILE_NOT_FOUND);
    std::uint32_t error = 0;
    std::unique_ptr<FdDevice> node = FdDevice::Open(volume->devicePath, O_RDONLY, false, &error);
    if (!node)
        return Fail(error);
    if (node->GetKind() == FdDevice::Kind::other)
        return Fail(ERROR_ACCESS_DENIED);
    auto object = std::make_unique<HandleObject>();
    object->type = HandleObject::Type::volume;
    object->canRead = true;
    object->volume = *volume;
    object->device = std::move(node);
    return platform::storage::RegisterHandle(std::move(object));
}

HANDLE OpenDisk(int number, bool read, bool write, bool unbuffered) {
    const DiskNamespace& ns = DiskNamespace::Current();
    std::uint32_t error = 0;
    std::unique_ptr<platform::storage::RawDevice> device = ns.Open(number, write, unbuffered, &error);
    if (!device)
        return Fail(error);
    auto object = std::make_unique<HandleObject>();
    object->type = HandleObject::Type::disk;
    object->canRead = read;
    object->canWrite = write;
    object->device = std::move(device);
    object->removableMedia = ns.FindDisk(number)->canBeCard;
    if (write)
        object->inUse = ns.InUseRanges(number);
    return platform::storage::RegisterHandle(std::move(object));
}

} // namespace

HANDLE CreateFileW(const char16_t* fileName, DWORD desiredAccess, DWORD /*shareMode: Linux has no share modes*/,
                   void* /*securityAttributes*/, DWORD creationDisposition, DWORD flagsAndAttributes,
                   HANDLE /*templateFile*/) {
    if (fileName == nullptr)
        return Fail(ERROR_PATH_NOT_FOUND);
    const std::u16string_view path(fileName);
    const bool read = (desiredAccess & GENERIC_READ) != 0;
    const bool write = (desiredAccess & GENERIC_WRITE) != 0;
    const bool unbuffered = (flagsAndAttributes & FILE_FLAG_NO_BUFFERING) != 0;
    const platform::storage::DevicePath device = platform::storage::ParseDevicePath(path);
    using Kind = platform::storage::DevicePath::Kind;
    if (device.kind != Kind::file && creationDisposition != OPEN_EXISTING)
        return Fail(ERROR_INVALID_PARAMETER);
    switch (device.kind) {
    case Kind::volume:
        return OpenVolume(device.letter, write);
    case Kind::physicalDrive:
        return OpenDisk(device.number, read, write, unbuffered);
    case Kind::unknownDevice:
        return Fail(ERROR_FILE_NOT_FOUND);
    case Kind::file:
        break;
    }
    return OpenFile(path, read, write, creationDisposition, unbuffered);
}
