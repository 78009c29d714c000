// The drive letters on Windows: the system's own volumes, each on the
// physical disk the system says, and the image drives, which take their
// letter over from any volume of the system. Asking a volume or disk for its
// extents, size and maker needs no rights, so the list shows even where the
// drive check (which opens the disk for reading) would be refused.
#include "platform/storage/drives.h"

#include "platform/storage/storage.h"
#include "platform/storage/win32/image_drives.h"
#include "platform/text/wide_format.h"

#include <optional>

namespace platform::storage {
namespace {

constexpr OVERLAPPED* kNoOverlap = nullptr;

// A handle for queries only, closed when it goes.
class QueryHandle {
public:
    explicit QueryHandle(const std::u16string& path)
        : m_handle(::CreateFileW(AsWide(path.c_str()), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr)) {}
    ~QueryHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    QueryHandle(const QueryHandle&) = delete;
    QueryHandle& operator=(const QueryHandle&) = delete;

    template <typename Record>
    bool Ask(DWORD code, Record& record, DWORD size = sizeof(Record), const void* in = nullptr, DWORD inSize = 0) const {
        DWORD returned = 0;
        return m_handle != INVALID_HANDLE_VALUE &&
               ::DeviceIoControl(m_handle, code, const_cast<void*>(in), inSize, &record, size, &returned, kNoOverlap);
    }

private:
    HANDLE m_handle;
};

std::string Trimmed(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

// The vendor and product the disk reports, "" when it reports none.
std::string MakerOf(const QueryHandle& disk) {
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    alignas(STORAGE_DEVICE_DESCRIPTOR) char buffer[1024] = {};
    if (!disk.Ask(IOCTL_STORAGE_QUERY_PROPERTY, buffer, sizeof buffer - 1, &query, sizeof query))
        return {};
    const auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buffer);
    std::string maker;
    for (const DWORD offset : {descriptor->VendorIdOffset, descriptor->ProductIdOffset}) {
        if (offset == 0 || offset >= sizeof buffer - 1)
            continue;
        const std::string part = Trimmed(buffer + offset);
        if (!part.empty())
            maker += (maker.empty() ? "" : " ") + part;
    }
    return maker;
}

std::string SectorsText(std::uint64_t bytes) { return std::to_string(bytes / 512) + " sectors"; }

std::string DescribeImage(const ImageDrive& image) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(AsWide(image.path.c_str()), GetFileExInfoStandard, &data);
    const std::uint64_t bytes = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return std::string(1, image.letter) + ":  " + text::ToUtf8(image.path) + "  disk " +
           std::to_string(image.diskNumber) + "  " + SectorsText(bytes) + "  image file";
}

std::string DescribeSystemVolume(char letter) {
    const QueryHandle volume(text::Format(u"\\\\?\\%c:", letter));
    VOLUME_DISK_EXTENTS extents{};
    if (!volume.Ask(IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, extents) || extents.NumberOfDiskExtents != 1)
        return {};
    const DWORD number = extents.Extents[0].DiskNumber;
    const std::u16string diskPath = text::Format(u"\\\\.\\PhysicalDrive%u", static_cast<unsigned>(number));
    std::string line = std::string(1, letter) + ":  " + text::ToUtf8(diskPath) + "  disk " + std::to_string(number);
    const QueryHandle disk(diskPath);
    DISK_GEOMETRY_EX geometry{};
    if (disk.Ask(IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, geometry))
        line += "  " + SectorsText(static_cast<std::uint64_t>(geometry.DiskSize.QuadPart));
    const std::string maker = MakerOf(disk);
    return maker.empty() ? line : line + "  " + maker;
}

} // namespace

// The system keeps its drives up to date itself; each description asks it afresh.
void RefreshDrives() {}

std::string DescribeDrive(char letter) {
    if (const ImageDrive* image = ImageDrives::Instance().ByLetter(letter))
        return DescribeImage(*image);
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    if (upper < 'D' || upper > 'Z' || !(GetLogicalDrives() & (1u << (upper - 'A'))))
        return {};
    return DescribeSystemVolume(upper);
}

std::vector<std::string> DescribeDrives() {
    std::vector<std::string> lines;
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        if (std::string line = DescribeDrive(letter); !line.empty())
            lines.push_back(line);
    return lines;
}

} // namespace platform::storage
