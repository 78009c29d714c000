// The image drives of the Windows storage layer: a letter given to an image
// file answers the volume and physical-disk paths and queries the drive
// check makes, keeps transfers within the image as a card keeps them within
// its sectors, and leaves every other path and handle to the system.
#include "card_image.h"
#include "platform/storage/storage.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t kCardBytes = 4 * 1024 * 1024;

class ImageDriveTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { card = CardImage('G', kCardBytes); }

    static DWORD DiskNumberOf(const char16_t* volumePath) {
        const HANDLE volume = CreateFileW(volumePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(volume, INVALID_HANDLE_VALUE);
        VOLUME_DISK_EXTENTS extents{};
        DWORD returned = 0;
        EXPECT_TRUE(DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &extents, sizeof extents,
                                    &returned, nullptr));
        CloseHandle(volume);
        EXPECT_EQ(extents.NumberOfDiskExtents, 1u);
        EXPECT_EQ(extents.Extents[0].ExtentLength.QuadPart, static_cast<LONGLONG>(kCardBytes));
        return extents.Extents[0].DiskNumber;
    }

    static HANDLE OpenDisk(DWORD number, DWORD access) {
        const std::u16string path = platform::text::Format(u"\\\\.\\PhysicalDrive%u", static_cast<unsigned>(number));
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    static inline std::filesystem::path card;
};

TEST_F(ImageDriveTest, LetterLeadsToADiskOfTheImagesSizeNeverDiskZero) {
    const DWORD number = DiskNumberOf(u"\\\\?\\g:");
    EXPECT_NE(number, 0u);
    EXPECT_EQ(DiskNumberOf(u"\\\\?\\G:"), number);

    const HANDLE disk = OpenDisk(number, GENERIC_READ);
    ASSERT_NE(disk, INVALID_HANDLE_VALUE);
    DISK_GEOMETRY_EX geometry{};
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &geometry, sizeof geometry,
                                &returned, nullptr));
    EXPECT_EQ(geometry.DiskSize.QuadPart, static_cast<LONGLONG>(kCardBytes));
    EXPECT_EQ(geometry.Geometry.BytesPerSector, 512u);
    // A disk is not a volume: it has no extents.
    EXPECT_FALSE(DeviceIoControl(disk, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &geometry, sizeof geometry,
                                 &returned, nullptr));
    CloseHandle(disk);
}

TEST_F(ImageDriveTest, TransfersKeepWithinTheCard) {
    const HANDLE disk = OpenDisk(DiskNumberOf(u"\\\\?\\g:"), GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(disk, INVALID_HANDLE_VALUE);
    const std::vector<std::uint8_t> sectors = Bytes(2048, 1);
    auto seek = [&](std::uint64_t offset) {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(disk, to, nullptr, FILE_BEGIN);
    };
    DWORD done = 0;

    // The last two sectors and one beyond: the write stops at the end.
    ASSERT_TRUE(seek(kCardBytes - 1024));
    EXPECT_TRUE(WriteFile(disk, sectors.data(), 1536, &done, nullptr));
    EXPECT_EQ(done, 1024u);
    EXPECT_EQ(std::filesystem::file_size(card), kCardBytes);

    // At the end: nothing is written, nor read.
    ASSERT_TRUE(seek(kCardBytes));
    EXPECT_FALSE(WriteFile(disk, sectors.data(), 512, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
    std::vector<std::uint8_t> back(1024);
    EXPECT_FALSE(ReadFile(disk, back.data(), 512, &done, nullptr));

    // A read that would run past the end delivers nothing at all.
    ASSERT_TRUE(seek(kCardBytes - 512));
    EXPECT_FALSE(ReadFile(disk, back.data(), 1024, &done, nullptr));
    EXPECT_EQ(done, 0u);

    ASSERT_TRUE(seek(kCardBytes - 1024));
    EXPECT_TRUE(ReadFile(disk, back.data(), 1024, &done, nullptr));
    EXPECT_EQ(done, 1024u);
    EXPECT_EQ(back, std::vector<std::uint8_t>(sectors.begin(), sectors.begin() + 1024));
    CloseHandle(disk);
}

TEST_F(ImageDriveTest, VolumeTakesNoWritesAndOtherPathsAreTheSystems) {
    EXPECT_EQ(CreateFileW(u"\\\\?\\g:", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    // No image behind these: the system answers, and wine has no such devices.
    EXPECT_EQ(CreateFileW(u"\\\\?\\q:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenDisk(77, GENERIC_READ), INVALID_HANDLE_VALUE);
}

TEST_F(ImageDriveTest, AHandleValueUsedAgainIsNoLongerTheImage) {
    const HANDLE volume = CreateFileW(u"\\\\?\\g:", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(volume, INVALID_HANDLE_VALUE);
    CloseHandle(volume);
    // An ordinary file opened behind the tool's back may get the same value;
    // asking it for extents is the system's business, which refuses.
    const std::filesystem::path other = TempFile("other.bin");
    WriteFileBytes(other, Bytes(4096, 2));
    const HANDLE file = ::CreateFileW(other.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    VOLUME_DISK_EXTENTS extents{};
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(file, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &extents, sizeof extents,
                                 &returned, nullptr));
    CloseHandle(file);
    std::filesystem::remove(other);
}

TEST(ImageDrives, RefusedLettersAndFiles) {
    EXPECT_NE(platform::storage::AddImageDrive('C', "card.img"), "");
    EXPECT_NE(platform::storage::AddImageDrive('H', platform::text::ToUtf8(TempFile("missing.img").u16string())), "");
    EXPECT_NE(platform::storage::AddImageDrive('H', platform::text::ToUtf8(std::filesystem::temp_directory_path().u16string())), "");
    const std::filesystem::path image = TempFile("twice.img");
    WriteFileBytes(image, Bytes(8192, 3));
    EXPECT_EQ(platform::storage::AddImageDrive('K', platform::text::ToUtf8(image.u16string())), "");
    EXPECT_NE(platform::storage::AddImageDrive('k', platform::text::ToUtf8(image.u16string())), "");
    EXPECT_NE(platform::storage::DescribeDrive('K').find("image file"), std::string::npos);
}

} // namespace
