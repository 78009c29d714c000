// The storage calls of the system's code on Windows: the system's own
// services, reached with the tool's UTF-16 text, with the image drives
// answered from their files. A physical disk that is an image keeps to its
// size as a card does: a read must lie wholly on it, a write that runs past
// its end stops there, and neither starts past it.
#include "platform/storage/device_records.h"
#include "platform/storage/win32/image_drives.h"

#include <cstddef>

using platform::storage::ImageDrives;
using platform::storage::ImageHandle;
using platform::storage::ImageHandleKind;

namespace {

// The system's own transfer calls (no overlapped record).
constexpr OVERLAPPED* kNoOverlap = nullptr;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

std::uint64_t Position(HANDLE file) {
    LARGE_INTEGER position{};
    SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT);
    return static_cast<std::uint64_t>(position.QuadPart);
}

HANDLE OpenImage(ImageHandleKind kind, const platform::storage::ImageDrive& drive, DWORD desiredAccess,
                 DWORD shareMode, SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD flags) {
    // A volume is opened for its extents only; like a mounted volume, it
    // takes no raw writes.
    if (kind == ImageHandleKind::volume && (desiredAccess & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // The image is a file: its reads come through the system's cache, which
    // holds what was written, so unbuffered access (which a file on a disk
    // of 4096-byte sectors would refuse for 512-byte transfers) is dropped.
    const HANDLE file = ::CreateFileW(AsWide(drive.path.c_str()), kind == ImageHandleKind::volume ? GENERIC_READ : desiredAccess,
                             shareMode, security, OPEN_EXISTING, flags & ~static_cast<DWORD>(FILE_FLAG_NO_BUFFERING),
                             nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    ImageDrives::Instance().Opened(file, ImageHandle{kind, drive.letter, static_cast<std::uint64_t>(size.QuadPart)});
    return file;
}

BOOL VolumeDiskExtents(const ImageHandle& image, void* out, DWORD outSize, DWORD* returned) {
    if (image.kind != ImageHandleKind::volume)
        return Fail(ERROR_INVALID_FUNCTION);
    const platform::storage::ExtentRecord extent{
        ImageDrives::Instance().ByLetter(image.letter)->diskNumber, 0, image.sizeBytes};
    return platform::storage::FillVolumeDiskExtents({&extent, 1}, out, outSize, returned);
}

BOOL DriveGeometryEx(const ImageHandle& image, void* out, DWORD outSize, DWORD* returned) {
    if (image.kind != ImageHandleKind::disk)
        return Fail(ERROR_INVALID_FUNCTION);
    return platform::storage::FillDriveGeometryEx(image.sizeBytes, RemovableMedia, out, outSize, returned);
}

} // namespace

HANDLE CreateFileW(const char16_t* fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    const platform::storage::ImageDrive* drive = nullptr;
    if (fileName != nullptr) {
        if (const auto kind = ImageDrives::Instance().Resolve(fileName, &drive))
            return OpenImage(*kind, *drive, desiredAccess, shareMode, security, creationDisposition,
                             flagsAndAttributes);
    }
    const HANDLE handle = ::CreateFileW(AsWide(fileName), desiredAccess, shareMode, security, creationDisposition,
                                        flagsAndAttributes, templateFile);
    if (handle != INVALID_HANDLE_VALUE)
        ImageDrives::Instance().Forget(handle);
    return handle;
}

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer, DWORD inBufferSize, void* outBuffer,
                     DWORD outBufferSize, DWORD* bytesReturned, std::nullptr_t) {
    const ImageHandle* image = ImageDrives::Instance().Find(device);
    if (image == nullptr)
        return ::DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer, outBufferSize, bytesReturned,
                                 kNoOverlap);
    DWORD returned = 0;
    BOOL result = FALSE;
    if (ioControlCode == IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS)
        result = VolumeDiskExtents(*image, outBuffer, outBufferSize, &returned);
    else if (ioControlCode == IOCTL_DISK_GET_DRIVE_GEOMETRY_EX)
        result = DriveGeometryEx(*image, outBuffer, outBufferSize, &returned);
    else
        result = Fail(ERROR_INVALID_FUNCTION);
    if (bytesReturned != nullptr)
        *bytesReturned = returned;
    return result;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, std::nullptr_t) {
    const ImageHandle* image = ImageDrives::Instance().Find(file);
    if (image != nullptr && image->kind == ImageHandleKind::disk) {
        if (bytesRead != nullptr)
            *bytesRead = 0;
        const std::uint64_t position = Position(file);
        if (position >= image->sizeBytes || bytesToRead > image->sizeBytes - position)
            return Fail(ERROR_SECTOR_NOT_FOUND);
    }
    return ::ReadFile(file, buffer, bytesToRead, bytesRead, kNoOverlap);
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, std::nullptr_t) {
    const ImageHandle* image = ImageDrives::Instance().Find(file);
    if (image != nullptr && image->kind == ImageHandleKind::disk) {
        if (bytesWritten != nullptr)
            *bytesWritten = 0;
        const std::uint64_t position = Position(file);
        if (position >= image->sizeBytes)
            return Fail(ERROR_SECTOR_NOT_FOUND);
        if (bytesToWrite > image->sizeBytes - position)
            bytesToWrite = static_cast<DWORD>(image->sizeBytes - position);
    }
    return ::WriteFile(file, buffer, bytesToWrite, bytesWritten, kNoOverlap);
}
