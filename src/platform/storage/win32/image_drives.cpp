#include "platform/storage/win32/image_drives.h"

#include "platform/storage/drives.h"
#include "platform/text/wide_format.h"

#include <algorithm>
#include <filesystem>

namespace platform::storage {
namespace {

constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';

char Upper(char letter) { return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

// Whether the system has a physical disk of this number (the name exists
// for every disk, and asking needs no rights).
bool SystemHasDisk(DWORD number) {
    wchar_t target[512];
    const std::u16string name = text::Format(u"PhysicalDrive%u", static_cast<unsigned>(number));
    return QueryDosDeviceW(AsWide(name.c_str()), target, 512) != 0;
}

struct FileIdentity {
    std::uint64_t fileId = 0;
    DWORD volumeSerial = 0;
};

std::optional<FileIdentity> IdentityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return FileIdentity{(std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, info.dwVolumeSerialNumber};
}

} // namespace

ImageDrives& ImageDrives::Instance() {
    static ImageDrives drives;
    return drives;
}

std::string ImageDrives::Add(char letter, const std::u16string& path) {
    const char upper = Upper(letter);
    if (upper < kFirstLetter || upper > kLastLetter)
        return std::string("drive letter must be D to Z, not ") + letter;
    if (const ImageDrive* given = ByLetter(upper))
        return std::string("drive ") + upper + ": is already given to " + text::ToUtf8(given->path);
    const DWORD attributes = GetFileAttributesW(AsWide(path.c_str()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return text::ToUtf8(path) + ": no such file";
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return text::ToUtf8(path) + ": not a regular file (a card image file is needed)";
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    DWORD number = 1;
    while (SystemHasDisk(number) ||
           std::any_of(m_drives.begin(), m_drives.end(), [&](const ImageDrive& d) { return d.diskNumber == number; }))
        ++number;
    m_drives.push_back(ImageDrive{upper, error ? path : absolute.u16string(), number});
    return {};
}

const ImageDrive* ImageDrives::ByLetter(char letter) const {
    for (const ImageDrive& drive : m_drives)
        if (drive.letter == Upper(letter))
            return &drive;
    return nullptr;
}

std::optional<ImageHandleKind> ImageDrives::Resolve(std::u16string_view path, const ImageDrive** drive) const {
    constexpr std::u16string_view kVolumePrefix = u"\\\\?\\";
    constexpr std::u16string_view kDiskPrefix = u"\\\\.\\PhysicalDrive";
    if (path.size() == kVolumePrefix.size() + 2 && path.starts_with(kVolumePrefix) && path.back() == u':' &&
        path[4] < 0x80) {
        if ((*drive = ByLetter(static_cast<char>(path[4]))))
            return ImageHandleKind::volume;
        return std::nullopt;
    }
    if (path.size() > kDiskPrefix.size() && EqualsIgnoringCase(path.substr(0, kDiskPrefix.size()), kDiskPrefix)) {
        const std::u16string_view digits = path.substr(kDiskPrefix.size());
        if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
            return std::nullopt;
        DWORD number = 0;
        for (const char16_t c : digits)
            number = number * 10 + static_cast<DWORD>(c - u'0');
        for (const ImageDrive& image : m_drives) {
            if (image.diskNumber == number) {
                *drive = &image;
                return ImageHandleKind::disk;
            }
        }
    }
    return std::nullopt;
}

void ImageDrives::Opened(HANDLE handle, ImageHandle record) {
    Forget(handle);
    const auto identity = IdentityOf(handle).value_or(FileIdentity{});
    m_opened.push_back(OpenedHandle{handle, record, identity.fileId, identity.volumeSerial});
}

void ImageDrives::Forget(HANDLE handle) {
    std::erase_if(m_opened, [&](const OpenedHandle& opened) { return opened.handle == handle; });
}

const ImageHandle* ImageDrives::Find(HANDLE handle) const {
    for (const OpenedHandle& opened : m_opened) {
        if (opened.handle != handle)
            continue;
        const auto identity = IdentityOf(handle);
        const bool same = identity && identity->fileId == opened.fileId && identity->volumeSerial == opened.volumeSerial;
        return same ? &opened.record : nullptr;
    }
    return nullptr;
}

std::string AddImageDrive(char letter, const std::string& path) {
    return ImageDrives::Instance().Add(letter, text::FromUtf8(path));
}

} // namespace platform::storage
