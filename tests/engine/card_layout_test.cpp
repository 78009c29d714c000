// The card layout's arithmetic: the worked example, the identities of the
// values at start, the SDHC shift, wrap-around, the capacity bound and the
// placement checks that keep the boot areas off each other.
#include "engine/card_layout.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

// Values at start: bootloader partition 512 KB, kernel 4 MB, SRAM 8 KB,
// eFuse 1 KB, no SDHC reserve.
CardLayout AtStart(DWORD totalSectors) {
    return CardLayout{totalSectors, 1024 / 512, 8192 / 512, 0, PartitionSectors(512, 1024), PartitionSectors(4, 1048576)};
}

} // namespace

TEST(CardLayout, WorkedExample) {
    const CardLayout layout = AtStart(7744512);
    EXPECT_EQ(layout.efuseSectors, 2u);
    EXPECT_EQ(layout.bl1Sectors, 16u);
    EXPECT_EQ(layout.bootloaderSectors, 1024u);
    EXPECT_EQ(layout.kernelSectors, 8192u);

    EXPECT_EQ(layout.EfuseStart(), 7744510u);
    EXPECT_EQ(layout.Bl1Start(), 7744494u);
    EXPECT_EQ(layout.Bl2Start(), 7743438u);
    EXPECT_EQ(layout.BootloaderRangeEnd(), 7744509u);
    EXPECT_EQ(SectorText(layout.Bl2Start()), u"7743438");
    EXPECT_EQ(SectorText(layout.BootloaderRangeEnd()), u"7744509");

    const DWORD bootloaderSectors = SectorCount(300000);
    EXPECT_EQ(bootloaderSectors, 586u);
    EXPECT_TRUE(layout.EndsBeforeEfuse(layout.Bl2Start(), bootloaderSectors));  // 7,744,024 <= 7,744,510
    EXPECT_TRUE(layout.Bl2BlockFits(300000));

    const DWORD kernelSectors = SectorCount(2000000);
    EXPECT_EQ(kernelSectors, 3907u);
    EXPECT_EQ(layout.KernelStart(), 7735246u);
    EXPECT_EQ(SectorText(layout.KernelStart() + kernelSectors - 1), u"7739152");
    EXPECT_TRUE(layout.EndsBeforeEfuse(layout.KernelStart(), kernelSectors));
    EXPECT_TRUE(layout.KernelFits(2000000));
}

TEST(CardLayout, ValuesAtStartOnAnyCard) {
    for (DWORD t : {20000u, 1000000u, 3906250u, 7744512u, 8388608u}) {
        SCOPED_TRACE(t);
        const CardLayout layout = AtStart(t);
        EXPECT_EQ(layout.Bl1Start(), t - 18);
        EXPECT_EQ(layout.Bl2Start(), t - 1074);
        EXPECT_EQ(layout.BootloaderRangeEnd(), t - 3);
        EXPECT_EQ(layout.KernelStart(), t - 9266);
    }
}

TEST(CardLayout, SdhcReserveMovesEveryStartDown) {
    CardLayout layout = AtStart(7744512);
    const CardLayout without = layout;
    layout.sdhcReserve = 1024;
    EXPECT_EQ(layout.Bl1Start(), without.Bl1Start() - 1024);
    EXPECT_EQ(layout.Bl2Start(), without.Bl2Start() - 1024);
    EXPECT_EQ(layout.BootloaderRangeEnd(), without.BootloaderRangeEnd() - 1024);
    EXPECT_EQ(layout.KernelStart(), without.KernelStart() - 1024);
    EXPECT_EQ(layout.EfuseStart(), without.EfuseStart());
}

TEST(CardLayout, LargerBootloaderPartitionLeavesGapBelowBl1) {
    CardLayout layout = AtStart(7744512);
    layout.bootloaderSectors = PartitionSectors(1, 1048576);  // 1 MB
    EXPECT_EQ(layout.bootloaderSectors, 2048u);
    EXPECT_EQ(layout.Bl2Start(), layout.Bl1Start() - 2080);
    EXPECT_EQ(layout.BootloaderRangeEnd(), layout.Bl1Start() + 16 - 1);
    EXPECT_TRUE(layout.Bl2BlockFits(540672));
}

TEST(CardLayout, PartitionSizeTimesUnitWraps) {
    struct Case {
        DWORD size, unit, sectors;
    };
    const Case cases[] = {
        {512, 1024, 1024},        {4, 1048576, 8192},   {1, 1024, 2},
        {4096, 1048576, 0},       // 4 GiB wraps to 0
        {4097, 1048576, 2048},    // 4 GiB + 1 MiB wraps to 1 MiB
        {0, 1048576, 0},          {5, 0, 0},            // no valid unit
        {4194303, 1024, 8388606}, {4194304, 1024, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PartitionSectors(c.size, c.unit), c.sectors) << c.size << " x " << c.unit;
}

TEST(CardLayout, SectorCountOfAnImage) {
    const std::pair<DWORD, DWORD> cases[] = {
        {0, 0}, {1, 1}, {511, 1}, {512, 1}, {513, 2}, {1024, 2}, {1025, 3},
        {300000, 586}, {540672, 1056}, {2000000, 3907}, {8388608, 16384}, {4294967295u, 8388608},
    };
    for (const auto& [length, sectors] : cases)
        EXPECT_EQ(SectorCount(length), sectors) << length;
}

TEST(CardLayout, CapacityBoundIsTheFirstEfuseSector) {
    const CardLayout layout = AtStart(7744512);
    const DWORD efuse = layout.EfuseStart();
    EXPECT_TRUE(layout.EndsBeforeEfuse(efuse - 586, 586));   // ends exactly at T - E
    EXPECT_FALSE(layout.EndsBeforeEfuse(efuse - 585, 586));  // one sector more
    EXPECT_FALSE(layout.EndsBeforeEfuse(0xFFFFFF00u, 586));  // a start below sector 0, wrapping past 2^32
    EXPECT_FALSE(layout.EndsBeforeEfuse(0xFFFFFFFFu, 2));
    EXPECT_TRUE(layout.EndsBeforeEfuse(0, 0));
}

TEST(CardLayout, SectorTextIsSignedAndCutAfterEightCharacters) {
    const std::pair<DWORD, std::u16string> cases[] = {
        {0, u"0"},           {7743438, u"7743438"}, {99999999, u"99999999"}, {123456789, u"12345678"},
        {0xFFFFFFFFu, u"-1"}, {0u - 1074u, u"-1074"}, {0x80000000u, u"-2147483"},
    };
    for (const auto& [sector, text] : cases)
        EXPECT_EQ(SectorText(sector), text.c_str()) << sector;
}

TEST(CardLayout, Bl2BlockMustStayBelowBl1AndHoldTheImage) {
    struct Case {
        const char* what;
        DWORD totalSectors;
        DWORD bootloaderSectors;
        ULONGLONG imageLength;
        bool fits;
    };
    const Case cases[] = {
        {"values at start", 7744512, 1024, 300000, true},
        {"image fills the block", 7744512, 1024, 540672, true},
        {"image one byte longer than the block", 7744512, 1024, 540673, false},
        {"image longer than the transfer buffer", 7744512, 1024, 9u << 20, false},
        {"image of 4 GiB + 100 bytes", 7744512, 1024, (1ull << 32) + 100, false},
        {"partition one sector short of the block", 7744512, 1023, 1000, false},
        {"partition of 1 KB", 7744512, 2, 1000, false},
        {"partition of 1 MB", 7744512, 2048, 1000, true},
        {"card too small for BL1", 10, 1024, 1000, false},
        {"card too small for the block", 1000, 1024, 1000, false},
        {"card just large enough", 1074, 1024, 540672, true},
        {"partition larger than the card", 7744512, 8388607, 1000, false},
    };
    for (const Case& c : cases) {
        CardLayout layout = AtStart(c.totalSectors);
        layout.bootloaderSectors = c.bootloaderSectors;
        EXPECT_EQ(layout.Bl2BlockFits(c.imageLength), c.fits) << c.what;
    }
}

TEST(CardLayout, KernelMustStayInsideItsPartition) {
    struct Case {
        const char* what;
        DWORD totalSectors;
        DWORD kernelSectors;
        ULONGLONG imageLength;
        bool fits;
    };
    const Case cases[] = {
        {"worked example", 7744512, 8192, 2000000, true},
        {"kernel fills the partition", 7744512, 8192, 8192 * 512, true},
        {"one byte more than the partition", 7744512, 8192, 8192 * 512 + 1, false},
        {"kernel of 4 GiB + 100 bytes", 7744512, 8192, (1ull << 32) + 100, false},
        {"card too small for the partition", 9265, 8192, 1000, false},
        {"card just large enough", 9266, 8192, 8192 * 512, true},
        {"empty partition", 7744512, 0, 1, false},
    };
    for (const Case& c : cases) {
        CardLayout layout = AtStart(c.totalSectors);
        layout.kernelSectors = c.kernelSectors;
        EXPECT_EQ(layout.KernelFits(c.imageLength), c.fits) << c.what;
    }
}
