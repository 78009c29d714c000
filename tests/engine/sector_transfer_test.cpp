// Runs of sectors to and from the card: disk 0 refused, 64-bit offsets, the
// short-write box, the read diagnostic, and a real round trip through the
// unbuffered read path.
#include "card_fixture.h"

#include <cstring>

using namespace enginetest;

using SectorTransfer = CardTest;

TEST_F(SectorTransfer, BuffersAreAlignedForUnbufferedReads) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(g_WriteBuffer) % 4096, 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(g_VerifyBuffer) % 4096, 0u);
    EXPECT_EQ(sizeof g_WriteBuffer, 8388608u);
    EXPECT_EQ(sizeof g_VerifyBuffer, 8388608u);
}

TEST_F(SectorTransfer, RoundTripOnTheCardFile) {
    InsertCard(40000);
    const std::vector<BYTE> bytes = ImageBytes(kChunk);
    std::memcpy(g_WriteBuffer, bytes.data(), bytes.size());
    std::memset(g_VerifyBuffer, 0, kChunk);

    ASSERT_EQ(dlg->WriteSectors(100, 16384, g_WriteBuffer), 1);
    ASSERT_EQ(dlg->ReadSectors(100, 16384, g_VerifyBuffer), 1);
    EXPECT_EQ(std::memcmp(g_VerifyBuffer, bytes.data(), kChunk), 0);
    EXPECT_EQ(CardAt(100, kChunk), bytes);
    EXPECT_EQ(DataRanges(cardPath), (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{100 * kSector / 4096 * 4096, (100 * kSector + kChunk + 4095) / 4096 * 4096}}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SectorTransfer, DiskZeroIsNeverWritten) {
    InsertCard(1000);
    int opened = 0;
    platform::storage::DiskNamespace::Current().SetOpenerForTests(
        [&opened](const platform::storage::Disk&, bool, bool) -> std::unique_ptr<platform::storage::RawDevice> {
            ++opened;
            return nullptr;
        });
    dlg->m_nDiskNumber = 0;
    EXPECT_EQ(dlg->WriteSectors(0, 1, g_WriteBuffer), 0);
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SectorTransfer, OffsetsAreSixtyFourBits) {
    InsertCard(8388608 + 64);
    UseTestCard();
    std::memset(g_WriteBuffer, 0x3C, 512);
    ASSERT_EQ(dlg->WriteSectors(8388608, 1, g_WriteBuffer), 1);
    ASSERT_EQ(dlg->ReadSectors(8388608, 1, g_VerifyBuffer), 1);
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_EQ(transfers[0].offset, 4294967296u);
    EXPECT_EQ(transfers[1].offset, 4294967296u);
    EXPECT_EQ(CardAt(8388608, 512), std::vector<BYTE>(512, 0x3C));
}

TEST_F(SectorTransfer, AStartBelowSectorZeroFailsAtTheDevice) {
    InsertCard(1000);
    UseTestCard();
    testing::internal::CaptureStdout();
    EXPECT_EQ(dlg->WriteSectors(0xFFFFFFFFu, 1, g_WriteBuffer), 0);
    EXPECT_EQ(dlg->ReadSectors(0xFFFFFFFFu, 1, g_VerifyBuffer), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Error = 27,");  // the device's "sector not found"
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SectorTransfer, ShortWriteIsReportedInWholeSectors) {
    InsertCard(40000);
    CardFaults faults;
    faults.shortWrite = 0;
    faults.shortWriteBytes = 4096;
    UseTestCard(faults);
    EXPECT_EQ(dlg->WriteSectors(0, 16384, g_WriteBuffer), 0);
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Only copy 8 sectors|ERROR"});
    EXPECT_EQ(boxes.front().style, MB_OK);
}

TEST_F(SectorTransfer, FailedReadPrintsTheSystemErrorOnly) {
    InsertCard(1000);
    CardFaults faults;
    faults.failRead = 0;
    faults.failReadError = 23;
    UseTestCard(faults);
    testing::internal::CaptureStdout();
    EXPECT_EQ(dlg->ReadSectors(0, 2, g_VerifyBuffer), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error = 23,");
    EXPECT_TRUE(boxes.empty());
}

// A read that delivers fewer bytes than asked would leave the end of the
// verification buffer holding an earlier read, which could match what was
// written and hide a card that was never read.
TEST_F(SectorTransfer, ShortReadCountsAsFailure) {
    InsertCard(1000);
    CardFaults faults;
    faults.shortRead = 0;
    UseTestCard(faults);
    testing::internal::CaptureStdout();
    EXPECT_EQ(dlg->ReadSectors(0, 16, g_VerifyBuffer), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(boxes.empty());
}
