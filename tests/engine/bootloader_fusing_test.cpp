// The bootloader step: BL1 with its checksum at S1, BL2 as the image and
// zeros at S2, each read back and compared; every failure with its box and
// the file closed; nothing written when the image cannot be fused whole.
#include "card_fixture.h"
#include "engine/card_layout.h"

#include <cstring>
#include <functional>

using namespace enginetest;

namespace {

DWORD Checksum(const std::vector<BYTE>& bl1Block) {
    DWORD sum = 0;
    for (std::size_t i = 0; i + 4 < bl1Block.size(); ++i)
        sum += bl1Block[i];
    return sum;
}

// What BL1 must hold: the image's first bytes, zeros past its end, and the
// checksum of those bytes in the last four.
std::vector<BYTE> ExpectedBl1(const std::vector<BYTE>& image, std::size_t bl1Size) {
    std::vector<BYTE> block(bl1Size, 0);
    std::memcpy(block.data(), image.data(), std::min(image.size(), bl1Size));
    const DWORD sum = Checksum(block);
    for (int i = 0; i < 4; ++i)
        block[bl1Size - 4 + i] = static_cast<BYTE>(sum >> (8 * i));
    return block;
}

std::vector<BYTE> ExpectedBl2(const std::vector<BYTE>& image) {
    std::vector<BYTE> block(540672, 0);
    std::memcpy(block.data(), image.data(), image.size());
    return block;
}

} // namespace

class BootloaderFusing : public CardTest {
public:
    // As an earlier transfer would leave them.
    static void DirtyBuffers() {
        std::memset(g_WriteBuffer, 0xAA, sizeof g_WriteBuffer);
        std::memset(g_VerifyBuffer, 0xBB, sizeof g_VerifyBuffer);
    }
    void SetPartitionSizes(DWORD bootloader, DWORD kernel, DWORD rootfs) {
        dlg->m_nBootloaderPartSize = bootloader;
        dlg->m_nKernelPartSize = kernel;
        dlg->m_nRootfsPartSize = rootfs;
        dlg->UpdateData(FALSE);  // the step takes the boxes in
    }
};

TEST_F(BootloaderFusing, Bl1ChecksumExamples) {
    std::memset(g_WriteBuffer, 0xFF, 8192 + 1);
    dlg->m_nBl1Size = 8192;
    dlg->MakeBl1Checksum(g_WriteBuffer);
    EXPECT_EQ(std::vector<BYTE>(g_WriteBuffer + 8188, g_WriteBuffer + 8192), (std::vector<BYTE>{0x04, 0xDC, 0x1F, 0x00}));
    EXPECT_EQ(g_WriteBuffer[8192], 0xFF);  // nothing past the block

    std::memset(g_WriteBuffer, 0xFF, 65536 + 4);
    dlg->m_nBl1Size = 65536;
    dlg->MakeBl1Checksum(g_WriteBuffer);  // 65,532 x 255 = 16,710,660 = 0xFEFC04
    EXPECT_EQ(std::vector<BYTE>(g_WriteBuffer + 65532, g_WriteBuffer + 65536), (std::vector<BYTE>{0x04, 0xFC, 0xFE, 0x00}));
    EXPECT_EQ(g_WriteBuffer[65536], 0xFF);

    // The block's own last four bytes do not count.
    std::memset(g_WriteBuffer, 0, 4096);
    g_WriteBuffer[0] = 7;
    g_WriteBuffer[4095] = 200;
    dlg->m_nBl1Size = 4096;
    dlg->MakeBl1Checksum(g_WriteBuffer);
    EXPECT_EQ(std::vector<BYTE>(g_WriteBuffer + 4092, g_WriteBuffer + 4096), (std::vector<BYTE>{7, 0, 0, 0}));
}

TEST_F(BootloaderFusing, WorkedExampleOnTheCard) {
    InsertCard(kExampleCardSectors);
    const std::vector<BYTE> image = ImageBytes(300000);
    const std::string path = WriteImage("u-boot.bin", image);
    Open(dlg->m_fileBootloader, path);
    DirtyBuffers();

    ASSERT_EQ(dlg->FuseBootloader(), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(dlg->m_fileBootloader.IsOpen());

    const DWORD s1 = 7744494, s2 = 7743438;
    EXPECT_EQ(dlg->m_nStartSector, s2);
    EXPECT_EQ(CardAt(s1, 8192), ExpectedBl1(image, 8192));
    EXPECT_EQ(CardAt(s2, 540672), ExpectedBl2(image));
    EXPECT_EQ(dlg->m_strBlFrom, u"7743438");
    EXPECT_EQ(dlg->m_strBlTo, u"7744509");
    EXPECT_EQ(dlg->m_strBlDrive, u"E");
    EXPECT_EQ(ControlText(IDC_BL_FROM), u"7743438");
    EXPECT_EQ(ControlText(IDC_BL_TO), u"7744509");
    EXPECT_EQ(ControlText(IDC_BL_DRIVE), u"E");

    ExpectDataOnlyIn(cardPath, {{s2, 1056}, {s1, 16}});  // nothing else on the card
    // The checksum went to the card only.
    EXPECT_EQ(ReadFileAt(path, 0, image.size()), image);
}

TEST_F(BootloaderFusing, ImageEndsAreFilledWithZerosAndReadBackByLength) {
    InsertCard(20000);
    UseTestCard();
    const DWORD s1 = 20000 - 18, s2 = 20000 - 1074;
    for (std::size_t length : {std::size_t{1000}, std::size_t{1536}, std::size_t{1537}, std::size_t{8192},
                               std::size_t{540672}}) {
        SCOPED_TRACE(length);
        transfers.clear();
        const std::vector<BYTE> image = ImageBytes(length, static_cast<std::uint32_t>(length));
        Open(dlg->m_fileBootloader, WriteImage("boot.bin", image));
        DirtyBuffers();

        ASSERT_EQ(dlg->FuseBootloader(), 1);
        EXPECT_EQ(CardAt(s1, 8192), ExpectedBl1(image, 8192));
        EXPECT_EQ(CardAt(s2, 540672), ExpectedBl2(image));
        const std::uint32_t readBack = static_cast<std::uint32_t>((length + 511) / 512 * 512);
        ASSERT_EQ(transfers.size(), 4u);
        EXPECT_TRUE(transfers[0].write && transfers[0].offset == s1 * kSector && transfers[0].length == 8192);
        EXPECT_TRUE(!transfers[1].write && transfers[1].offset == s1 * kSector && transfers[1].length == 8192);
        EXPECT_TRUE(transfers[2].write && transfers[2].offset == s2 * kSector && transfers[2].length == 540672);
        EXPECT_TRUE(!transfers[3].write && transfers[3].offset == s2 * kSector && transfers[3].length == readBack);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(BootloaderFusing, SramOf64KbMakesBl1Of128Sectors) {
    InsertCard(20000);
    dlg->m_nBl1Size = 65536;
    const std::vector<BYTE> image = ImageBytes(100000);
    Open(dlg->m_fileBootloader, WriteImage("boot.bin", image));
    ASSERT_EQ(dlg->FuseBootloader(), 1);
    const DWORD s1 = 20000 - 2 - 128;
    EXPECT_EQ(CardAt(s1, 65536), ExpectedBl1(image, 65536));
    EXPECT_EQ(CardAt(s1 - 1056, 540672), ExpectedBl2(image));
    EXPECT_EQ(dlg->m_strBlTo, u"19997");  // the last BL1 sector, T - 3
}

TEST_F(BootloaderFusing, LargerPartitionAndSdhcReserveMoveTheBlocks) {
    struct Case {
        const char* what;
        DWORD partSize, unit, sdhc;
        DWORD s1, s2;
    };
    const DWORD t = 20000;
    const Case cases[] = {
        {"1 MB partition", 1, 1048576, 0, t - 18, t - 18 - 2080},
        {"SDHC reserve", 512, 1024, 1024, t - 18 - 1024, t - 1074 - 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InsertCard(t);
        dlg->m_nBootloaderUnit = c.unit;
        dlg->m_nSdhcReserve = c.sdhc;
        SetPartitionSizes(c.partSize, 4, 8);
        const std::vector<BYTE> image = ImageBytes(3000);
        Open(dlg->m_fileBootloader, WriteImage("boot.bin", image));
        ASSERT_EQ(dlg->FuseBootloader(), 1);
        EXPECT_EQ(CardAt(c.s1, 8192), ExpectedBl1(image, 8192));
        EXPECT_EQ(CardAt(c.s2, 540672), ExpectedBl2(image));
        EXPECT_TRUE(dlg->m_strBlFrom == engine::SectorText(c.s2));
        EXPECT_TRUE(dlg->m_strBlTo == engine::SectorText(c.s1 + 15));
        // Only BL2's 1056 sectors and BL1 hold data.
        ExpectDataOnlyIn(cardPath, {{c.s2, 1056}, {c.s1, 16}});
        dlg->m_nBootloaderUnit = 1024;
        dlg->m_nSdhcReserve = 0;
    }
}

TEST_F(BootloaderFusing, EveryFailureShowsItsMessageAndClosesTheFile) {
    const DWORD t = 20000;
    struct Case {
        const char* what;
        std::size_t imageLength;
        std::function<void(BootloaderFusing&, CardFaults&)> setUp;
        std::vector<std::u16string> boxes;
        std::size_t writes;
        bool rangeShown;
    };
    const std::u16string capacity = u"Check the partition and file size|ERROR";
    const std::u16string cannotWrite = u"Can not write image file|ERROR";
    const std::u16string cannotVerify = u"Can not read disk for verification|ERROR";
    const Case cases[] = {
        {"empty image", 0, nullptr, {u"Can not read file|ERROR"}, 0, false},
        {"no valid SRAM size", 3000, [](BootloaderFusing& f, CardFaults&) { f.dlg->m_nBl1Size = 0; },
         {u"Can not read file|ERROR"}, 0, false},
        {"bootloader partition size 0", 3000, [](BootloaderFusing& f, CardFaults&) { f.SetPartitionSizes(0, 4, 8); },
         {u"Insert Bootloader partition size|ERROR"}, 0, false},
        {"kernel partition size 0", 3000, [](BootloaderFusing& f, CardFaults&) { f.SetPartitionSizes(512, 0, 8); },
         {u"Insert Kernel partition size|ERROR"}, 0, false},
        {"partition too small for the BL2 block", 3000,
         [](BootloaderFusing& f, CardFaults&) { f.SetPartitionSizes(511, 4, 8); }, {capacity}, 0, true},
        {"image longer than the BL2 block", 540673, nullptr, {capacity}, 0, true},
        {"image longer than the transfer buffer", 9u << 20, nullptr, {capacity}, 0, true},
        {"card too small for BL1", 3000, [](BootloaderFusing& f, CardFaults&) { f.dlg->m_nTotalSectors = 10; },
         {capacity}, 0, true},
        {"disk 0", 3000, [](BootloaderFusing& f, CardFaults&) { f.dlg->m_nDiskNumber = 0; }, {cannotWrite}, 0, false},
        {"short BL1 write", 3000, [](BootloaderFusing&, CardFaults& x) { x.shortWrite = 0; x.shortWriteBytes = 4096; },
         {u"Only copy 8 sectors|ERROR", cannotWrite}, 1, false},
        {"BL1 read-back fails", 3000, [](BootloaderFusing&, CardFaults& x) { x.failRead = 0; }, {cannotVerify}, 1, false},
        {"BL1 read back short", 3000, [](BootloaderFusing&, CardFaults& x) { x.shortRead = 0; }, {cannotVerify}, 1, false},
        {"BL1 differs", 3000, [](BootloaderFusing&, CardFaults& x) { x.corruptRead = 0; },
         {u"BL1 verfication error found!!|ERROR"}, 1, false},
        {"short BL2 write", 3000, [](BootloaderFusing&, CardFaults& x) { x.shortWrite = 1; x.shortWriteBytes = 512; },
         {u"Only copy 1 sectors|ERROR", cannotWrite}, 2, true},
        {"BL2 read-back fails", 3000, [](BootloaderFusing&, CardFaults& x) { x.failRead = 1; }, {cannotVerify}, 2, true},
        {"BL2 differs", 3000, [](BootloaderFusing&, CardFaults& x) { x.corruptRead = 1; },
         {u"BL2 verfication error found!!|ERROR"}, 2, true},
    };
    InsertCard(t);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dlg->m_nBl1Size = 8192;
        dlg->m_nDiskNumber = cardDisk;
        dlg->m_nTotalSectors = t;
        dlg->m_strBlFrom = dlg->m_strBlTo = dlg->m_strBlDrive = u"old";
        SetPartitionSizes(512, 4, 8);
        boxes.clear();
        transfers.clear();
        CardFaults faults;
        if (c.setUp)
            c.setUp(*this, faults);
        UseTestCard(faults);
        Open(dlg->m_fileBootloader, WriteImage("boot.bin", ImageBytes(c.imageLength)));

        testing::internal::CaptureStdout();
        EXPECT_EQ(dlg->FuseBootloader(), 0);
        testing::internal::GetCapturedStdout();

        EXPECT_EQ(Boxes(), c.boxes);
        for (const auto& box : boxes)
            EXPECT_EQ(box.style, MB_OK);
        EXPECT_EQ(Writes().size(), c.writes);
        EXPECT_FALSE(dlg->m_fileBootloader.IsOpen());
        EXPECT_EQ(dlg->m_strBlFrom != u"old", c.rangeShown);
        EXPECT_EQ(ControlText(IDC_BL_FROM), dlg->m_strBlFrom.Str());
    }
}
