// The root file-system step: 8 MiB chunks from the typed start sector, each
// written whole, read back and compared; the progress shown on screen after
// every chunk; images of 2 GiB or more refused before anything is written.
#include "card_fixture.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace enginetest;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

std::vector<BYTE> PaddedToChunks(std::vector<BYTE> image) {
    image.resize((image.size() + kChunk - 1) / kChunk * kChunk, 0);
    return image;
}

} // namespace

class RootfsFusing : public CardTest {
public:
    void SetStartSector(DWORD sector) {
        dlg->m_nRootfsStartSector = sector;
        dlg->UpdateData(FALSE);
    }
    int FuseImage(const std::string& path) {
        Open(dlg->m_fileRootfs, path);
        return dlg->FuseRootfs();
    }
};

TEST_F(RootfsFusing, EmptyImageWritesNothing) {
    InsertCard(40000);
    UseTestCard();
    dlg->m_strProgress = u"old";
    SetStartSector(100);
    EXPECT_EQ(FuseImage(WriteImage("rootfs.img", {})), 1);
    EXPECT_TRUE(transfers.empty());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(dlg->m_fileRootfs.IsOpen());
    EXPECT_EQ(dlg->m_strProgress, u"old");
    EXPECT_EQ(dlg->m_nStartSector, 100u);
}

TEST_F(RootfsFusing, ChunksAreWrittenWholeWithZerosPastTheImage) {
    InsertCard(40000);
    UseTestCard();
    const DWORD start = 100;
    const std::pair<std::size_t, std::size_t> cases[] = {{1, 1}, {kChunk, 1}, {kChunk + 1, 2}};
    for (const auto& [length, chunks] : cases) {
        SCOPED_TRACE(length);
        transfers.clear();
        SetStartSector(start);
        const std::vector<BYTE> image = ImageBytes(length, static_cast<std::uint32_t>(length));
        std::memset(g_WriteBuffer, 0xAA, sizeof g_WriteBuffer);

        ASSERT_EQ(FuseImage(WriteImage("rootfs.img", image)), 1);
        EXPECT_EQ(dlg->m_strProgress, u"  100 %");
        ASSERT_EQ(transfers.size(), 2 * chunks);
        for (std::size_t i = 0; i < chunks; ++i) {
            const std::uint64_t offset = (start + 16384 * i) * kSector;
            EXPECT_TRUE(transfers[2 * i].write && transfers[2 * i].offset == offset && transfers[2 * i].length == kChunk);
            EXPECT_TRUE(!transfers[2 * i + 1].write && transfers[2 * i + 1].offset == offset && transfers[2 * i + 1].length == kChunk);
        }
        EXPECT_EQ(CardAt(start, chunks * kChunk), PaddedToChunks(image));
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RootfsFusing, StartSectorIsTakenAsTypedAndZeroIsAccepted) {
    InsertCard(40000);
    UseTestCard();
    for (const char16_t* typed : {u"2048", u"0"}) {
        transfers.clear();
        dlg->m_nRootfsStartSector = 555;
        dlg->GetDlgItem(IDC_ROOTFS_START_SECTOR)->SetWindowText(typed);
        ASSERT_EQ(FuseImage(WriteImage("rootfs.img", ImageBytes(1000))), 1);
        const DWORD expected = typed[0] == u'0' ? 0 : 2048;
        EXPECT_EQ(dlg->m_nRootfsStartSector, expected);
        EXPECT_EQ(dlg->m_nStartSector, expected);
        ASSERT_FALSE(transfers.empty());
        EXPECT_EQ(transfers.front().offset, expected * kSector);
    }
}

TEST_F(RootfsFusing, ProgressShowsOnScreenAfterEveryChunk) {
    InsertCard(120000);
    UseTestCard();
    dlg->ShowWindow(SW_SHOW);
    QWidget* progressBox = dlg->GetDlgItem(IDC_PROGRESS)->GetWidget();
    ASSERT_NE(progressBox, nullptr);
    PaintCounter counter;
    progressBox->installEventFilter(&counter);

    struct Case {
        std::uint64_t length;
        std::vector<std::u16string> shown;  // before each chunk's write, then at the end
    };
    const Case cases[] = {
        {3ull * kChunk - 5, {u"", u"  33 %", u"  66 %", u"  100 %"}},
        {7ull * kChunk, {u"", u"  14 %", u"  28 %", u"  42 %", u"  57 %", u"  71 %", u"  85 %", u"  100 %"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        dlg->m_strProgress.Empty();
        SetStartSector(0);
        std::vector<std::u16string> shown;
        std::vector<int> paints;
        afterTransfer = [&](const Transfer& t) {
            if (t.write) {
                shown.push_back(ControlText(IDC_PROGRESS));
                paints.push_back(counter.paints);
            }
        };
        const std::string path = ImagePath("rootfs.img");
        WriteSparseImage(path, c.length);
        ASSERT_EQ(FuseImage(path), 1);
        afterTransfer = nullptr;
        shown.push_back(ControlText(IDC_PROGRESS));
        paints.push_back(counter.paints);
        EXPECT_EQ(shown, c.shown);
        // The box was painted anew between every two chunks, not only at the end.
        for (std::size_t i = 1; i < paints.size(); ++i)
            EXPECT_GT(paints[i], paints[i - 1]) << "chunk " << i;
    }
    progressBox->removeEventFilter(&counter);
}

TEST_F(RootfsFusing, ChunkPastTheCardEndLeavesEarlierChunksVerified) {
    InsertCard(40000);  // room for two chunks and 7232 sectors
    UseTestCard();
    SetStartSector(0);
    const std::vector<BYTE> image = ImageBytes(3 * kChunk - 100);
    EXPECT_EQ(FuseImage(WriteImage("rootfs.img", image)), 0);
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Only copy 7232 sectors|ERROR", u"Can not write image file|ERROR"}));
    EXPECT_EQ(dlg->m_strProgress, u"  66 %");
    EXPECT_EQ(Reads().size(), 2u);
    EXPECT_EQ(CardAt(0, 2 * kChunk), std::vector<BYTE>(image.begin(), image.begin() + 2 * kChunk));
    EXPECT_FALSE(dlg->m_fileRootfs.IsOpen());
}

TEST_F(RootfsFusing, FailuresShowTheirMessageAndCloseTheFile) {
    struct Case {
        const char* what;
        CardFaults faults;
        bool diskZero;
        std::u16string box;
        const char16_t* progress;
    };
    CardFaults failSecondRead;
    failSecondRead.failRead = 1;
    CardFaults corruptSecondRead;
    corruptSecondRead.corruptRead = 1;
    const Case cases[] = {
        {"disk 0", {}, true, u"Can not write image file|ERROR", u"old"},
        {"read-back fails", failSecondRead, false, u"Can not read disk for verification|ERROR", u"  33 %"},
        {"read back differs", corruptSecondRead, false, u"Android RootFS verfication error found!!|ERROR", u"  33 %"},
    };
    InsertCard(60000);
    const std::string path = ImagePath("rootfs.img");
    WriteSparseImage(path, 3 * kChunk);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        transfers.clear();
        UseTestCard(c.faults);
        dlg->m_nDiskNumber = c.diskZero ? 0 : cardDisk;
        dlg->m_strProgress = u"old";
        SetStartSector(0);
        testing::internal::CaptureStdout();
        EXPECT_EQ(FuseImage(path), 0);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(Boxes(), std::vector<std::u16string>{c.box});
        EXPECT_EQ(dlg->m_strProgress, c.progress);
        EXPECT_FALSE(dlg->m_fileRootfs.IsOpen());
    }
}

TEST_F(RootfsFusing, ImagesOf2GiBOrMoreAreRefusedBeforeAnythingIsWritten) {
    InsertCard(40000);
    UseTestCard();
    for (std::uint64_t length : {2147483648ull, 4294967296ull + 1000}) {
        SCOPED_TRACE(length);
        boxes.clear();
        const std::string path = ImagePath("huge.img");
        {
            std::ofstream create(path, std::ios::binary | std::ios::trunc);
        }
        std::filesystem::resize_file(path, length);
        SetStartSector(0);
        EXPECT_EQ(FuseImage(path), 0);
        EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Check the partition and file size|ERROR"});
        EXPECT_TRUE(transfers.empty());
        EXPECT_FALSE(dlg->m_fileRootfs.IsOpen());
    }
}
