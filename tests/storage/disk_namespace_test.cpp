// Card discovery on a fake machine: which devices are disks, their numbers,
// which volumes get letters, and how letters and numbers behave when cards
// come and go or image files are added.
#include "platform/storage/linux/disk_namespace.h"
#include "platform/storage/linux/disk_rules.h"
#include "storage/machine_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using platform::storage::DiskNamespace;
using platform::storage::Volume;

std::map<std::string, int> NumbersByName(const DiskNamespace& ns) {
    std::map<std::string, int> numbers;
    for (const auto& disk : ns.Disks())
        numbers[disk.name] = disk.number;
    return numbers;
}

// Letter to the device (below the fake root) and its disks.
std::map<char, std::string> LettersToDevices(const DiskNamespace& ns, const std::string& root) {
    std::map<char, std::string> letters;
    for (const Volume& volume : ns.Volumes())
        letters[volume.letter] = volume.devicePath.substr(0, root.size()) == root
            ? volume.devicePath.substr(root.size())
            : volume.devicePath;
    return letters;
}

class DiskNamespaceTest : public ::testing::Test {
protected:
    void SetUp() override { fake::BuildMachine(machine, "/srv/cards"); }
    fake::FakeSystem machine;
};

TEST_F(DiskNamespaceTest, NumbersTheSystemDiskZeroAndTheOthersInNameOrder) {
    fake::ScopedNamespace scope(machine.Root());
    const std::map<std::string, int> expected = {
        {"vda", 0},      {"loop0", 1},    {"loop2", 2}, {"loop3", 3}, {"loop4", 4},  {"mmcblk0", 5},
        {"mmcblk1", 6},  {"sda", 7},      {"sdb", 8},   {"sdc", 9},   {"sdd", 10},   {"sde", 11},
        {"sdg", 12},     {"sdh", 13},     {"zram0", 14},
    };
    EXPECT_EQ(NumbersByName(DiskNamespace::Current()), expected);  // loop1 (no backing file) and dm-0 are no disks
}

TEST_F(DiskNamespaceTest, GivesLettersOnlyToCardVolumesOffTheSystem) {
    fake::ScopedNamespace scope(machine.Root());
    const std::map<char, std::string> expected = {
        {'D', "/dev/loop0"}, {'E', "/dev/loop2"}, {'F', "/dev/loop3"}, {'G', "/dev/loop4p1"},
        {'H', "/dev/mmcblk0"}, {'I', "/dev/sdb1"}, {'J', "/dev/sdb2"}, {'K', "/dev/dm-0"},
        {'L', "/dev/sdh"},
    };
    EXPECT_EQ(LettersToDevices(DiskNamespace::Current(), machine.Root()), expected);
}

TEST_F(DiskNamespaceTest, VolumesKnowTheirExtents) {
    fake::ScopedNamespace scope(machine.Root());
    const DiskNamespace& ns = DiskNamespace::Current();
    const Volume* sdb2 = ns.FindVolume('j');  // either case
    ASSERT_NE(sdb2, nullptr);
    ASSERT_EQ(sdb2->extents.size(), 1u);
    EXPECT_EQ(sdb2->extents[0].diskNumber, 8);
    EXPECT_EQ(sdb2->extents[0].range.offset, 206848u * 512);
    EXPECT_EQ(sdb2->extents[0].range.length, 7537664u * 512);

    const Volume* whole = ns.FindVolume('H');
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->extents[0].range.offset, 0u);
    EXPECT_EQ(whole->extents[0].range.length, fake::kSdCardSectors * 512);

    const Volume* spanned = ns.FindVolume('K');
    ASSERT_NE(spanned, nullptr);
    ASSERT_EQ(spanned->extents.size(), 2u);
    EXPECT_EQ(spanned->extents[0].diskNumber, 10);
    EXPECT_EQ(spanned->extents[1].diskNumber, 11);
}

TEST_F(DiskNamespaceTest, MarksEveryDiskHoldingTheSystem) {
    fake::ScopedNamespace scope(machine.Root());
    std::map<std::string, bool> holdsSystem;
    for (const auto& disk : DiskNamespace::Current().Disks())
        holdsSystem[disk.name] = disk.holdsSystem;
    for (const char* name : {"vda", "sda", "sdc", "sdg", "zram0"})
        EXPECT_TRUE(holdsSystem[name]) << name;
    for (const char* name : {"loop0", "mmcblk0", "sdb", "sdd", "sdh"})
        EXPECT_FALSE(holdsSystem[name]) << name;
}

TEST_F(DiskNamespaceTest, DescribesEachLetter) {
    fake::ScopedNamespace scope(machine.Root());
    const DiskNamespace& ns = DiskNamespace::Current();
    const std::string& r = machine.Root();
    EXPECT_EQ(DescribeDrive(ns, 'D'), "D:  " + r + "/dev/loop0  disk 1  8388608 sectors  loop device of /srv/cards/exact.img");
    EXPECT_EQ(DescribeDrive(ns, 'H'), "H:  " + r + "/dev/mmcblk0  disk 5  7744512 sectors  SL08G");
    EXPECT_EQ(DescribeDrive(ns, 'I'), "I:  " + r + "/dev/sdb1  disk 8  7744512 sectors  Generic STORAGE DEVICE");
    EXPECT_EQ(DescribeDrive(ns, 'K'), "K:  " + r + "/dev/dm-0  disks 10, 11  volume of 3995904 sectors");
    EXPECT_EQ(DescribeDrive(ns, 'M'), "");
    EXPECT_EQ(DescribeDrives(ns).size(), 9u);
}

TEST_F(DiskNamespaceTest, KeepsLettersAndNumbersWhenACardComesAndGoes) {
    fake::ScopedNamespace scope(machine.Root());
    DiskNamespace& ns = DiskNamespace::Current();
    const auto lettersBefore = LettersToDevices(ns, machine.Root());
    const auto numbersBefore = NumbersByName(ns);

    // loop5 sorts among the existing disks; a fresh reading would shift
    // every letter after G. Plugged in while running, it takes what is free.
    machine.AddDisk({.name = "loop5", .bus = fake::Bus::virtual_, .sectors = 2048, .backingFile = "/srv/new.img"});
    ns.Refresh();
    auto letters = LettersToDevices(ns, machine.Root());
    auto numbers = NumbersByName(ns);
    EXPECT_EQ(letters['M'], "/dev/loop5");
    EXPECT_EQ(numbers["loop5"], 15);
    letters.erase('M');
    numbers.erase("loop5");
    EXPECT_EQ(letters, lettersBefore);
    EXPECT_EQ(numbers, numbersBefore);

    // Reading the machine afresh gives the ordered assignment again.
    ns.Rescan(machine.Root());
    EXPECT_EQ(LettersToDevices(ns, machine.Root())['H'], "/dev/loop5");
    EXPECT_EQ(NumbersByName(ns)["loop5"], 5);
}

TEST_F(DiskNamespaceTest, ImageDrivesTakeTheirLetterAndANumberAfterTheDisks) {
    fake::ScopedNamespace scope(machine.Root());
    DiskNamespace& ns = DiskNamespace::Current();
    const std::string image = machine.Root() + "/card.img";
    fake::MakeSparseFile(image, 1024 * 512);

    EXPECT_EQ(ns.AddImageDrive('e', image), "");
    const Volume* e = ns.FindVolume('E');
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->devicePath, std::filesystem::canonical(image).string());
    ASSERT_EQ(e->extents.size(), 1u);
    EXPECT_EQ(e->extents[0].diskNumber, 15);
    EXPECT_EQ(e->extents[0].range.length, 1024u * 512);
    const auto* disk = ns.FindDisk(15);
    ASSERT_NE(disk, nullptr);
    EXPECT_TRUE(disk->isImageFile);
    EXPECT_FALSE(disk->holdsSystem);
    // loop2 had E; it moves to the first free letter.
    EXPECT_EQ(LettersToDevices(ns, machine.Root())['M'], "/dev/loop2");
    EXPECT_EQ(DescribeDrive(ns, 'E'), "E:  " + e->devicePath + "  disk 15  1024 sectors  image file");
    // A fresh reading keeps the image drive after the machine's disks.
    ns.Rescan(machine.Root());
    EXPECT_EQ(ns.FindVolume('E')->extents[0].diskNumber, 15);
}

TEST_F(DiskNamespaceTest, RefusesImageDrivesThatCannotBeCards) {
    fake::ScopedNamespace scope(machine.Root());
    DiskNamespace& ns = DiskNamespace::Current();
    const std::string image = machine.Root() + "/card.img";
    fake::MakeSparseFile(image, 4096);
    struct Case {
        char letter;
        std::string path;
        std::string errorPart;
    };
    ASSERT_EQ(ns.AddImageDrive('P', image), "");
    const Case cases[] = {
        {'C', image, "D to Z"},
        {'[', image, "D to Z"},
        {'p', image, "already given"},
        {'Q', machine.Root() + "/missing.img", "No such file"},
        {'Q', machine.Root(), "not a regular file"},
        {'Q', "/dev/null", "not a regular file"},
    };
    for (const Case& c : cases)
        EXPECT_NE(ns.AddImageDrive(c.letter, c.path).find(c.errorPart), std::string::npos) << c.letter << " " << c.path;
    EXPECT_EQ(ns.FindVolume('Q'), nullptr);
}

TEST(DiskNamespaceRoot, WithoutAKnownRootDiskNoDiskIsNumberedZero) {
    fake::FakeSystem machine;
    machine.AddDisk({.name = "sdb", .bus = fake::Bus::usb, .sectors = 2048, .removable = true});
    machine.AddDisk({.name = "vda", .bus = fake::Bus::virtio, .sectors = 4096});
    fake::ScopedNamespace scope(machine.Root());
    const DiskNamespace& ns = DiskNamespace::Current();
    EXPECT_EQ(ns.FindDisk(0), nullptr);
    EXPECT_EQ(NumbersByName(ns), (std::map<std::string, int>{{"sdb", 1}, {"vda", 2}}));
}

TEST(DiskNamespaceRoot, RootOnAStackedVolumeMakesItsFirstDiskZero) {
    fake::FakeSystem machine;
    machine.AddDisk({.name = "nvme0n1", .bus = fake::Bus::ata, .sectors = 2000000});
    machine.AddPartition("nvme0n1", 1, 2048, 1000000);
    machine.AddDisk({.name = "sda", .bus = fake::Bus::usb, .sectors = 2000000, .removable = true});
    machine.AddPartition("sda", 1, 2048, 1000000);
    machine.AddStacked("dm-0", {"nvme0n1p1", "sda1"}, 2000000);
    machine.Mount("dm-0", "/");
    fake::ScopedNamespace scope(machine.Root());
    const DiskNamespace& ns = DiskNamespace::Current();
    EXPECT_EQ(NumbersByName(ns), (std::map<std::string, int>{{"nvme0n1", 0}, {"sda", 1}}));
    // The removable disk carries part of the root: it is the system's, not a card.
    EXPECT_TRUE(ns.FindDisk(1)->holdsSystem);
    EXPECT_TRUE(ns.Volumes().empty());
}

TEST(NaturalOrder, SortsNumbersByValue) {
    using platform::storage::NaturalLess;
    EXPECT_TRUE(NaturalLess("loop2", "loop10"));
    EXPECT_FALSE(NaturalLess("loop10", "loop2"));
    EXPECT_TRUE(NaturalLess("loop9", "mmcblk0"));
    EXPECT_TRUE(NaturalLess("sda", "sda1"));
    EXPECT_FALSE(NaturalLess("sda", "sda"));
}

} // namespace
