// Image files standing in for cards on Windows (--drive L=PATH). The letter
// answers the volume path "\\?\l:" and its extents query, and the disk
// number it maps to answers "\\.\PhysicalDriveN", its geometry query and
// its transfers, all from the image file; every other path and handle is
// the system's. An image letter shadows a system volume of the same letter.
#pragma once

#include "platform/wintypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::storage {

struct ImageDrive {
    char letter = 0;          // 'D' to 'Z'
    std::u16string path;      // absolute
    DWORD diskNumber = 0;     // never 0, and no disk of the system
};

// What an opened handle stands for.
enum class ImageHandleKind { volume, disk };

struct ImageHandle {
    ImageHandleKind kind;
    char letter;              // the image drive's
    std::uint64_t sizeBytes;  // the image's length when it was opened: the disk's size
};

class ImageDrives {
public:
    static ImageDrives& Instance();

    // Returns an error text, empty on success.
    std::string Add(char letter, const std::u16string& path);
    const std::vector<ImageDrive>& All() const { return m_drives; }
    const ImageDrive* ByLetter(char letter) const;  // either case

    // The image a volume or physical-disk path names, if any.
    std::optional<ImageHandleKind> Resolve(std::u16string_view path, const ImageDrive** drive) const;

    // Handles opened on images. A handle value the system hands out again
    // after the image's handle was closed is forgotten when that happens
    // (Forget), and a record whose file is no longer the image is ignored.
    void Opened(HANDLE handle, ImageHandle record);
    void Forget(HANDLE handle);
    const ImageHandle* Find(HANDLE handle) const;

private:
    struct OpenedHandle {
        HANDLE handle;
        ImageHandle record;
        std::uint64_t fileId;
        DWORD volumeSerial;
    };
    std::vector<ImageDrive> m_drives;
    std::vector<OpenedHandle> m_opened;
};

} // namespace platform::storage
