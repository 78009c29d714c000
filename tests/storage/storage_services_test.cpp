// The storage services on a fake machine and on image files: device names,
// the two device queries, direct transfers, the limits of a disk, refused
// writes, ordinary files and the error codes callers see.
#include "platform/storage/linux/disk_namespace.h"
#include "platform/storage/linux/error_map.h"
#include "platform/storage/storage.h"
#include "storage/machine_table.h"
#include "storage/storage_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <thread>

namespace {

using namespace storage_test;
using platform::storage::DiskNamespace;

constexpr std::size_t kMiB = 1 << 20;

struct BuiltMachine : fake::FakeSystem {
    BuiltMachine() { fake::BuildMachine(*this, "/srv/cards"); }
};

// The fake machine of machine_table.h, with the namespace pointed at it.
class FakeMachineTest : public ::testing::Test {
protected:
    BuiltMachine machine;
    fake::ScopedNamespace scope{machine.Root()};
};

// One image file as the only card: disk 1, drive E.
class ImageDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::MakeSparseFile(image, sectors * 512);
        ASSERT_EQ(DiskNamespace::Current().AddImageDrive('E', image), "");
        ASSERT_EQ(DiskNamespace::Current().FindVolume('E')->extents[0].diskNumber, 1);
    }
    void Resize(std::uint64_t newSectors) {
        sectors = newSectors;
        fake::MakeSparseFile(image, sectors * 512);
    }
    fake::FakeSystem machine;  // an empty machine: no disks of its own
    fake::ScopedNamespace scope{machine.Root()};
    std::string image = machine.Root() + "/card.img";
    std::uint64_t sectors = 8192;  // 4 MiB
};

TEST_F(FakeMachineTest, DeviceNamesOpenWhatTheyName) {
    struct Case {
        std::u16string path;
        DWORD access;
        DWORD error;  // 0: opens
    };
    const Case cases[] = {
        {u"\\\\?\\i:", GENERIC_READ, 0},
        {u"\\\\?\\I:", GENERIC_READ, 0},
        {u"\\\\.\\i:", GENERIC_READ, 0},
        {u"\\\\?\\m:", GENERIC_READ, ERROR_FILE_NOT_FOUND},   // no volume has M
        {u"\\\\?\\c:", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\?\\i:\\", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\?\\i:", GENERIC_WRITE, ERROR_ACCESS_DENIED},   // volumes are for queries only
        {u"\\\\.\\PhysicalDrive8", GENERIC_READ, 0},
        {u"\\\\.\\physicaldrive13", GENERIC_READ, 0},
        {u"\\\\.\\PhysicalDrive0", GENERIC_READ, 0},          // the system disk may be read
        {u"\\\\.\\PhysicalDrive013", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\.\\PhysicalDrive", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\.\\PhysicalDrive-1", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\.\\PhysicalDrive99", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\.\\PhysicalDrive99999999999", GENERIC_READ, ERROR_FILE_NOT_FOUND},
        {u"\\\\.\\PhysicalDrive4", GENERIC_READ, ERROR_FILE_NOT_FOUND},  // its node is gone
        {u"\\\\server\\share", GENERIC_READ, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        Handle h(Open(c.path, c.access));
        EXPECT_EQ(h.ok(), c.error == 0) << std::string(c.path.begin(), c.path.end());
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error) << std::string(c.path.begin(), c.path.end());
        }
    }
    Handle created(Open(u"\\\\.\\PhysicalDrive8", GENERIC_WRITE, 0, CREATE_ALWAYS));
    EXPECT_FALSE(created.ok());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(FakeMachineTest, VolumeExtentsFillTheOneExtentRecord) {
    Handle volume(Open(u"\\\\?\\i:", GENERIC_READ));
    ASSERT_TRUE(volume.ok());
    VOLUME_DISK_EXTENTS record{};
    DWORD returned = 0;
    ASSERT_TRUE(DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &record, sizeof record,
                                &returned, nullptr));
    EXPECT_EQ(returned, 32u);
    EXPECT_EQ(record.NumberOfDiskExtents, 1u);
    EXPECT_EQ(record.Extents[0].DiskNumber, 8u);
    EXPECT_EQ(record.Extents[0].StartingOffset.QuadPart, 2048 * 512);
    EXPECT_EQ(record.Extents[0].ExtentLength.QuadPart, 204800 * 512);

    DWORD small[7] = {};
    EXPECT_FALSE(DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, small, 28, &returned,
                                 nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(DeviceIoControl(volume, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &record, sizeof record,
                                 &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    EXPECT_FALSE(DeviceIoControl(volume, 0x00070000, nullptr, 0, &record, sizeof record, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
}

TEST_F(FakeMachineTest, AVolumeOverTwoDisksDoesNotFitTheOneExtentRecord) {
    Handle volume(Open(u"\\\\?\\K:", GENERIC_READ));
    ASSERT_TRUE(volume.ok());
    VOLUME_DISK_EXTENTS record{};
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &record, sizeof record,
                                 &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
    EXPECT_EQ(record.NumberOfDiskExtents, 2u);
    EXPECT_EQ(record.Extents[0].DiskNumber, 10u);

    // With room for both extents the query answers in full.
    struct {
        VOLUME_DISK_EXTENTS head;
        DISK_EXTENT more;
    } both{};
    static_assert(sizeof both == 56);
    ASSERT_TRUE(DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &both, sizeof both,
                                &returned, nullptr));
    EXPECT_EQ(returned, 56u);
    EXPECT_EQ(both.head.Extents[0].DiskNumber, 10u);
    EXPECT_EQ(both.more.DiskNumber, 11u);
}

TEST_F(FakeMachineTest, GeometryGivesTheDeviceSize) {
    struct Case {
        int disk;
        LONGLONG bytes;
        MEDIA_TYPE media;
    };
    const Case cases[] = {
        {5, 3965190144LL, RemovableMedia},
        {1, 4294967296LL, RemovableMedia},
        {3, 2199023255552LL, RemovableMedia},  // 2^32 sectors
        {7, 976773168LL * 512, FixedMedia},
    };
    for (const Case& c : cases) {
        Handle disk(Open(DiskPath(c.disk), GENERIC_READ));
        ASSERT_TRUE(disk.ok()) << c.disk;
        DISK_GEOMETRY_EX geometry{};
        DWORD returned = 0;
        ASSERT_TRUE(DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &geometry, sizeof geometry,
                                    &returned, nullptr));
        EXPECT_EQ(geometry.DiskSize.QuadPart, c.bytes) << c.disk;
        EXPECT_EQ(geometry.Geometry.BytesPerSector, 512u);
        EXPECT_EQ(geometry.Geometry.MediaType, c.media);
    }
}

TEST_F(FakeMachineTest, SystemDisksAreNeverOpenedForWriting) {
    for (int disk : {0, 7, 9, 12, 14}) {  // root, /home, /var, swap, swap
        SetLastError(0);
        Handle h(Open(DiskPath(disk), GENERIC_WRITE));
        EXPECT_FALSE(h.ok()) << disk;
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << disk;
    }
}

TEST_F(FakeMachineTest, WritesIntoAMountedPartitionAreRefused) {
    // Disk 8: sdb1 at sectors 2048..206847, sdb2 (mounted) from 206848.
    const std::string node = machine.Node("sdb");
    AlignedBuffer data(64 * 1024);
    FillPattern(data.bytes, data.length, 1);
    struct Case {
        std::uint64_t sector;
        DWORD bytes;
        bool allowed;
    };
    const Case cases[] = {
        {0, 512, true},                       // the partition table
        {2048, 65536, true},                  // inside sdb1
        {206848 - 128, 65536, true},          // ends where sdb2 begins
        {206848 - 127, 65536, false},         // runs into sdb2
        {206848, 512, false},                 // its first sector
        {300000, 4096, false},                // inside it
        {1000, 512, true},                    // before the first partition
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> before = ReadBytes(node, c.sector * 512, c.bytes);
        Handle disk(Open(DiskPath(8), GENERIC_WRITE));
        ASSERT_TRUE(disk.ok());
        ASSERT_TRUE(Seek(disk, c.sector * 512));
        DWORD written = 12345;
        const BOOL ok = WriteFile(disk, data.bytes, c.bytes, &written, nullptr);
        EXPECT_EQ(ok != 0, c.allowed) << c.sector;
        if (c.allowed) {
            EXPECT_EQ(written, c.bytes);
            EXPECT_EQ(ReadBytes(node, c.sector * 512, c.bytes),
                      std::vector<std::uint8_t>(data.bytes, data.bytes + c.bytes));
        } else {
            EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
            EXPECT_EQ(written, 0u);
            EXPECT_EQ(ReadBytes(node, c.sector * 512, c.bytes), before) << "nothing written at " << c.sector;
        }
    }
    // Reading the mounted partition is allowed.
    Handle reader(Open(DiskPath(8), GENERIC_READ, FILE_FLAG_NO_BUFFERING));
    ASSERT_TRUE(Seek(reader, 300000ull * 512));
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(reader, data.bytes, 4096, &read, nullptr));
}

TEST_F(FakeMachineTest, AFaultInjectingOpenerStillSitsBehindTheSafetyChecks) {
    struct ShortWrites : platform::storage::RawDevice {
        std::unique_ptr<RawDevice> inner;
        std::uint32_t ReadAt(std::uint64_t o, void* b, std::uint32_t n, std::uint32_t* d) override {
            return inner->ReadAt(o, b, n, d);
        }
        std::uint32_t WriteAt(std::uint64_t o, const void* b, std::uint32_t n, std::uint32_t* d) override {
            return inner->WriteAt(o, b, n < 4096 ? n : 4096, d);
        }
        std::uint64_t SizeBytes() const override { return inner->SizeBytes(); }
    };
    int opened = 0;
    DiskNamespace::Current().SetOpenerForTests([&](const platform::storage::Disk& disk, bool forWrite, bool unbuffered) {
        ++opened;
        std::uint32_t error = 0;
        auto device = std::make_unique<ShortWrites>();
        device->inner = platform::storage::OpenDiskDevice(disk, forWrite, unbuffered, &error);
        return device->inner ? std::unique_ptr<platform::storage::RawDevice>(std::move(device)) : nullptr;
    });
    AlignedBuffer data(16384 * 512);
    Handle disk(Open(DiskPath(13), GENERIC_WRITE));
    ASSERT_TRUE(disk.ok());
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(disk, data.bytes, 16384 * 512, &written, nullptr));
    EXPECT_EQ(written, 4096u);  // "Only copy 8 sectors"

    Handle card(Open(DiskPath(8), GENERIC_WRITE));
    ASSERT_TRUE(Seek(card, 206848ull * 512));
    EXPECT_FALSE(WriteFile(card, data.bytes, 512, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    Handle system(Open(DiskPath(0), GENERIC_WRITE));
    EXPECT_FALSE(system.ok());
    EXPECT_EQ(opened, 2);  // the system disk never reached the opener

    DiskNamespace::Current().SetOpenerForTests([](const platform::storage::Disk&, bool, bool) { return nullptr; });
    Handle refused(Open(DiskPath(13), GENERIC_READ));
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(ImageDriveTest, DirectTransfersBypassThePageCache) {
    AlignedBuffer data(kMiB);
    FillPattern(data.bytes, kMiB, 2);
    {
        Handle disk(Open(DiskPath(1), GENERIC_WRITE));
        ASSERT_TRUE(disk.ok());
        ASSERT_TRUE(Seek(disk, 2048 * 512));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(disk, data.bytes, kMiB, &written, nullptr));
        EXPECT_EQ(written, kMiB);
    }
    EXPECT_EQ(ReadBytes(image, 2048 * 512, kMiB), std::vector<std::uint8_t>(data.bytes, data.bytes + kMiB));
    EvictFromCache(image);

    AlignedBuffer back(kMiB);
    Handle disk(Open(DiskPath(1), GENERIC_READ, FILE_FLAG_NO_BUFFERING));
    ASSERT_TRUE(disk.ok());
    ASSERT_TRUE(Seek(disk, 2048 * 512));
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(disk, back.bytes, kMiB, &read, nullptr));
    EXPECT_EQ(read, kMiB);
    EXPECT_EQ(std::memcmp(back.bytes, data.bytes, kMiB), 0);
    EXPECT_EQ(CachedPages(image, 2048 * 512, kMiB), 0u) << "an unbuffered read went through the page cache";

    // The control: a buffered read of the same range fills the cache.
    Handle buffered(Open(DiskPath(1), GENERIC_READ));
    ASSERT_TRUE(Seek(buffered, 2048 * 512));
    ASSERT_TRUE(ReadFile(buffered, back.bytes, kMiB, &read, nullptr));
    EXPECT_GT(CachedPages(image, 2048 * 512, kMiB), 0u);
}

TEST_F(ImageDriveTest, UnalignedBuffersAreMovedThroughAnAlignedOne) {
    // 3 MiB crosses the 1 MiB bounce buffer's boundaries.
    constexpr std::size_t kBytes = 3 * kMiB;
    AlignedBuffer data(kBytes + 8);
    std::uint8_t* odd = data.bytes + 3;
    FillPattern(odd, kBytes, 3);
    Handle writer(Open(DiskPath(1), GENERIC_WRITE));
    ASSERT_TRUE(Seek(writer, 512));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, odd, kBytes, &written, nullptr));
    EXPECT_EQ(written, kBytes);
    EXPECT_EQ(ReadBytes(image, 512, kBytes), std::vector<std::uint8_t>(odd, odd + kBytes));

    EvictFromCache(image);
    AlignedBuffer back(kBytes + 8);
    Handle reader(Open(DiskPath(1), GENERIC_READ, FILE_FLAG_NO_BUFFERING));
    ASSERT_TRUE(Seek(reader, 512));
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader, back.bytes + 5, kBytes, &read, nullptr));
    EXPECT_EQ(std::memcmp(back.bytes + 5, odd, kBytes), 0);
    EXPECT_EQ(CachedPages(image, 0, 4 * kMiB), 0u);

    // Offsets and lengths must still be whole sectors, as for any unbuffered transfer.
    ASSERT_TRUE(Seek(reader, 100));
    EXPECT_FALSE(ReadFile(reader, back.bytes, 512, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ImageDriveTest, OffsetsBeyondFourGigabytesReachTheirSector) {
    Resize(8388608 + 16);
    AlignedBuffer data(4096);
    FillPattern(data.bytes, 4096, 4);
    Handle disk(Open(DiskPath(1), GENERIC_WRITE));
    LARGE_INTEGER at{};
    at.LowPart = 0;  // sector 8,388,608: high word 1, low word 0
    at.HighPart = 1;
    LARGE_INTEGER now{};
    ASSERT_TRUE(SetFilePointerEx(disk, at, &now, FILE_BEGIN));
    EXPECT_EQ(now.QuadPart, 4294967296LL);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(disk, data.bytes, 4096, &written, nullptr));
    EXPECT_EQ(ReadBytes(image, 4294967296ull, 4096), std::vector<std::uint8_t>(data.bytes, data.bytes + 4096));
}

TEST_F(ImageDriveTest, TransfersStayInsideTheDisk) {
    const std::uint64_t end = sectors * 512;
    AlignedBuffer data(64 * 1024);
    struct Case {
        std::uint64_t offset;
        DWORD bytes;
        bool write;
        BOOL ok;
        DWORD moved;   // when ok
        DWORD error;   // when not
    };
    const Case cases[] = {
        {end - 4096, 4096, false, TRUE, 4096, 0},
        {end, 512, false, FALSE, 0, ERROR_SECTOR_NOT_FOUND},
        {end - 4096, 8192, false, FALSE, 0, ERROR_SECTOR_NOT_FOUND},  // never half a read taken for whole
        {0xFFFFFFFFull * 512, 512, false, FALSE, 0, ERROR_SECTOR_NOT_FOUND},  // a start below sector 0
        {end, 512, true, FALSE, 0, ERROR_SECTOR_NOT_FOUND},
        {0xFFFFFFFFull * 512, 512, true, FALSE, 0, ERROR_SECTOR_NOT_FOUND},
        {end - 4096, 65536, true, TRUE, 4096, 0},  // a short write: what fits
    };
    for (const Case& c : cases) {
        Handle disk(Open(DiskPath(1), c.write ? GENERIC_WRITE : GENERIC_READ, c.write ? 0 : FILE_FLAG_NO_BUFFERING));
        ASSERT_TRUE(Seek(disk, c.offset));
        DWORD moved = 999;
        SetLastError(0);
        const BOOL ok = c.write ? WriteFile(disk, data.bytes, c.bytes, &moved, nullptr)
                                : ReadFile(disk, data.bytes, c.bytes, &moved, nullptr);
        EXPECT_EQ(ok, c.ok) << c.offset << (c.write ? " write" : " read");
        if (ok) {
            EXPECT_EQ(moved, c.moved) << c.offset;
        } else {
            EXPECT_EQ(GetLastError(), c.error) << c.offset;
        }
    }
    EXPECT_EQ(std::filesystem::file_size(image), end) << "an image drive never grows";
}

TEST(OrdinaryFiles, CreateWriteSeekAndRead) {
    fake::FakeSystem dir;
    const std::u16string path = u"" + std::u16string(dir.Root().begin(), dir.Root().end()) + u"/settings.dat";
    fake::MakeSparseFile(std::string(path.begin(), path.end()), 9000);  // CREATE_ALWAYS cuts it
    {
        Handle file(Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
        ASSERT_TRUE(file.ok());
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, "abcdefgh", 8, &written, nullptr));
        EXPECT_EQ(written, 8u);
        DWORD read = 0;
        char byte;
        EXPECT_FALSE(ReadFile(file, &byte, 1, &read, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    Handle file(Open(path, GENERIC_READ));
    ASSERT_TRUE(file.ok());
    char text[16] = {};
    DWORD read = 0;
    LARGE_INTEGER back{};
    back.QuadPart = -3;
    LARGE_INTEGER at{};
    ASSERT_TRUE(SetFilePointerEx(file, back, &at, FILE_END));
    EXPECT_EQ(at.QuadPart, 5);
    ASSERT_TRUE(ReadFile(file, text, sizeof text, &read, nullptr));
    EXPECT_EQ(std::string(text, read), "fgh");
    ASSERT_TRUE(ReadFile(file, text, sizeof text, &read, nullptr));  // at the end: success, nothing read
    EXPECT_EQ(read, 0u);
    back.QuadPart = -9;
    EXPECT_FALSE(SetFilePointerEx(file, back, &at, FILE_END));
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_FALSE(SetFilePointerEx(file, back, &at, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(WriteFile(file, "x", 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(OrdinaryFiles, OnlyRegularFilesOpenAndErrorsMapToSystemCodes) {
    fake::FakeSystem dir;
    const std::string root = dir.Root();
    const std::string fifo = root + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto u16 = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
    struct Case {
        std::u16string path;
        DWORD access;
        DWORD disposition;
        DWORD error;
    };
    const Case cases[] = {
        {u16(root + "/missing.dat"), GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {u16(root + "/no/such/dir/x.dat"), GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {u16(root + "/no/such/dir/x.dat"), GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {u16(root + "/missing.dat/x.dat"), GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {u16(root), GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {u16(root), GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {u16(fifo), GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},  // and does not wait for a writer
        {u"/dev/null", GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {u"/dev/vda", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},  // a disk is no settings file
        {u"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {u16(root + "/x.dat"), GENERIC_READ, 4, ERROR_INVALID_PARAMETER},
        {u16(root + "/" + std::string(300, 'n')), GENERIC_READ, OPEN_EXISTING, ERROR_INVALID_NAME},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        Handle h(Open(c.path, c.access, 0, c.disposition));
        EXPECT_FALSE(h.ok()) << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(GetLastError(), c.error) << std::string(c.path.begin(), c.path.end());
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(Handles, UnknownAndClosedHandlesAreRefused) {
    DWORD n = 0;
    char byte = 0;
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, &byte, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    fake::FakeSystem dir;
    const std::string path = dir.Root() + "/a.bin";
    fake::MakeSparseFile(path, 10);
    HANDLE h = Open(std::u16string(path.begin(), path.end()), GENERIC_READ);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WriteFile(h, &byte, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(DeviceIoControl(h, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &n, sizeof n, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(ErrorCodes, LinuxErrorsBecomeTheCodesCallersKnow) {
    using platform::storage::ErrorFromErrno;
    const std::pair<int, DWORD> cases[] = {
        {EACCES, ERROR_ACCESS_DENIED},   {EPERM, ERROR_ACCESS_DENIED},      {ENOENT, ERROR_FILE_NOT_FOUND},
        {ENOTDIR, ERROR_PATH_NOT_FOUND}, {EINVAL, ERROR_INVALID_PARAMETER}, {ENOSPC, ERROR_DISK_FULL},
        {EIO, ERROR_IO_DEVICE},          {EROFS, ERROR_WRITE_PROTECT},      {ENOMEDIUM, ERROR_NOT_READY},
        {EBUSY, ERROR_SHARING_VIOLATION}, {EBADF, ERROR_INVALID_HANDLE},    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
        {EMFILE, ERROR_TOO_MANY_OPEN_FILES}, {EXDEV, ERROR_GEN_FAILURE},
    };
    for (const auto& [err, code] : cases)
        EXPECT_EQ(ErrorFromErrno(err), code) << err;
}

TEST(ErrorCodes, TheLastErrorBelongsToItsThread) {
    SetLastError(ERROR_DISK_FULL);
    DWORD seen = 0;
    std::thread other([&] {
        seen = GetLastError();
        SetLastError(ERROR_ACCESS_DENIED);
    });
    other.join();
    EXPECT_EQ(seen, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
}

} // namespace
