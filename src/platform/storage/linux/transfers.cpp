// ReadFile, WriteFile, SetFilePointerEx and CloseHandle on the handles of
// CreateFileW. Each transfer starts at the handle's position and moves it on.
//
// On a physical disk a transfer keeps within the device: a read must deliver
// every byte asked for (callers do not look at the count, and must not
// compare bytes that never came from the card), a write that runs past the
// end stops there (the caller sees the short count), and a write that would
// land inside a partition the system uses is refused (ERROR_ACCESS_DENIED),
// as raw writes into a mounted volume are refused on the original system.
#include "platform/storage/linux/handle_table.h"
#include "platform/storage/storage.h"

#include <algorithm>
#include <limits>

namespace {

using platform::storage::HandleObject;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

void Report(DWORD* count, std::uint32_t value) {
    if (count != nullptr)
        *count = value;
}

bool InUse(const HandleObject& h, std::uint64_t offset, std::uint64_t length) {
    return std::any_of(h.inUse.begin(), h.inUse.end(),
                       [&](const platform::storage::ByteRange& range) { return range.Overlaps(offset, length); });
}

} // namespace

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* /*overlapped*/) {
    Report(bytesRead, 0);
    HandleObject* h = platform::storage::LookupHandle(file);
    if (h == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    if (h->type == HandleObject::Type::volume)
        return Fail(ERROR_INVALID_FUNCTION);
    if (!h->canRead)
        return Fail(ERROR_ACCESS_DENIED);
    if (bytesToRead == 0)
        return TRUE;
    const bool disk = h->type == HandleObject::Type::disk;
    const std::uint64_t size = h->device->SizeBytes();
    if (disk && (h->position >= size || bytesToRead > size - h->position))
        return Fail(ERROR_SECTOR_NOT_FOUND);
    std::uint32_t done = 0;
    const std::uint32_t error = h->device->ReadAt(h->position, buffer, bytesToRead, &done);
    h->position += done;
    if (error != 0)
        return Fail(error);
    if (disk && done < bytesToRead)
        return Fail(ERROR_SECTOR_NOT_FOUND);
    Report(bytesRead, done);
    return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* /*overlapped*/) {
    Report(bytesWritten, 0);
    HandleObject* h = platform::storage::LookupHandle(file);
    if (h == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    if (h->type == HandleObject::Type::volume || !h->canWrite)
        return Fail(ERROR_ACCESS_DENIED);
    if (bytesToWrite == 0)
        return TRUE;
    std::uint32_t length = bytesToWrite;
    if (h->type == HandleObject::Type::disk) {
        if (InUse(*h, h->position, length))
            return Fail(ERROR_ACCESS_DENIED);
        const std::uint64_t size = h->device->SizeBytes();
        if (h->position >= size)
            return Fail(ERROR_SECTOR_NOT_FOUND);
        length = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, size - h->position));
    }
    std::uint32_t done = 0;
    const std::uint32_t error = h->device->WriteAt(h->position, buffer, length, &done);
    h->position += done;
    if (error != 0)
        return Fail(error);
    Report(bytesWritten, done);
    return TRUE;
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distanceToMove, LARGE_INTEGER* newFilePointer, DWORD moveMethod) {
    HandleObject* h = platform::storage::LookupHandle(file);
    if (h == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    std::uint64_t base = 0;
    switch (moveMethod) {
    case FILE_BEGIN:
        break;
    case FILE_CURRENT:
        base = h->position;
        break;
    case FILE_END:
        base = h->device->SizeBytes();
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max());
    const LONGLONG distance = distanceToMove.QuadPart;
    if (distance < 0 && static_cast<std::uint64_t>(-(distance + 1)) + 1 > base)
        return Fail(ERROR_NEGATIVE_SEEK);
    if (distance > 0 && static_cast<std::uint64_t>(distance) > kMax - base)
        return Fail(ERROR_INVALID_PARAMETER);
    h->position = distance < 0 ? base - (static_cast<std::uint64_t>(-(distance + 1)) + 1)
                               : base + static_cast<std::uint64_t>(distance);
    if (newFilePointer != nullptr)
        newFilePointer->QuadPart = static_cast<LONGLONG>(h->position);
    return TRUE;
}

BOOL CloseHandle(HANDLE object) {
    return platform::storage::ReleaseHandle(object) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}
