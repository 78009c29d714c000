#include "platform/storage/linux/error_map.h"

#include "platform/storage/storage.h"

#include <cerrno>

namespace platform::storage {
namespace {

struct ErrnoCode {
    int err;
    DWORD code;
};

// Read-only media (a locked SD card) answer EROFS; a reader without a card
// answers ENOMEDIUM or ENXIO; a device claimed by a mount answers EBUSY.
constexpr ErrnoCode kErrnoCodes[] = {
    {EPERM, ERROR_ACCESS_DENIED},      {EACCES, ERROR_ACCESS_DENIED},
    {EISDIR, ERROR_ACCESS_DENIED},     {ENOENT, ERROR_FILE_NOT_FOUND},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},   {ENAMETOOLONG, ERROR_INVALID_NAME},
    {ELOOP, ERROR_INVALID_NAME},       {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES}, {EBADF, ERROR_INVALID_HANDLE},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY}, {EROFS, ERROR_WRITE_PROTECT},
    {ENXIO, ERROR_NOT_READY},          {ENODEV, ERROR_NOT_READY},
    {ENOMEDIUM, ERROR_NOT_READY},      {EBUSY, ERROR_SHARING_VIOLATION},
    {ETXTBSY, ERROR_SHARING_VIOLATION}, {EIO, ERROR_IO_DEVICE},
    {EINVAL, ERROR_INVALID_PARAMETER}, {ENOSPC, ERROR_DISK_FULL},
    {EFBIG, ERROR_DISK_FULL},          {EDQUOT, ERROR_DISK_FULL},
    {ENOTTY, ERROR_INVALID_FUNCTION},  {EOPNOTSUPP, ERROR_NOT_SUPPORTED},
};

} // namespace

DWORD ErrorFromErrno(int err) {
    for (const ErrnoCode& entry : kErrnoCodes)
        if (entry.err == err)
            return entry.code;
    return ERROR_GEN_FAILURE;
}

} // namespace platform::storage
