// "strovane fuse" run as a program on sparse card image files: the card it
// produces against the one the dialog produces for the same inputs, its exit
// statuses and lines, its refusal of bad arguments, and settings files
// shared with the dialog's Save and Load.
#include "cli/card_files.h"
#include "cli/dialog_driver.h"

#include "platform/storage/linux/disk_namespace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace {

using namespace cli_test;

constexpr std::uint64_t kCardSectors = 131072;  // a 64 MiB card
constexpr std::size_t kBootloaderBytes = 300000;
constexpr std::size_t kKernelBytes = 2000000;
constexpr std::size_t kRootfsBytes = 9 * 1048576 + 12345;  // two chunks, the second one short

// Letters given to card files inside this process; each test takes its own,
// so that no two tests share a drive of the disk namespace. They start late
// in the alphabet, past the letters the machine's own card readers get.
char NextLetter() {
    static char letter = 'P';
    return letter++;
}

std::string Letter(char letter) { return std::string(1, letter); }

struct Images {
    std::string bootloader, kernel, rootfs;
};

Images MakeImages(const TempFolder& folder) {
    Images images{folder.Path("u-boot.bin"), folder.Path("zImage"), folder.Path("rootfs.img")};
    MakeImage(images.bootloader, kBootloaderBytes, 1);
    MakeImage(images.kernel, kKernelBytes, 2);
    MakeImage(images.rootfs, kRootfsBytes, 3);
    return images;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> RangeLines(const std::string& out) {
    std::vector<std::string> ranges;
    for (const std::string& line : Lines(out))
        if (line.starts_with("bootloader: ") || line.starts_with("kernel: "))
            ranges.push_back(line);
    return ranges;
}

// The choices of one comparison, as the command line writes them and as the
// operator makes them in the dialog.
struct Choices {
    const char* name;
    std::vector<std::string> options;  // besides --drive and the images
    int sramItem = 1, efuseItem = 0;
    unsigned long bootloaderPart = 512, kernelPart = 4, startSector = 0;
    int bootloaderUnitItem = 0, kernelUnitItem = 1;
};

void OperateDialog(DialogDriver& driver, char letter, const Images& images, const Choices& c) {
    driver.PickDrive(letter);
    driver.Browse(&CVEXODlg::OnBnClickedBrowseBootloader, images.bootloader);
    driver.Browse(&CVEXODlg::OnBnClickedBrowseKernel, images.kernel);
    driver.Browse(&CVEXODlg::OnBnClickedBrowseRootfs, images.rootfs);
    driver.Choose(&CVEXODlg::m_cbSramSize, c.sramItem, &CVEXODlg::OnCbnSelchangeSramSize);
    driver.Choose(&CVEXODlg::m_cbEfuseSize, c.efuseItem, &CVEXODlg::OnCbnSelchangeEfuseSize);
    driver.Choose(&CVEXODlg::m_cbBootloaderUnit, c.bootloaderUnitItem, &CVEXODlg::OnCbnSelchangeBootloaderUnit);
    driver.Choose(&CVEXODlg::m_cbKernelUnit, c.kernelUnitItem, &CVEXODlg::OnCbnSelchangeKernelUnit);
    driver.TypeNumber(IDC_BOOTLOADER_PART_SIZE, c.bootloaderPart, &CVEXODlg::OnEnKillfocusBootloaderPartSize);
    driver.TypeNumber(IDC_KERNEL_PART_SIZE, c.kernelPart, &CVEXODlg::OnEnKillfocusKernelPartSize);
    driver.TypeNumber(IDC_ROOTFS_START_SECTOR, c.startSector, &CVEXODlg::OnEnKillfocusRootfsStartSector);
}

TEST(FuseCommand, MakesTheSameCardAsTheDialogForTheSameInputs) {
    const Choices table[] = {
        {"values after start-up", {"--start-sector", "4096"}, 1, 0, 512, 4, 4096, 0, 1},
        {"every size changed",
         {"--sram", "16K", "--efuse", "2K", "--bootloader-part", "1M", "--kernel-part", "6144K", "--start-sector", "100"},
         2, 1, 1, 6144, 100, 1, 0},
        {"smallest BL1, units kept", {"--sram", "4K", "--bootloader-part", "768", "--kernel-part", "3", "--start-sector", "70000"},
         0, 0, 768, 3, 70000, 0, 1},
    };
    for (const Choices& c : table) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const Images images = MakeImages(folder);
        const char letter = NextLetter();
        MakeSparseCard(folder.Path("dialog.img"), kCardSectors);
        MakeSparseCard(folder.Path("cli.img"), kCardSectors);

        ASSERT_EQ(platform::storage::DiskNamespace::Current().AddImageDrive(letter, folder.Path("dialog.img")), "");
        DialogDriver driver;
        OperateDialog(driver, letter, images, c);
        driver.Start();
        ASSERT_EQ(driver.Boxes(), std::vector<std::string>{"NOTICE: Fusing image done"});

        std::vector<std::string> args{"--drive", Letter(letter) + "=cli.img", "--bootloader", "u-boot.bin",
                                      "--kernel", "zImage", "--rootfs", "rootfs.img"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProgramRun run = RunFuse(args, folder.Path(""));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "NOTICE: Fusing image done\n");
        EXPECT_EQ(RangeLines(run.out), driver.RangesAtCompletion()) << run.out;

        std::string where;
        EXPECT_TRUE(SameBytes(folder.Path("dialog.img"), folder.Path("cli.img"), &where)) << where;
        // Both runs really wrote: the kernel lies at the start of the range shown.
        const std::string kernelLine = RangeLines(run.out).at(1);
        const std::uint64_t kernelStart = std::stoull(kernelLine.substr(kernelLine.find(": ") + 2));
        EXPECT_EQ(ReadRange(folder.Path("cli.img"), kernelStart * 512, kKernelBytes), ReadAll(images.kernel));
    }
}

TEST(FuseCommand, ExitStatusAndLinesTellHowTheRunEnded) {
    // A 64 MiB card with the sizes after start-up: the kernel partition is
    // 8192 sectors from T - 9266 = 121806; a 2,000,000-byte kernel takes 3907.
    struct Case {
        const char* name;
        std::vector<std::string> args;  // in a folder holding card.img, the images and big-zImage
        int status;
        std::string err, out;
    };
    const Case table[] = {
        {"kernel only", {"--drive", "T=card.img", "--kernel", "zImage"}, 0,
         "NOTICE: Fusing image done\n", "Something wrong!\nkernel: 121806 to 125712 on drive T\nSomething wrong!\n"},
        {"kernel partition 0", {"--drive", "T=card.img", "--kernel", "zImage", "--kernel-part", "0"}, 1,
         "ERROR: Insert Kernel partition size\n", "Something wrong!\n"},
        {"kernel past the eFuse area", {"--drive", "T=card.img", "--kernel", "big-zImage"}, 1,
         "ERROR: Check the partition and file size\n", "Something wrong!\nkernel: 121806 to 132045 on drive T\n"},
        {"rootfs past the card's end", {"--drive", "T=card.img", "--rootfs", "rootfs.img", "--start-sector", "131000"}, 1,
         "ERROR: Only copy 72 sectors\nERROR: Can not write image file\n", "Something wrong!Something wrong!\n"},
        {"no drive chosen", {"--kernel", "zImage"}, 1, "ERROR: Choose SDMMC card drive\n", ""},
        {"letter without a card", {"--drive", "T=card.img", "--card", "U", "--kernel", "zImage"}, 1,
         "ERROR: Can't read physical drive name\n", ""},
        {"no image opens", {"--drive", "T=card.img", "--kernel", "no-such-zImage"}, 3, "",
         "Something wrong!Something wrong!Something wrong!\n"},
        {"no image given", {"--drive", "T=card.img"}, 3, "", "Something wrong!Something wrong!Something wrong!\n"},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        MakeImages(folder);
        MakeImage(folder.Path("big-zImage"), 5 * 1048576, 4);
        MakeSparseCard(folder.Path("card.img"), kCardSectors);
        const ProgramRun run = RunFuse(c.args, folder.Path(""));
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(std::filesystem::file_size(folder.Path("card.img")), kCardSectors * 512);
    }
}

TEST(FuseCommand, PrintsTheRootfsProgressOneLinePerChunkAndRunsWithoutADisplay) {
    TempFolder folder;
    MakeImages(folder);
    MakeSparseCard(folder.Path("card.img"), kCardSectors);
    const ProgramRun run = RunFuse({"--drive=T=card.img", "--rootfs=rootfs.img", "--start-sector=2048"},
                                   folder.Path(""), /*unsetPlatform=*/true);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "NOTICE: Fusing image done\n");
    std::vector<std::string> progress;
    for (const std::string& line : Lines(run.out))
        if (line.starts_with("rootfs:"))
            progress.push_back(line);
    ASSERT_EQ(progress.size(), 2u) << run.out;  // one per 8 MiB chunk
    EXPECT_EQ(progress.back(), "rootfs:  100 %");
    EXPECT_EQ(ReadRange(folder.Path("card.img"), 2048 * 512, kRootfsBytes), ReadAll(folder.Path("rootfs.img")));
}

TEST(FuseCommand, RefusesBadArgumentsAndWritesNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case table[] = {
        {{"--frobnicate"}, "unknown option \"--frobnicate\""},
        {{"--sram", "3K"}, "--sram: \"3K\" is not one of 4K, 8K, 16K, 32K, 64K"},
        {{"--kernel-part", "12Q"}, "--kernel-part: \"12Q\" is not a size"},
        {{"--card", "C"}, "--card: \"C\" is not a drive letter D to Z"},
        {{"--drive", "F=missing.img"}, "--drive F=missing.img: "},
        {{"--settings", "missing.dat"}, "--settings: cannot read \"missing.dat\""},
        {{"--save-settings", "no-folder/out.dat"}, "--save-settings: cannot write \"no-folder/out.dat\""},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.message);
        TempFolder folder;
        MakeImages(folder);
        MakeSparseCard(folder.Path("card.img"), 32768);
        // Good options around the bad one: were it taken, they would write.
        std::vector<std::string> args{"--drive", "T=card.img", "--kernel", "zImage"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.args.front() != "--save-settings")
            args.insert(args.end(), {"--save-settings", "saved.dat"});
        const ProgramRun run = RunFuse(args, folder.Path(""));
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.starts_with("strovane fuse: " + c.message)) << run.err;
        EXPECT_NE(run.err.find("usage: strovane fuse [options]"), std::string::npos);
        EXPECT_EQ(run.out, "");
        const std::vector<std::uint8_t> card = ReadAll(folder.Path("card.img"));
        EXPECT_TRUE(std::all_of(card.begin(), card.end(), [](std::uint8_t b) { return b == 0; }));
        EXPECT_FALSE(std::filesystem::exists(folder.Path("saved.dat")));
        EXPECT_FALSE(std::filesystem::exists(folder.Path("missing.img")));
    }
}

TEST(FuseCommand, HelpDocumentsTheOptions) {
    TempFolder folder;
    const ProgramRun run = RunFuse({"--help"}, folder.Path(""));
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("usage: strovane fuse [options]"));
    EXPECT_NE(run.out.find("--save-settings FILE.dat"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST(FuseCommand, SettingsSavedByTheDialogReproduceItsRun) {
    TempFolder folder;
    const Images images = MakeImages(folder);
    MakeImage(folder.Path("rootfs.cramfs"), 4096, 5);
    const char letter = NextLetter();
    MakeSparseCard(folder.Path("dialog.img"), kCardSectors);
    MakeSparseCard(folder.Path("cli.img"), kCardSectors);

    ASSERT_EQ(platform::storage::DiskNamespace::Current().AddImageDrive(letter, folder.Path("dialog.img")), "");
    DialogDriver driver;
    OperateDialog(driver, letter, images, {"", {}, 3, 1, 2, 5, 30000, 1, 1});
    // Every path is set: an empty one would move the later paths up one
    // place when the file is loaded.
    driver.Browse(&CVEXODlg::OnBnClickedBrowseCramfs, folder.Path("rootfs.cramfs"));
    driver.Save(folder.Path("dialog.dat"));
    driver.Start();
    ASSERT_EQ(driver.Boxes(), std::vector<std::string>{"NOTICE: Fusing image done"});

    const ProgramRun run = RunFuse({"--drive", Letter(letter) + "=cli.img", "--settings", "dialog.dat"}, folder.Path(""));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "NOTICE: Fusing image done\n");
    EXPECT_EQ(RangeLines(run.out), driver.RangesAtCompletion());
    std::string where;
    EXPECT_TRUE(SameBytes(folder.Path("dialog.img"), folder.Path("cli.img"), &where)) << where;
}

TEST(FuseCommand, SavedSettingsHoldTheOptionsOverTheLoadedOnesAndTheDialogLoadsThem) {
    TempFolder folder;
    const Images images = MakeImages(folder);
    const char letter = NextLetter();
    MakeSparseCard(folder.Path("dialog.img"), kCardSectors);
    MakeSparseCard(folder.Path("cli.img"), kCardSectors);

    // A settings file from the dialog, then the command line loads it,
    // overrides some choices, saves the result and fuses with it.
    ASSERT_EQ(platform::storage::DiskNamespace::Current().AddImageDrive(letter, folder.Path("dialog.img")), "");
    {
        DialogDriver first;
        OperateDialog(first, letter, images, {"", {}, 3, 1, 2, 5, 30000, 1, 1});
        first.Save(folder.Path("first.dat"));
    }
    const ProgramRun run = RunFuse({"--drive", Letter(letter) + "=cli.img", "--settings", "first.dat", "--sram", "4K",
                                    "--kernel-part", "7", "--start-sector", "512", "--rootfs", "",
                                    "--save-settings", "second.dat"},
                                   folder.Path(""));
    EXPECT_EQ(run.status, 0) << run.err;

    // The dialog loads what the command line saved and fuses the same card.
    DialogDriver second;
    second.Load(folder.Path("second.dat"));
    EXPECT_EQ(second.Dialog().m_nBl1Size, 4096u);
    EXPECT_EQ(second.Dialog().m_nKernelPartSize, 7u);
    EXPECT_EQ(second.Dialog().m_nRootfsStartSector, 512u);
    EXPECT_EQ(second.Dialog().m_nEfuseSize, 2048u);  // from the first file
    second.Start();
    EXPECT_EQ(second.Boxes(), std::vector<std::string>{"NOTICE: Fusing image done"});
    std::string where;
    EXPECT_TRUE(SameBytes(folder.Path("dialog.img"), folder.Path("cli.img"), &where)) << where;
}

} // namespace

namespace {

TEST(FuseCommand, TheRunsOwnDriveCheckDecidesNotTheOneOfLoading) {
    TempFolder folder;
    MakeImages(folder);
    MakeSparseCard(folder.Path("card.img"), kCardSectors);
    // Saved before the run starts, so the file is there although the run
    // then finds no card behind X.
    const ProgramRun save = RunFuse(
        {"--card", "X", "--bootloader", "u-boot.bin", "--kernel", "zImage", "--save-settings", "x.dat"}, folder.Path(""));
    EXPECT_EQ(save.status, 1);
    EXPECT_EQ(save.err, "ERROR: Can't read physical drive name\n");
    ASSERT_EQ(std::filesystem::file_size(folder.Path("x.dat")), 2048u);

    // Loading checks drive X and says so; the card chosen on the command
    // line is then checked again by the run, which completes.
    const ProgramRun run = RunFuse({"--settings", "x.dat", "--drive", "T=card.img"}, folder.Path(""));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "ERROR: Can't read physical drive name\nNOTICE: Fusing image done\n");
    EXPECT_EQ(RangeLines(run.out), (std::vector<std::string>{"bootloader: 129998 to 131069 on drive T",
                                                             "kernel: 121806 to 125712 on drive T"}));
}

TEST(FuseCommand, WarnsWhenASavedFileWillNotLoadBackItsImagePaths) {
    TempFolder folder;
    MakeImages(folder);
    // No bootloader path: loading would take the kernel's path for the
    // bootloader's and fuse the kernel image as the bootloader.
    const ProgramRun save = RunFuse({"--card", "X", "--kernel", "zImage", "--save-settings", "k.dat"}, folder.Path(""));
    EXPECT_EQ(save.err,
              "strovane fuse: note: \"k.dat\" will not load back these image paths: an empty path lets the later ones "
              "move up one place, and a path with blanks or over 127 characters is cut\n"
              "ERROR: Can't read physical drive name\n");
    EXPECT_EQ(std::filesystem::file_size(folder.Path("k.dat")), 2048u);
}

} // namespace
