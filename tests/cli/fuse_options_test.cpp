// Reading the command line of "strovane fuse": every option into its field,
// and every malformed word refused with a message that names it.
#include "cli/fuse_options.h"

#include <gtest/gtest.h>

namespace {

using cli::ParseFuseOptions;

TEST(FuseOptions, EveryOptionReachesItsField) {
    const cli::ParseResult r = ParseFuseOptions({
        "--drive", "e=/tmp/card.img", "--drive=F=/tmp/other.img", "--card", "f",
        "--bootloader", "bl.bin", "--kernel=zImage", "--rootfs", "root fs.img", "--start-sector", "4294967295",
        "--sram", "64k", "--efuse", "2KB", "--bootloader-part", "1M", "--kernel-part", "8192kb",
        "--rootfs-part", "0", "--settings", "in.dat", "--save-settings", "out.dat"});
    ASSERT_EQ(r.error, "");
    const cli::FuseOptions& o = r.options;
    ASSERT_EQ(o.drives.size(), 2u);
    EXPECT_EQ(o.drives[0].letter, 'E');
    EXPECT_EQ(o.drives[0].path, "/tmp/card.img");
    EXPECT_EQ(o.drives[1].letter, 'F');
    EXPECT_EQ(o.drives[1].path, "/tmp/other.img");
    EXPECT_EQ(o.card, 'F');
    EXPECT_EQ(o.bootloader, "bl.bin");
    EXPECT_EQ(o.kernel, "zImage");
    EXPECT_EQ(o.rootfs, "root fs.img");
    EXPECT_EQ(o.startSector, 4294967295u);
    EXPECT_EQ(o.sramIndex, 4);
    EXPECT_EQ(o.efuseIndex, 1);
    ASSERT_TRUE(o.bootloaderPart && o.kernelPart && o.rootfsPart);
    EXPECT_EQ(o.bootloaderPart->count, 1u);
    EXPECT_EQ(o.bootloaderPart->unitIndex, 1);
    EXPECT_EQ(o.kernelPart->count, 8192u);
    EXPECT_EQ(o.kernelPart->unitIndex, 0);
    EXPECT_EQ(o.rootfsPart->count, 0u);
    EXPECT_EQ(o.rootfsPart->unitIndex, std::nullopt);  // no unit: the chosen one stays
    EXPECT_EQ(o.settings, "in.dat");
    EXPECT_EQ(o.saveSettings, "out.dat");
    EXPECT_FALSE(o.help);
}

TEST(FuseOptions, NothingGivenLeavesEveryFieldEmpty) {
    const cli::ParseResult r = ParseFuseOptions({});
    ASSERT_EQ(r.error, "");
    const cli::FuseOptions& o = r.options;
    EXPECT_TRUE(o.drives.empty());
    EXPECT_FALSE(o.card || o.bootloader || o.kernel || o.rootfs || o.startSector || o.sramIndex ||
                 o.efuseIndex || o.bootloaderPart || o.kernelPart || o.rootfsPart || o.settings ||
                 o.saveSettings || o.help);
    EXPECT_EQ(o.ChosenCard(), std::nullopt);
}

TEST(FuseOptions, EachSramAndEfuseSizeSelectsItsListItem) {
    const char* sram[] = {"4K", "8K", "16K", "32K", "64K"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ParseFuseOptions({"--sram", sram[i]}).options.sramIndex, i) << sram[i];
    EXPECT_EQ(ParseFuseOptions({"--efuse", "1K"}).options.efuseIndex, 0);
    EXPECT_EQ(ParseFuseOptions({"--efuse", "2k"}).options.efuseIndex, 1);
}

TEST(FuseOptions, CardDefaultsToTheOnlyImageDrive) {
    EXPECT_EQ(ParseFuseOptions({"--drive", "G=a.img"}).options.ChosenCard(), 'G');
    EXPECT_EQ(ParseFuseOptions({"--drive", "G=a.img", "--drive", "H=b.img"}).options.ChosenCard(), std::nullopt);
    EXPECT_EQ(ParseFuseOptions({"--drive", "G=a.img", "--card", "Z"}).options.ChosenCard(), 'Z');
    EXPECT_EQ(ParseFuseOptions({"--card", "d"}).options.ChosenCard(), 'D');
}

TEST(FuseOptions, HelpAndAnEmptyImagePathAreAccepted) {
    EXPECT_TRUE(ParseFuseOptions({"--help"}).options.help);
    EXPECT_TRUE(ParseFuseOptions({"-h"}).options.help);
    // An empty path skips the image, as an empty path box does in the dialog.
    const cli::ParseResult r = ParseFuseOptions({"--kernel", ""});
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.options.kernel, "");
}

TEST(FuseOptions, BadArgumentsAreRefusedWithAMessageNamingThem) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "unknown option \"--frobnicate\""},
        {{"--frobnicate=1"}, "unknown option \"--frobnicate\""},
        {{"card.img"}, "unexpected argument \"card.img\""},
        {{"--kernel"}, "--kernel needs a value FILE"},
        {{"--help=yes"}, "--help takes no value"},
        {{"--card", "C"}, "--card: \"C\" is not a drive letter D to Z"},
        {{"--card", "EF"}, "--card: \"EF\" is not a drive letter D to Z"},
        {{"--card", "1"}, "--card: \"1\" is not a drive letter D to Z"},
        {{"--drive", "C=card.img"}, "--drive: expected L=PATH with L a drive letter D to Z, got \"C=card.img\""},
        {{"--drive", "card.img"}, "--drive: expected L=PATH with L a drive letter D to Z, got \"card.img\""},
        {{"--drive", "E="}, "--drive: expected L=PATH with L a drive letter D to Z, got \"E=\""},
        {{"--drive", "E=a", "--drive", "e=b"}, "--drive: letter E is given twice"},
        {{"--sram", "12K"}, "--sram: \"12K\" is not one of 4K, 8K, 16K, 32K, 64K"},
        {{"--sram", "8"}, "--sram: \"8\" is not one of 4K, 8K, 16K, 32K, 64K"},
        {{"--efuse", "4K"}, "--efuse: \"4K\" is not one of 1K, 2K"},
        {{"--kernel-part", "abc"}, "--kernel-part: \"abc\" is not a size: write a number, optionally followed by K or M"},
        {{"--kernel-part", "M"}, "--kernel-part: \"M\" is not a size: write a number, optionally followed by K or M"},
        {{"--bootloader-part", "-1"}, "--bootloader-part: \"-1\" is not a size: write a number, optionally followed by K or M"},
        {{"--bootloader-part", "512G"}, "--bootloader-part: \"512G\" is not a size: write a number, optionally followed by K or M"},
        {{"--rootfs-part", "4294967296"}, "--rootfs-part: \"4294967296\" is not a size: write a number, optionally followed by K or M"},
        {{"--rootfs-part", " 8"}, "--rootfs-part: \" 8\" is not a size: write a number, optionally followed by K or M"},
        {{"--start-sector", "12x"}, "--start-sector: \"12x\" is not a sector number (0 to 4294967295)"},
        {{"--start-sector", ""}, "--start-sector: \"\" is not a sector number (0 to 4294967295)"},
        {{"--start-sector", "4294967296"}, "--start-sector: \"4294967296\" is not a sector number (0 to 4294967295)"},
        {{"--settings", ""}, "--settings: needs a file name"},
        {{"--kernel", "a", "--kernel", "b"}, "--kernel is given more than once"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args)
            joined += a + " ";
        EXPECT_EQ(ParseFuseOptions(c.args).error, c.error) << joined;
    }
}

TEST(FuseOptions, UsageDocumentsEveryOptionAndExitStatus) {
    const std::string usage = cli::FuseUsage();
    for (const char* word : {"--drive L=PATH", "--card L", "--bootloader FILE", "--kernel FILE", "--rootfs FILE",
                             "--start-sector N", "--sram SIZE", "--efuse SIZE", "--bootloader-part N[K|M]",
                             "--kernel-part N[K|M]", "--rootfs-part N[K|M]", "--settings FILE.dat",
                             "--save-settings FILE.dat", "--help", "exit status", "NOTICE: Fusing image done"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    for (std::size_t start = 0, end; (end = usage.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
}

} // namespace
