// Storage services: files, volumes by drive letter ("\\?\e:") and physical
// disks by number ("\\.\PhysicalDrive1"), with the calls and records the
// system uses. On Linux, handles are backed by file descriptors; see
// storage/linux/ for how paths map to the machine's devices. On Windows they
// are the system's own services, with a thin layer (storage/win32/) that
// takes the tool's UTF-16 text and lets an image file stand in for a card.
#pragma once

#include "platform/wintypes.h"

#ifdef _WIN32

#include <winioctl.h>

#include <cstddef>

// The calls the system's code makes with char16_t text and without an
// overlapped record (the nullptr argument) come here; every other use goes
// straight to the system. Drive letters given to image files are answered
// here (see storage/win32/image_drives.h), the rest passes to the system.
HANDLE CreateFileW(const char16_t* fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer, DWORD inBufferSize, void* outBuffer,
                     DWORD outBufferSize, DWORD* bytesReturned, std::nullptr_t overlapped);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, std::nullptr_t overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, std::nullptr_t overlapped);

#else

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD FILE_FLAG_NO_BUFFERING = 0x20000000;
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;

// System error codes reported by GetLastError.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_FUNCTION = 1;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_WRITE_PROTECT = 19;
inline constexpr DWORD ERROR_NOT_READY = 21;
inline constexpr DWORD ERROR_SECTOR_NOT_FOUND = 27;
inline constexpr DWORD ERROR_WRITE_FAULT = 29;
inline constexpr DWORD ERROR_READ_FAULT = 30;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_HANDLE_EOF = 38;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
inline constexpr DWORD ERROR_MORE_DATA = 234;
inline constexpr DWORD ERROR_IO_DEVICE = 1117;

// Device queries.
inline constexpr DWORD IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS = 0x00560000;
inline constexpr DWORD IOCTL_DISK_GET_DRIVE_GEOMETRY_EX = 0x000700A0;

// One run of a volume on a physical disk.
struct DISK_EXTENT {
    DWORD DiskNumber;
    LARGE_INTEGER StartingOffset;
    LARGE_INTEGER ExtentLength;
};
// The disks a volume lies on; with room for one extent it is 32 bytes, and a
// volume on more disks does not fit (the query then fails with
// ERROR_MORE_DATA).
struct VOLUME_DISK_EXTENTS {
    DWORD NumberOfDiskExtents;
    DISK_EXTENT Extents[1];
};
static_assert(sizeof(VOLUME_DISK_EXTENTS) == 32);

enum MEDIA_TYPE : int { Unknown = 0, RemovableMedia = 11, FixedMedia = 12 };

struct DISK_GEOMETRY {
    LARGE_INTEGER Cylinders;
    MEDIA_TYPE MediaType;
    DWORD TracksPerCylinder;
    DWORD SectorsPerTrack;
    DWORD BytesPerSector;
};
struct DISK_GEOMETRY_EX {
    DISK_GEOMETRY Geometry;
    LARGE_INTEGER DiskSize;  // bytes
    BYTE Data[1];
};
static_assert(sizeof(DISK_GEOMETRY_EX) == 40);

HANDLE CreateFileW(const char16_t* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* overlapped);
BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distanceToMove, LARGE_INTEGER* newFilePointer, DWORD moveMethod);
BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer, DWORD inBufferSize, void* outBuffer,
                     DWORD outBufferSize, DWORD* bytesReturned, void* overlapped);
BOOL CloseHandle(HANDLE object);
DWORD GetLastError();
void SetLastError(DWORD error);

#endif
