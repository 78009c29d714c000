// The drive check and the storage services on the machine's real block
// devices: loop devices attached by the test, a partition mounted on one,
// and a file system without direct I/O. Needs root and losetup; skipped with
// the reason elsewhere. Everything attached or mounted here is undone.
#include "platform/storage/linux/disk_namespace.h"
#include "platform/testing/ui_hooks.h"
#include "storage/fake_system.h"
#include "storage/storage_test_support.h"
#include "ui/VEXODlg.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace storage_test;
using platform::storage::DiskNamespace;
namespace fs = std::filesystem;

std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    std::array<char, 256> chunk{};
    while (pipe != nullptr && std::fgets(chunk.data(), chunk.size(), pipe) != nullptr)
        output += chunk.data();
    const int rc = pipe != nullptr ? ::pclose(pipe) : -1;
    if (status != nullptr)
        *status = rc;
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

// Why loop devices cannot be used here, or empty when they can.
std::string LoopUnavailable() {
    if (::geteuid() != 0)
        return "needs root to attach loop devices";
    int status = 0;
    const std::string out = RunCommand("losetup -f", &status);
    return status == 0 ? std::string() : "losetup cannot find a free loop device: " + out;
}

// A loop device attached to an image file for the lifetime of the object.
class LoopDevice {
public:
    LoopDevice(const std::string& image, bool partitions) {
        int status = 0;
        m_device = RunCommand("losetup -f --show " + image, &status);
        if (status != 0) {
            m_error = m_device;
            m_device.clear();
            return;
        }
        if (partitions)
            RunCommand("partx -a " + m_device);
    }
    ~LoopDevice() {
        if (m_device.empty())
            return;
        RunCommand("partx -d " + m_device);
        // Another process may hold the device open for a moment; try again
        // rather than leave it attached.
        for (int attempt = 0; attempt < 30; ++attempt) {
            int status = 0;
            const std::string out = RunCommand("losetup -d " + m_device, &status);
            if (status == 0)
                return;
            if (attempt == 29)
                std::fprintf(stderr, "could not detach %s: %s\n", m_device.c_str(), out.c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;
    const std::string& Device() const { return m_device; }
    const std::string& Error() const { return m_error; }

private:
    std::string m_device, m_error;
};

class Mount {
public:
    Mount(const std::string& device, const std::string& dir, const char* type) : m_dir(dir) {
        fs::create_directories(dir);
        m_mounted = ::mount(device.c_str(), dir.c_str(), type, 0, nullptr) == 0;
    }
    ~Mount() { Unmount(); }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    bool Mounted() const { return m_mounted; }
    void Unmount() {
        if (m_mounted)
            ::umount(m_dir.c_str());
        m_mounted = false;
    }

private:
    std::string m_dir;
    bool m_mounted = false;
};

// A 64 MiB image with an MBR partition table: p1 at sectors 2048..43007,
// p2 at 43008..131071.
void MakePartitionedImage(const std::string& path) {
    fake::MakeSparseFile(path, 131072ull * 512);
    std::array<std::uint8_t, 512> mbr{};
    auto entry = [&](int index, std::uint32_t start, std::uint32_t count) {
        std::uint8_t* e = mbr.data() + 446 + 16 * index;
        e[4] = 0x83;  // Linux
        for (int i = 0; i < 4; ++i) {
            e[8 + i] = static_cast<std::uint8_t>(start >> (8 * i));
            e[12 + i] = static_cast<std::uint8_t>(count >> (8 * i));
        }
    };
    entry(0, 2048, 40960);
    entry(1, 43008, 88064);
    mbr[510] = 0x55;
    mbr[511] = 0xAA;
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).write(reinterpret_cast<char*>(mbr.data()), 512);
}

const platform::storage::Volume* VolumeOn(const std::string& device) {
    for (const auto& volume : DiskNamespace::Current().Volumes())
        if (volume.devicePath == device)
            return &volume;
    return nullptr;
}

class LoopDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string reason = LoopUnavailable();
        if (!reason.empty())
            GTEST_SKIP() << reason;
        platform::testing::SetMessageBoxHook([this](const platform::testing::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
    }
    void TearDown() override { platform::testing::SetMessageBoxHook({}); }
    fake::FakeSystem work;  // a temporary directory for images and mount points
    fake::ScopedNamespace scope{"/"};
    std::vector<platform::testing::MessageBoxCall> boxes;
};

TEST_F(LoopDriveTest, ALoopDeviceIsACardFoundByLetterWithItsSize) {
    const std::string image = work.Root() + "/card.img";
    fake::MakeSparseFile(image, 65536ull * 512);
    LoopDevice loop(image, false);
    ASSERT_FALSE(loop.Device().empty()) << loop.Error();
    DiskNamespace& ns = DiskNamespace::Current();
    ns.Refresh();

    const auto* volume = VolumeOn(loop.Device());
    ASSERT_NE(volume, nullptr) << "no letter for " << loop.Device();
    const int diskNumber = volume->extents.at(0).diskNumber;
    EXPECT_GT(diskNumber, 0);
    EXPECT_NE(DescribeDrive(ns, volume->letter).find("loop device of " + image), std::string::npos);

    // The system's disk is disk 0, and no letter lies on it.
    const auto* system = ns.FindDisk(0);
    ASSERT_NE(system, nullptr);
    EXPECT_TRUE(system->holdsSystem);
    for (const auto& v : ns.Volumes())
        for (const auto& extent : v.extents)
            EXPECT_FALSE(ns.FindDisk(extent.diskNumber)->holdsSystem) << v.devicePath;

    CVEXODlg dlg;
    ASSERT_TRUE(dlg.Create(CVEXODlg::IDD));
    dlg.m_cbDrive.SetCurSel(volume->letter - 'D');
    EXPECT_EQ(dlg.CheckDrive(), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dlg.m_nDiskNumber, diskNumber);
    EXPECT_EQ(dlg.m_nTotalSectors, 65536u);
    EXPECT_EQ(dlg.m_strDriveSize.Str(), u"65536 sectors");
}

TEST_F(LoopDriveTest, DirectTransfersOnABlockDevice) {
    const std::string image = work.Root() + "/card.img";
    fake::MakeSparseFile(image, 65536ull * 512);
    LoopDevice loop(image, false);
    ASSERT_FALSE(loop.Device().empty()) << loop.Error();
    DiskNamespace::Current().Refresh();
    const auto* volume = VolumeOn(loop.Device());
    ASSERT_NE(volume, nullptr);
    const int disk = volume->extents.at(0).diskNumber;

    constexpr std::size_t kBytes = 3 << 20;
    AlignedBuffer data(kBytes + 8);
    FillPattern(data.bytes + 1, kBytes, 9);  // unaligned: goes through the bounce buffer
    {
        Handle writer(Open(DiskPath(disk), GENERIC_WRITE));
        ASSERT_TRUE(writer.ok()) << GetLastError();
        ASSERT_TRUE(Seek(writer, 4096ull * 512));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(writer, data.bytes + 1, kBytes, &written, nullptr)) << GetLastError();
        EXPECT_EQ(written, kBytes);
        ASSERT_TRUE(Seek(writer, 65536ull * 512 - 4096));
        EXPECT_TRUE(WriteFile(writer, data.bytes, 65536, &written, nullptr));  // runs past the end
        EXPECT_EQ(written, 4096u);
    }
    AlignedBuffer back(kBytes);
    Handle reader(Open(DiskPath(disk), GENERIC_READ, FILE_FLAG_NO_BUFFERING));
    ASSERT_TRUE(Seek(reader, 4096ull * 512));
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader, back.bytes, kBytes, &read, nullptr));
    EXPECT_EQ(std::memcmp(back.bytes, data.bytes + 1, kBytes), 0);
    EXPECT_EQ(CachedPages(loop.Device(), 4096ull * 512, kBytes), 0u) << "the device's page cache was used";
    ASSERT_TRUE(Seek(reader, 65536ull * 512 - 4096));
    EXPECT_FALSE(ReadFile(reader, back.bytes, 8192, &read, nullptr));  // runs past the end
    EXPECT_EQ(GetLastError(), ERROR_SECTOR_NOT_FOUND);
    // What the card holds is what the backing file holds.
    EXPECT_EQ(ReadBytes(image, 4096ull * 512, kBytes), std::vector<std::uint8_t>(data.bytes + 1, data.bytes + 1 + kBytes));
}

TEST_F(LoopDriveTest, AMountedPartitionRefusesOverlappingWrites) {
    const std::string image = work.Root() + "/parted.img";
    MakePartitionedImage(image);
    LoopDevice loop(image, true);
    ASSERT_FALSE(loop.Device().empty()) << loop.Error();
    const std::string p2 = loop.Device() + "p2";
    for (int i = 0; i < 50 && !fs::exists(p2); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(fs::exists(p2)) << "partx made no partitions on " << loop.Device();
    int status = 0;
    const std::string mkfs = RunCommand("mkfs.ext2 -q -F " + p2, &status);
    ASSERT_EQ(status, 0) << mkfs;
    Mount mount(p2, work.Root() + "/mnt", "ext2");
    ASSERT_TRUE(mount.Mounted()) << std::strerror(errno);

    DiskNamespace& ns = DiskNamespace::Current();
    ns.Refresh();
    const auto* first = VolumeOn(loop.Device() + "p1");
    const auto* second = VolumeOn(p2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr) << "a card partition mounted outside the system keeps its letter";
    const int disk = first->extents.at(0).diskNumber;
    EXPECT_EQ(second->extents.at(0).range.offset, 43008ull * 512);

    AlignedBuffer data(1 << 20);
    FillPattern(data.bytes, data.length, 5);
    struct Case {
        std::uint64_t sector;
        DWORD bytes;
        bool allowed;
    };
    const Case cases[] = {
        {100, 4096, true},          // between the table and p1
        {2048, 1 << 20, true},      // inside p1
        {43008 - 8, 4096, true},    // up to p2's first sector
        {43008 - 8, 8192, false},   // into p2
        {43008, 512, false},
        {100000, 1 << 20, false},
    };
    for (const Case& c : cases) {
        Handle writer(Open(DiskPath(disk), GENERIC_WRITE));
        ASSERT_TRUE(writer.ok());
        ASSERT_TRUE(Seek(writer, c.sector * 512));
        DWORD written = 0;
        SetLastError(0);
        EXPECT_EQ(WriteFile(writer, data.bytes, c.bytes, &written, nullptr) != 0, c.allowed) << c.sector;
        if (!c.allowed) {
            EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << c.sector;
        }
    }
    Handle reader(Open(DiskPath(disk), GENERIC_READ, FILE_FLAG_NO_BUFFERING));
    AlignedBuffer back(1 << 20);
    ASSERT_TRUE(Seek(reader, 2048ull * 512));
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader, back.bytes, 1 << 20, &read, nullptr));
    EXPECT_EQ(std::memcmp(back.bytes, data.bytes, 1 << 20), 0);
    EXPECT_EQ(RunCommand("fsck.ext2 -n " + p2 + " >/dev/null; echo $?"), "0") << "the mounted file system was touched";

    // The same image file given a letter of its own is the same card: the
    // mounted partition stays out of reach through it too.
    ASSERT_EQ(ns.AddImageDrive('Y', image), "");
    const int imageDisk = ns.FindVolume('Y')->extents.at(0).diskNumber;
    {
        Handle writer(Open(DiskPath(imageDisk), GENERIC_WRITE));
        ASSERT_TRUE(Seek(writer, 43008ull * 512));
        DWORD written = 0;
        EXPECT_FALSE(WriteFile(writer, data.bytes, 4096, &written, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        ASSERT_TRUE(Seek(writer, 100ull * 512));
        EXPECT_TRUE(WriteFile(writer, data.bytes, 4096, &written, nullptr));
    }

    // Unmounted, the partition can be written.
    mount.Unmount();
    Handle writer(Open(DiskPath(disk), GENERIC_WRITE));
    ASSERT_TRUE(Seek(writer, 100000ull * 512));
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(writer, data.bytes, 4096, &written, nullptr));
}

TEST_F(LoopDriveTest, AFileSystemWithoutDirectIoStillServesAnImageDrive) {
    Mount ramfs("ramfs", work.Root() + "/ram", "ramfs");
    ASSERT_TRUE(ramfs.Mounted()) << std::strerror(errno);
    const std::string image = work.Root() + "/ram/card.img";
    fake::MakeSparseFile(image, 8192 * 512);
    DiskNamespace& ns = DiskNamespace::Current();
    ASSERT_EQ(ns.AddImageDrive('Z', image), "");
    const int disk = ns.FindVolume('Z')->extents.at(0).diskNumber;

    AlignedBuffer data(65536);
    FillPattern(data.bytes, data.length, 6);
    Handle writer(Open(DiskPath(disk), GENERIC_WRITE));
    ASSERT_TRUE(writer.ok()) << GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, data.bytes, 65536, &written, nullptr)) << GetLastError();
    Handle reader(Open(DiskPath(disk), GENERIC_READ, FILE_FLAG_NO_BUFFERING));
    ASSERT_TRUE(reader.ok()) << GetLastError();
    AlignedBuffer back(65536);
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader, back.bytes, 65536, &read, nullptr)) << GetLastError();
    EXPECT_EQ(std::memcmp(back.bytes, data.bytes, 65536), 0);
}

} // namespace
