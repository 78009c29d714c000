// CFile: which paths open as image files, reading, and the file exception a
// system error raises, with its standard error text and box.
#include "platform/classlib/afx.h"
#include "platform/testing/file_faults.h"
#include "platform/testing/ui_hooks.h"
#include "storage/fake_system.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>

namespace {

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

int OpenDescriptors() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    while (::readdir(dir) != nullptr)
        ++count;
    ::closedir(dir);
    return count;
}

class CFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(path, std::ios::binary) << "0123456789abcdef";
    }
    void TearDown() override { platform::testing::SetFileReadFaultHook({}); }
    fake::FakeSystem dir;
    std::string path = dir.Root() + "/zImage";
};

TEST_F(CFileTest, OnlyRegularFilesAndBlockDevicesOpen) {
    const std::string fifo = dir.Root() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::u16string name;
        CFileException::Cause cause;
    };
    const Case cases[] = {
        {u"", CFileException::badPath},
        {U16(dir.Root() + "/missing.bin"), CFileException::fileNotFound},
        {U16(path + "/below-a-file"), CFileException::badPath},
        {U16(dir.Root()), CFileException::accessDenied},
        {U16(fifo), CFileException::invalidFile},  // refused at once, not after a writer comes
        {u"/dev/null", CFileException::invalidFile},
    };
    for (const Case& c : cases) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.name.c_str(), CFile::modeRead | CFile::shareDenyNone, &error))
            << std::string(c.name.begin(), c.name.end());
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(error.m_cause, c.cause) << std::string(c.name.begin(), c.name.end());
    }
    CFile file;
    EXPECT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(file.GetFilePath().Str(), U16(path));
}

TEST_F(CFileTest, ReadsLengthAndSeeksToTheStart) {
    CFile file;
    ASSERT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 16u);
    char buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, 10), 10u);
    EXPECT_EQ(file.Read(buffer, 32), 6u);  // fewer at the end
    EXPECT_EQ(std::string(buffer, 6), "abcdef");
    EXPECT_EQ(file.Read(buffer, 32), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
}

TEST_F(CFileTest, ClosesOnEveryPath) {
    const int before = OpenDescriptors();
    {
        CFile file;
        ASSERT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead));
        EXPECT_EQ(OpenDescriptors(), before + 1);
    }
    EXPECT_EQ(OpenDescriptors(), before) << "the destructor closes";
    CFile file;
    ASSERT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead));
    ASSERT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead));  // opening again closes the first
    EXPECT_EQ(OpenDescriptors(), before + 1);
    file.Close();
    file.Close();
    EXPECT_EQ(OpenDescriptors(), before);
    char byte;
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
    EXPECT_THROW(file.GetLength(), CFileException);
}

TEST_F(CFileTest, AFailingReadThrowsTheFileExceptionByValue) {
    platform::testing::SetFileReadFaultHook([](std::u16string_view name, std::uint64_t position) {
        return name.ends_with(u"zImage") && position >= 8 ? EIO : 0;
    });
    CFile file;
    ASSERT_TRUE(file.Open(U16(path).c_str(), CFile::modeRead));
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, 8), 8u);
    try {
        file.Read(buffer, 8);
        FAIL() << "no exception";
    } catch (CFileException e) {
        EXPECT_EQ(e.m_cause, CFileException::hardIO);
        EXPECT_EQ(e.m_lOsError, EIO);
        EXPECT_EQ(e.m_strFileName.Str(), U16(path));
        EXPECT_EQ(e.GetErrorMessage().Str(),
                  u"A hardware I/O error was reported while accessing " + U16(path) + u" (Input/output error).");
    }
    EXPECT_TRUE(file.IsOpen()) << "the caller closes the file";
}

TEST(CFileException, ErrorTextsNameTheFileAndTheError) {
    struct Case {
        CFileException::Cause cause;
        LONG err;
        std::u16string text;
    };
    const Case cases[] = {
        {CFileException::fileNotFound, ENOENT, u"/img/a.bin was not found (No such file or directory)."},
        {CFileException::accessDenied, EACCES, u"Access to /img/a.bin was denied (Permission denied)."},
        {CFileException::invalidFile, 0, u"/img/a.bin cannot be read as a file."},
        {CFileException::genericException, EXDEV, u"An unexpected error occurred while accessing /img/a.bin "
                                                  u"(Invalid cross-device link)."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileException(c.cause, c.err, u"/img/a.bin").GetErrorMessage().Str(), c.text);
}

TEST(CFileException, ReportErrorShowsTheTextWithAStopIcon) {
    std::vector<platform::testing::MessageBoxCall> boxes;
    platform::testing::SetMessageBoxHook([&](const platform::testing::MessageBoxCall& call) {
        boxes.push_back(call);
        return IDOK;
    });
    const CFileException e(CFileException::hardIO, EIO, u"/img/rootfs.img");
    EXPECT_EQ(e.ReportError(), IDOK);
    platform::testing::SetMessageBoxHook({});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, e.GetErrorMessage().Str());
    EXPECT_EQ(boxes[0].style & MB_ICONSTOP, MB_ICONSTOP);
}

} // namespace
