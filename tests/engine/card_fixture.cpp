#include "card_fixture.h"

#include "platform/text/wide_format.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace enginetest {

using platform::storage::DiskNamespace;
using platform::storage::RawDevice;

std::u16string U16(const std::string& text) {
    return platform::text::FromUtf8(text);
}

std::vector<BYTE> ImageBytes(std::size_t length, std::uint32_t seed) {
    std::vector<BYTE> bytes(length);
    std::uint32_t state = seed * 2654435761u + 12345;
    for (BYTE& b : bytes) {
        state = state * 1103515245u + 12345;
        b = static_cast<BYTE>(1 + (state >> 16) % 255);
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

void WriteSparseImage(const std::string& path, std::uint64_t length) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(length)), 0);
    BYTE mark = 1;
    for (std::uint64_t offset = 0; offset < length; offset += kChunk, ++mark)
        ASSERT_EQ(::pwrite(fd, &mark, 1, static_cast<off_t>(offset)), 1);
    if (length > 0) {
        const BYTE last = 0xEE;
        ASSERT_EQ(::pwrite(fd, &last, 1, static_cast<off_t>(length - 1)), 1);
    }
    ::close(fd);
}

std::vector<BYTE> ReadFileAt(const std::string& path, std::uint64_t offset, std::size_t length) {
    std::vector<BYTE> bytes(length);
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0) << path;
    if (fd < 0)
        return {};
    const ssize_t got = ::pread(fd, bytes.data(), length, static_cast<off_t>(offset));
    ::close(fd);
    EXPECT_EQ(got, static_cast<ssize_t>(length)) << path << " at " << offset;
    return bytes;
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> DataRanges(const std::string& path) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return ranges;
    off_t offset = 0;
    for (;;) {
        const off_t data = ::lseek(fd, offset, SEEK_DATA);
        if (data < 0)
            break;
        const off_t hole = ::lseek(fd, data, SEEK_HOLE);
        ranges.emplace_back(data, hole);
        offset = hole;
    }
    ::close(fd);
    return ranges;
}

void ExpectDataOnlyIn(const std::string& cardPath, const std::vector<SectorRun>& runs) {
    constexpr std::uint64_t kBlock = 4096;
    for (const auto& [first, end] : DataRanges(cardPath)) {
        for (std::uint64_t block = first / kBlock * kBlock; block < end; block += kBlock) {
            const bool written = std::any_of(runs.begin(), runs.end(), [block](const SectorRun& run) {
                return block < (run.first + run.count) * kSector && run.first * kSector < block + kBlock;
            });
            EXPECT_TRUE(written) << "data at byte " << block << " of the card";
        }
    }
}

namespace {

// A card that moves bytes with pread/pwrite on the card file, records each
// transfer in the fixture and injects the faults it was given.
struct TestCardState {
    std::string path;
    std::uint64_t size = 0;
    CardFaults faults;
    int reads = 0;
    int writes = 0;
    std::vector<Transfer>* log = nullptr;
    std::function<void(const Transfer&)>* after = nullptr;
};

class TestCard : public RawDevice {
public:
    TestCard(std::shared_ptr<TestCardState> state, bool forWrite)
        : m_state(std::move(state)), m_fd(::open(m_state->path.c_str(), forWrite ? O_RDWR : O_RDONLY)) {}
    ~TestCard() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    std::uint32_t ReadAt(std::uint64_t offset, void* buffer, std::uint32_t length, std::uint32_t* done) override {
        const int index = m_state->reads++;
        *done = 0;
        if (index == m_state->faults.failRead)
            return m_state->faults.failReadError;
        if (offset >= m_state->size)
            return ERROR_SECTOR_NOT_FOUND;
        std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, m_state->size - offset));
        if (index == m_state->faults.shortRead)
            count /= 2;
        if (::pread(m_fd, buffer, count, static_cast<off_t>(offset)) != static_cast<ssize_t>(count))
            return ERROR_READ_FAULT;
        if (index == m_state->faults.corruptRead)
            static_cast<BYTE*>(buffer)[count / 3] ^= 0x5A;
        *done = count;
        Record({false, offset, length});
        return 0;
    }

    std::uint32_t WriteAt(std::uint64_t offset, const void* buffer, std::uint32_t length, std::uint32_t* done) override {
        const int index = m_state->writes++;
        *done = 0;
        if (offset >= m_state->size)
            return ERROR_DISK_FULL;
        std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, m_state->size - offset));
        if (index == m_state->faults.shortWrite)
            count = std::min(count, m_state->faults.shortWriteBytes);
        if (::pwrite(m_fd, buffer, count, static_cast<off_t>(offset)) != static_cast<ssize_t>(count))
            return ERROR_WRITE_FAULT;
        *done = count;
        Record({true, offset, length});
        return 0;
    }

    std::uint64_t SizeBytes() const override { return m_state->size; }

private:
    void Record(const Transfer& transfer) {
        m_state->log->push_back(transfer);
        if (*m_state->after)
            (*m_state->after)(transfer);
    }

    std::shared_ptr<TestCardState> m_state;
    int m_fd;
};

} // namespace

void CardTest::SetUp() {
    char pattern[] = "/tmp/strovane-engine-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    m_dir = pattern;
    cardPath = m_dir + "/card.img";

    platform::testing::SetMessageBoxHook([this](const platform::testing::MessageBoxCall& call) {
        boxes.push_back(call);
        return IDOK;
    });
    dlg = std::make_unique<CVEXODlg>();
    ASSERT_TRUE(dlg->Create(IDD_VEXO_DIALOG));
}

void CardTest::TearDown() {
    DiskNamespace::Current().SetOpenerForTests(nullptr);
    DiskNamespace::Current().RemoveImageDrives();
    dlg.reset();
    platform::testing::SetMessageBoxHook(nullptr);
    afterTransfer = nullptr;
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

void CardTest::InsertCard(DWORD sectors) {
    {
        std::ofstream create(cardPath, std::ios::binary | std::ios::trunc);
    }
    std::filesystem::resize_file(cardPath, std::uint64_t{sectors} * kSector);
    DiskNamespace& disks = DiskNamespace::Current();
    disks.RemoveImageDrives();
    const std::string error = disks.AddImageDrive('E', cardPath);
    ASSERT_EQ(error, "");
    const platform::storage::Volume* volume = disks.FindVolume('E');
    ASSERT_NE(volume, nullptr);
    ASSERT_FALSE(volume->extents.empty());
    cardDisk = volume->extents.front().diskNumber;
    ASSERT_NE(cardDisk, 0);

    dlg->m_cbDrive.SetCurSel(1);  // "E"
    dlg->m_nTotalSectors = sectors;
    dlg->m_nDiskNumber = cardDisk;
}

void CardTest::UseTestCard(CardFaults faults) {
    auto state = std::make_shared<TestCardState>();
    state->path = cardPath;
    state->size = std::filesystem::file_size(cardPath);
    state->faults = faults;
    state->log = &transfers;
    state->after = &afterTransfer;
    DiskNamespace::Current().SetOpenerForTests(
        [state](const platform::storage::Disk&, bool forWrite, bool) -> std::unique_ptr<RawDevice> {
            return std::make_unique<TestCard>(state, forWrite);
        });
}

std::string CardTest::WriteImage(const std::string& name, const std::vector<BYTE>& bytes) {
    const std::string path = ImagePath(name);
    WriteWholeFile(path, bytes);
    return path;
}

std::vector<BYTE> CardTest::CardAt(std::uint64_t sector, std::size_t length) const {
    return ReadFileAt(cardPath, sector * kSector, length);
}

std::vector<Transfer> CardTest::Writes() const {
    std::vector<Transfer> writes;
    std::copy_if(transfers.begin(), transfers.end(), std::back_inserter(writes), [](const Transfer& t) { return t.write; });
    return writes;
}

std::vector<Transfer> CardTest::Reads() const {
    std::vector<Transfer> reads;
    std::copy_if(transfers.begin(), transfers.end(), std::back_inserter(reads), [](const Transfer& t) { return !t.write; });
    return reads;
}

std::vector<std::u16string> CardTest::Boxes() const {
    std::vector<std::u16string> texts;
    for (const auto& box : boxes)
        texts.push_back(box.text + u"|" + box.caption);
    return texts;
}

std::u16string CardTest::ControlText(int id) const {
    CString text;
    dlg->GetDlgItem(id)->GetWindowText(text);
    return text.Str();
}

void CardTest::Open(CFile& file, const std::string& path) {
    ASSERT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead | CFile::shareDenyNone)) << path;
}

} // namespace enginetest
