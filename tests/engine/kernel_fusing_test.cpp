// The kernel step: the image at the start of the kernel partition, its range
// shown, read back and compared; refused before anything is written when it
// does not fit the buffer or its partition.
#include "card_fixture.h"

#include <cstring>
#include <functional>

using namespace enginetest;

class KernelFusing : public CardTest {
public:
    void SetPartitionSizes(DWORD bootloader, DWORD kernel, DWORD rootfs) {
        dlg->m_nBootloaderPartSize = bootloader;
        dlg->m_nKernelPartSize = kernel;
        dlg->m_nRootfsPartSize = rootfs;
        dlg->UpdateData(FALSE);
    }
    static std::vector<BYTE> PaddedToSectors(std::vector<BYTE> image) {
        image.resize((image.size() + 511) / 512 * 512, 0);
        return image;
    }
};

TEST_F(KernelFusing, WorkedExampleOnTheCard) {
    InsertCard(kExampleCardSectors);
    const std::vector<BYTE> image = ImageBytes(2000000);
    Open(dlg->m_fileKernel, WriteImage("zImage", image));
    std::memset(g_WriteBuffer, 0xAA, sizeof g_WriteBuffer);

    ASSERT_EQ(dlg->FuseKernel(), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(dlg->m_fileKernel.IsOpen());
    EXPECT_EQ(dlg->m_nStartSector, 7735246u);
    EXPECT_EQ(dlg->m_strKernelFrom, u"7735246");
    EXPECT_EQ(dlg->m_strKernelTo, u"7739152");
    EXPECT_EQ(dlg->m_strKernelDrive, u"E");
    EXPECT_EQ(ControlText(IDC_KERNEL_FROM), u"7735246");
    EXPECT_EQ(ControlText(IDC_KERNEL_TO), u"7739152");
    EXPECT_EQ(CardAt(7735246, 3907 * 512), PaddedToSectors(image));
    ExpectDataOnlyIn(cardPath, {{7735246, 3907}});
}

TEST_F(KernelFusing, SectorCountsRangesAndZeroFill) {
    const DWORD t = 20000, k = t - 9266;
    InsertCard(t);
    UseTestCard();
    const std::pair<std::size_t, DWORD> cases[] = {{1, 1}, {1024, 2}, {1025, 3}, {8192 * 512, 8192}};
    for (const auto& [length, sectors] : cases) {
        SCOPED_TRACE(length);
        transfers.clear();
        const std::vector<BYTE> image = ImageBytes(length, static_cast<std::uint32_t>(length));
        Open(dlg->m_fileKernel, WriteImage("zImage", image));
        std::memset(g_WriteBuffer, 0xAA, sizeof g_WriteBuffer);

        ASSERT_EQ(dlg->FuseKernel(), 1);
        EXPECT_EQ(dlg->m_strKernelFrom, u"10734");
        EXPECT_EQ(dlg->m_strKernelTo.Str(), U16(std::to_string(k + sectors - 1)));
        ASSERT_EQ(transfers.size(), 2u);
        EXPECT_TRUE(transfers[0].write && transfers[0].offset == k * kSector && transfers[0].length == sectors * 512);
        EXPECT_TRUE(!transfers[1].write && transfers[1].offset == k * kSector && transfers[1].length == sectors * 512);
        EXPECT_EQ(CardAt(k, sectors * 512), PaddedToSectors(image));
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(KernelFusing, EveryFailureShowsItsMessageAndClosesTheFile) {
    const DWORD t = 20000;
    struct Case {
        const char* what;
        std::size_t imageLength;
        std::function<void(KernelFusing&, CardFaults&)> setUp;
        std::vector<std::u16string> boxes;
        std::size_t writes;
        const char16_t* rangeTo;  // nullptr: the range is not touched
    };
    const std::u16string capacity = u"Check the partition and file size|ERROR";
    const std::u16string cannotWrite = u"Can not write image file|ERROR";
    const Case cases[] = {
        {"empty image", 0, nullptr, {u"Can not read file|ERROR"}, 0, nullptr},
        {"kernel partition size 0", 1000, [](KernelFusing& f, CardFaults&) { f.SetPartitionSizes(512, 0, 8); },
         {u"Insert Kernel partition size|ERROR"}, 0, nullptr},
        {"rootfs partition size 0", 1000, [](KernelFusing& f, CardFaults&) { f.SetPartitionSizes(512, 4, 0); },
         {u"Insert Rootfs partition size|ERROR"}, 0, nullptr},
        {"one byte more than its partition", 8192 * 512 + 1, nullptr, {capacity}, 0, u"18926"},
        {"longer than the transfer buffer", (8u << 20) + 1,
         [](KernelFusing& f, CardFaults&) { f.dlg->m_nTotalSectors = 40000; f.SetPartitionSizes(512, 16, 8); },
         {capacity}, 0, u"22542"},
        {"card too small for the partition", 1000, [](KernelFusing& f, CardFaults&) { f.dlg->m_nTotalSectors = 9000; },
         {capacity}, 0, u"-265"},
        {"disk 0", 1000, [](KernelFusing& f, CardFaults&) { f.dlg->m_nDiskNumber = 0; }, {cannotWrite}, 0, u"10735"},
        {"short write", 1000, [](KernelFusing&, CardFaults& x) { x.shortWrite = 0; x.shortWriteBytes = 512; },
         {u"Only copy 1 sectors|ERROR", cannotWrite}, 1, u"10735"},
        {"read-back fails", 1000, [](KernelFusing&, CardFaults& x) { x.failRead = 0; },
         {u"Can not read disk for verification|ERROR"}, 1, u"10735"},
        {"read back differs", 1000, [](KernelFusing&, CardFaults& x) { x.corruptRead = 0; },
         {u"Kernel verfication error found!!|ERROR"}, 1, u"10735"},
    };
    InsertCard(t);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dlg->m_nDiskNumber = cardDisk;
        dlg->m_nTotalSectors = t;
        dlg->m_strKernelFrom = dlg->m_strKernelTo = dlg->m_strKernelDrive = u"old";
        SetPartitionSizes(512, 4, 8);
        boxes.clear();
        transfers.clear();
        CardFaults faults;
        if (c.setUp)
            c.setUp(*this, faults);
        UseTestCard(faults);
        Open(dlg->m_fileKernel, WriteImage("zImage", ImageBytes(c.imageLength)));

        testing::internal::CaptureStdout();
        EXPECT_EQ(dlg->FuseKernel(), 0);
        testing::internal::GetCapturedStdout();

        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(Writes().size(), c.writes);
        EXPECT_FALSE(dlg->m_fileKernel.IsOpen());
        EXPECT_EQ(dlg->m_strKernelTo.Str(), c.rangeTo ? std::u16string(c.rangeTo) : u"old");
        EXPECT_EQ(ControlText(IDC_KERNEL_TO), dlg->m_strKernelTo.Str());
    }
}
