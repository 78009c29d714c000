// Save and Load on a created main dialog: the file dialogs and message boxes
// answered by hooks, drives D and F given to image files so that the drive
// check after loading finds a card.
#include "platform/storage/linux/disk_namespace.h"
#include "platform/testing/ui_hooks.h"
#include "ui/VEXODlg.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using platform::testing::FileDialogAnswer;
using platform::testing::FileDialogCall;
using platform::testing::MessageBoxCall;

namespace {

constexpr const char16_t* kFilter = u"Image (*.dat)|*.dat|All(*.*)|*.*||";
constexpr const char16_t* kExampleText =
    u"2 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin D:\\images\\zImage  D:\\images\\rootfs.img";

// Drive D: 32 MiB card, drive F: 16 MiB card.
constexpr std::uint64_t kDriveDBytes = 32u << 20;
constexpr std::uint64_t kDriveFBytes = 16u << 20;

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16Le(std::u16string_view text) {
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// The text, little-endian, zero-filled to the file's 2048 bytes.
Bytes SettingsFile(std::u16string_view text) {
    Bytes bytes = Utf16Le(text);
    bytes.resize(2048, 0);
    return bytes;
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::u16string U16(const fs::path& path) { return path.u16string(); }

std::u16string Decimal(int value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// Whether this process still has path open.
bool IsOpen(const fs::path& path) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const fs::path target = fs::read_symlink(entry.path(), error);
        if (!error && target == path)
            return true;
    }
    return false;
}

class SettingsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("strovane-settings-" + std::to_string(getpid()));
        fs::create_directories(s_dir);
        for (auto [letter, size] : {std::pair{'D', kDriveDBytes}, std::pair{'F', kDriveFBytes}}) {
            const fs::path image = s_dir / (std::string("card-") + letter + ".img");
            std::ofstream(image, std::ios::binary).close();
            fs::resize_file(image, size);
            const std::string error = platform::storage::DiskNamespace::Current().AddImageDrive(letter, image);
            ASSERT_EQ(error, "") << letter;
        }
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    void SetUp() override {
        platform::testing::SetMessageBoxHook([this](const MessageBoxCall& call) {
            m_boxes.push_back(call);
            return IDOK;
        });
        platform::testing::SetFileDialogHook([this](const FileDialogCall& call) {
            m_fileDialogs.push_back(call);
            return m_answer;
        });
        m_dlg = std::make_unique<CVEXODlg>();
        ASSERT_TRUE(m_dlg->Create(IDD_VEXO_DIALOG));
        m_file = s_dir / (::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string(".dat"));
        fs::remove(m_file);
    }

    void TearDown() override {
        m_dlg.reset();
        platform::testing::SetMessageBoxHook(nullptr);
        platform::testing::SetFileDialogHook(nullptr);
    }

    void Save(const fs::path& path) {
        m_answer = {IDOK, U16(path)};
        m_dlg->OnBnClickedSave();
    }
    void Load(const fs::path& path) {
        m_answer = {IDOK, U16(path)};
        m_dlg->OnBnClickedLoad();
    }

    // The example's choices: drive F, 8 KB, 1 KB, 512 KB, 4 MB, 8 MB, start 100.
    void ChooseExample() {
        CVEXODlg& d = *m_dlg;
        d.m_cbDrive.SetCurSel(2);
        d.m_cbSramSize.SetCurSel(1);
        d.m_cbEfuseSize.SetCurSel(0);
        d.m_cbBootloaderUnit.SetCurSel(0);
        d.m_cbKernelUnit.SetCurSel(1);
        d.m_cbRootfsUnit.SetCurSel(1);
        d.m_nBootloaderPartSize = 512;
        d.m_nKernelPartSize = 4;
        d.m_nRootfsPartSize = 8;
        d.m_nRootfsStartSector = 100;
        d.m_strBootloaderPath = u"D:\\images\\boot.bin";
        d.m_strKernelPath = u"D:\\images\\zImage";
        d.m_strCramfsPath = u"";
        d.m_strRootfsPath = u"D:\\images\\rootfs.img";
    }

    // Choices unlike anything a test file holds, to see what loading changes.
    void ChooseOther() {
        CVEXODlg& d = *m_dlg;
        d.m_cbDrive.SetCurSel(1);
        d.m_cbSramSize.SetCurSel(3);
        d.m_cbEfuseSize.SetCurSel(1);
        d.m_cbBootloaderUnit.SetCurSel(1);
        d.m_cbKernelUnit.SetCurSel(0);
        d.m_cbRootfsUnit.SetCurSel(0);
        d.m_nBl1Size = 32768;
        d.m_nEfuseSize = 2048;
        d.m_nBootloaderUnit = 1048576;
        d.m_nKernelUnit = 1024;
        d.m_nRootfsUnit = 1024;
        d.m_nBootloaderPartSize = 7;
        d.m_nKernelPartSize = 9;
        d.m_nRootfsPartSize = 11;
        d.m_nRootfsStartSector = 13;
        d.m_strBootloaderPath = u"/o/a";
        d.m_strKernelPath = u"/o/b";
        d.m_strCramfsPath = u"/o/c";
        d.m_strRootfsPath = u"/o/d";
    }

    std::array<int, 6> Selections() const {
        const CVEXODlg& d = *m_dlg;
        return {d.m_cbDrive.GetCurSel(),      d.m_cbSramSize.GetCurSel(),   d.m_cbEfuseSize.GetCurSel(),
                d.m_cbBootloaderUnit.GetCurSel(), d.m_cbKernelUnit.GetCurSel(), d.m_cbRootfsUnit.GetCurSel()};
    }
    std::array<DWORD, 9> Numbers() const {
        const CVEXODlg& d = *m_dlg;
        return {d.m_nBootloaderPartSize, d.m_nKernelPartSize, d.m_nRootfsPartSize,
                d.m_nRootfsStartSector,  d.m_nBl1Size,        d.m_nEfuseSize,
                d.m_nBootloaderUnit,     d.m_nKernelUnit,     d.m_nRootfsUnit};
    }
    std::array<std::u16string, 4> Paths() const {
        const CVEXODlg& d = *m_dlg;
        return {d.m_strBootloaderPath.Str(), d.m_strKernelPath.Str(), d.m_strCramfsPath.Str(),
                d.m_strRootfsPath.Str()};
    }
    std::u16string ControlText(int id) const {
        CString text;
        m_dlg->GetDlgItem(id)->GetWindowText(text);
        return text.Str();
    }

    static inline fs::path s_dir;
    std::unique_ptr<CVEXODlg> m_dlg;
    fs::path m_file;
    FileDialogAnswer m_answer;
    std::vector<MessageBoxCall> m_boxes;
    std::vector<FileDialogCall> m_fileDialogs;
};

TEST_F(SettingsDialogTest, SavesTheExampleByteForByteSilently) {
    ChooseExample();
    Save(m_file);

    EXPECT_EQ(ReadAll(m_file), SettingsFile(kExampleText));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_FALSE(IsOpen(m_file));
    ASSERT_EQ(m_fileDialogs.size(), 1u);
    const FileDialogCall& call = m_fileDialogs[0];
    EXPECT_FALSE(call.open);
    EXPECT_EQ(call.defExt, u"dat");
    EXPECT_EQ(call.fileName, u"");
    EXPECT_EQ(call.flags, 0u);  // no overwrite question
    EXPECT_EQ(call.filter, kFilter);
}

TEST_F(SettingsDialogTest, TheHiddenButtonsRunSaveAndLoad) {
    ChooseExample();
    m_answer = {IDOK, U16(m_file)};
    m_dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE, BN_CLICKED), 0);
    EXPECT_EQ(ReadAll(m_file), SettingsFile(kExampleText));

    ChooseOther();
    m_dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOAD, BN_CLICKED), 0);
    EXPECT_EQ(m_dlg->m_nRootfsStartSector, 100u);
}

TEST_F(SettingsDialogTest, ExampleLoadsBackWithTheRootfsPathOneSlotUp) {
    ChooseExample();
    Save(m_file);
    ChooseOther();
    m_dlg->m_nSdhcReserve = 1024;
    Load(m_file);

    EXPECT_EQ(Selections(), (std::array<int, 6>{2, 1, 0, 0, 1, 1}));
    EXPECT_EQ(Numbers(), (std::array<DWORD, 9>{512, 4, 8, 100, 8192, 1024, 1024, 1048576, 1048576}));
    // The empty cramfs path was two spaces, which read as one separator.
    EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"D:\\images\\boot.bin", u"D:\\images\\zImage",
                                                       u"D:\\images\\rootfs.img", u"0"}));
    EXPECT_EQ(m_dlg->m_nSdhcReserve, 1024u);  // not part of the file

    // The drive check ran for F and the controls show what was loaded.
    EXPECT_EQ(m_dlg->m_nTotalSectors, kDriveFBytes / 512);
    EXPECT_EQ(m_dlg->m_strDriveSize.Str(), u"32768 sectors");
    EXPECT_EQ(m_dlg->m_nDiskNumber, platform::storage::DiskNamespace::Current().FindVolume('F')->extents[0].diskNumber);
    EXPECT_EQ(ControlText(IDC_DRIVE_SIZE), u"32768 sectors");
    EXPECT_EQ(ControlText(IDC_BOOTLOADER_PART_SIZE), u"512");
    EXPECT_EQ(ControlText(IDC_ROOTFS_START_SECTOR), u"100");
    EXPECT_EQ(ControlText(IDC_CRAMFS_PATH), u"D:\\images\\rootfs.img");
    EXPECT_EQ(ControlText(IDC_ROOTFS_PATH), u"0");

    EXPECT_TRUE(m_boxes.empty());
    EXPECT_FALSE(IsOpen(m_file));
    ASSERT_EQ(m_fileDialogs.size(), 2u);
    const FileDialogCall& call = m_fileDialogs[1];
    EXPECT_TRUE(call.open);
    EXPECT_EQ(call.defExt, u"dat");
    EXPECT_EQ(call.fileName, u"");
    EXPECT_EQ(call.flags, OFN_FILEMUSTEXIST);
    EXPECT_EQ(call.filter, kFilter);
}

TEST_F(SettingsDialogTest, NoDriveIsSavedAsMinusOneAndLoadsAsNoSelection) {
    ChooseExample();
    m_dlg->m_cbDrive.SetCurSel(-1);
    Save(m_file);
    EXPECT_EQ(ReadAll(m_file),
              SettingsFile(u"-1 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin D:\\images\\zImage  D:\\images\\rootfs.img"));

    ChooseOther();
    Load(m_file);
    EXPECT_EQ(m_dlg->m_cbDrive.GetCurSel(), CB_ERR);
    EXPECT_EQ(m_dlg->m_nRootfsStartSector, 100u);
    // The drive check's own message is the only one.
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, u"Choose SDMMC card drive");
    EXPECT_EQ(m_boxes[0].caption, u"ERROR");
    EXPECT_EQ(m_boxes[0].style, MB_OK);
    EXPECT_FALSE(IsOpen(m_file));
}

TEST_F(SettingsDialogTest, AllPathsEmptyEndInFourSpacesAndLoadAsZero) {
    ChooseExample();
    m_dlg->m_strBootloaderPath = u"";
    m_dlg->m_strKernelPath = u"";
    m_dlg->m_strRootfsPath = u"";
    Save(m_file);
    EXPECT_EQ(ReadAll(m_file), SettingsFile(u"2 1 0 512 0 4 1 8 1 100    "));

    ChooseOther();
    Load(m_file);
    EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"0", u"0", u"0", u"0"}));
}

TEST_F(SettingsDialogTest, LargestUnsignedValueTravelsAsMinusOne) {
    ChooseExample();
    m_dlg->m_nKernelPartSize = 4294967295u;
    Save(m_file);
    EXPECT_EQ(ReadAll(m_file),
              SettingsFile(u"2 1 0 512 0 -1 1 8 1 100 D:\\images\\boot.bin D:\\images\\zImage  D:\\images\\rootfs.img"));

    ChooseOther();
    Load(m_file);
    EXPECT_EQ(m_dlg->m_nKernelPartSize, 4294967295u);
    EXPECT_EQ(ControlText(IDC_KERNEL_PART_SIZE), u"4294967295");
}

TEST_F(SettingsDialogTest, UnreadableTextSelectsFirstItemsAndChecksDriveD) {
    const Bytes files[] = {Bytes{}, SettingsFile(u"x 1 0 512 0 4 1 8 1 100 a b c d"), Utf16Le(u"F")};
    for (const Bytes& content : files) {
        WriteAll(m_file, content);
        ChooseOther();
        m_boxes.clear();
        Load(m_file);
        EXPECT_EQ(Selections(), (std::array<int, 6>{0, 0, 0, 0, 0, 0})) << content.size();
        // Sizes unchanged; the derived members follow the first items.
        EXPECT_EQ(Numbers(), (std::array<DWORD, 9>{7, 9, 11, 13, 4096, 1024, 1024, 1024, 1024})) << content.size();
        EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"0", u"0", u"0", u"0"}));
        EXPECT_EQ(m_dlg->m_strDriveSize.Str(), u"65536 sectors");
        EXPECT_EQ(m_dlg->m_nTotalSectors, kDriveDBytes / 512);
        EXPECT_TRUE(m_boxes.empty());
    }
}

TEST_F(SettingsDialogTest, BytesAfterTheFirst2048AreIgnored) {
    // 1024 code units of text without a NUL, then more text in the file.
    std::u16string text = kExampleText;
    text.resize(1024, u' ');
    Bytes content = Utf16Le(text);
    const Bytes extra = Utf16Le(u"X:\\extra 1 2 3");
    content.insert(content.end(), extra.begin(), extra.end());
    WriteAll(m_file, content);

    ChooseOther();
    Load(m_file);
    EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"D:\\images\\boot.bin", u"D:\\images\\zImage",
                                                       u"D:\\images\\rootfs.img", u"0"}));
}

TEST_F(SettingsDialogTest, LongTextIsCutTo1023CodeUnits) {
    ChooseExample();
    const std::u16string kernel = u"/k/" + std::u16string(1200, u'k');
    m_dlg->m_strKernelPath = kernel.c_str();
    Save(m_file);
    const std::u16string full = u"2 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin " + kernel;
    EXPECT_EQ(ReadAll(m_file), SettingsFile(full.substr(0, 1023)));

    // The cut path does not fit a 127-unit slot: passed over, it and the
    // slots after it keep "0".
    ChooseOther();
    Load(m_file);
    EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"D:\\images\\boot.bin", u"0", u"0", u"0"}));
}

TEST_F(SettingsDialogTest, PathLongerThanASlotLeavesItsSlotAtZero) {
    const std::u16string fits = u"/" + std::u16string(126, u'f');
    const std::u16string tooLong = u"/" + std::u16string(127, u'l');
    WriteAll(m_file, SettingsFile(u"2 1 0 512 0 4 1 8 1 100 " + tooLong + u" " + fits + u" /c /r"));
    ChooseOther();
    Load(m_file);
    EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"0", fits, u"/c", u"/r"}));
}

TEST_F(SettingsDialogTest, SelectionOutsideItsListLeavesNoSelectionAndZero) {
    WriteAll(m_file, SettingsFile(u"2 5 2 512 7 4 -1 8 2 100 a b c d"));
    ChooseOther();
    Load(m_file);
    EXPECT_EQ(Selections(), (std::array<int, 6>{2, CB_ERR, CB_ERR, CB_ERR, CB_ERR, CB_ERR}));
    EXPECT_EQ(Numbers(), (std::array<DWORD, 9>{512, 4, 8, 100, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(SettingsDialogTest, LoadedMembersAgreeWithWhatTheListHandlersStore) {
    for (int position = -1; position <= 5; ++position) {
        const std::u16string n = Decimal(position);
        WriteAll(m_file, SettingsFile(u"0 " + n + u" " + n + u" 1 " + n + u" 1 " + n + u" 1 " + n + u" 1"));
        ChooseOther();
        Load(m_file);
        const auto loaded = Numbers();
        m_dlg->OnCbnSelchangeSramSize();
        m_dlg->OnCbnSelchangeEfuseSize();
        m_dlg->OnCbnSelchangeBootloaderUnit();
        m_dlg->OnCbnSelchangeKernelUnit();
        m_dlg->OnCbnSelchangeRootfsUnit();
        EXPECT_EQ(Numbers(), loaded) << "position " << position;
    }
}

TEST_F(SettingsDialogTest, CancelledDialogsDoNothing) {
    ChooseOther();
    m_answer = {IDCANCEL, U16(m_file)};
    m_dlg->OnBnClickedSave();
    EXPECT_FALSE(fs::exists(m_file));

    WriteAll(m_file, SettingsFile(kExampleText));
    m_dlg->OnBnClickedLoad();
    EXPECT_EQ(m_dlg->m_nRootfsStartSector, 13u);
    EXPECT_EQ(m_dlg->m_cbDrive.GetCurSel(), 1);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(SettingsDialogTest, FileThatCannotBeReadChangesNothing) {
    // No such file, and a directory (it may open, but reading fails). With
    // no drive selected, a drive check would show a box.
    const fs::path unreadable[] = {s_dir / "missing.dat", s_dir};
    for (const fs::path& path : unreadable) {
        ChooseOther();
        m_dlg->m_cbDrive.SetCurSel(-1);
        const auto selections = Selections();
        const auto numbers = Numbers();
        Load(path);
        EXPECT_EQ(Selections(), selections) << path;
        EXPECT_EQ(Numbers(), numbers) << path;
        EXPECT_EQ(Paths(), (std::array<std::u16string, 4>{u"/o/a", u"/o/b", u"/o/c", u"/o/d"})) << path;
        EXPECT_TRUE(m_boxes.empty()) << path;
        EXPECT_FALSE(IsOpen(path)) << path;
    }
}

TEST_F(SettingsDialogTest, FailedSavesAreSilentAndCloseTheFile) {
    ChooseExample();
    // A file in a folder that does not exist cannot be created.
    Save(s_dir / "no-such-folder" / "x.dat");
    EXPECT_FALSE(fs::exists(s_dir / "no-such-folder"));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(SettingsDialogTest, WriteCutShortLeavesWhatWasWrittenAndClosesTheFile) {
    // A file-size limit of 1000 bytes stops the write part way.
    ChooseExample();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    Save(m_file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    Bytes expected = SettingsFile(kExampleText);
    expected.resize(1000);
    EXPECT_EQ(ReadAll(m_file), expected);
    EXPECT_FALSE(IsOpen(m_file));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(SettingsDialogTest, SaveWritesTheMembersNotUntakenTyping) {
    ChooseExample();
    m_dlg->GetDlgItem(IDC_BOOTLOADER_PART_SIZE)->SetWindowText(u"999");
    m_dlg->GetDlgItem(IDC_KERNEL_PATH)->SetWindowText(u"/typed");
    Save(m_file);
    EXPECT_EQ(ReadAll(m_file), SettingsFile(kExampleText));
}

TEST_F(SettingsDialogTest, SavingReplacesAnExistingFileWithoutAQuestion) {
    WriteAll(m_file, Bytes(5000, 0x41));
    ChooseExample();
    Save(m_file);
    EXPECT_EQ(ReadAll(m_file), SettingsFile(kExampleText));
    EXPECT_TRUE(m_boxes.empty());
}

} // namespace
