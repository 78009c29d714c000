// CFile on Linux: a read-only file descriptor. A system error while the file
// is open is thrown as a CFileException carrying the errno value and the
// file's name; the dialog's command handling shows it.
#include "platform/classlib/cfile.h"

#include "platform/classlib/system_error_text.h"
#include "platform/testing/file_faults.h"
#include "platform/text/wide_format.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

struct ErrnoCause {
    int err;
    CFileException::Cause cause;
};
constexpr ErrnoCause kErrnoCauses[] = {
    {ENOENT, CFileException::fileNotFound}, {ENOTDIR, CFileException::badPath},
    {ENAMETOOLONG, CFileException::badPath}, {ELOOP, CFileException::badPath},
    {EACCES, CFileException::accessDenied}, {EPERM, CFileException::accessDenied},
    {EISDIR, CFileException::accessDenied}, {EBADF, CFileException::invalidFile},
    {EIO, CFileException::hardIO},          {ENXIO, CFileException::hardIO},
    {ENOMEDIUM, CFileException::hardIO},
};

CFileException::Cause CauseOf(int err) {
    for (const ErrnoCause& entry : kErrnoCauses)
        if (entry.err == err)
            return entry.cause;
    return CFileException::genericException;
}

[[noreturn]] void Throw(int err, const CString& fileName) { throw CFileException(CauseOf(err), err, fileName); }

} // namespace

namespace platform::classlib {

std::u16string SystemErrorText(LONG osError) { return text::FromUtf8(std::strerror(osError)); }

} // namespace platform::classlib

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char16_t* fileName, UINT /*openFlags: always read-only, sharing is not enforced*/,
                 CFileException* error) {
    Abort();
    const CString name(fileName != nullptr ? fileName : u"");
    auto fail = [&](CFileException::Cause cause, int err) {
        if (error != nullptr)
            *error = CFileException(cause, err, name);
        return FALSE;
    };
    if (name.IsEmpty())
        return fail(CFileException::badPath, 0);
    // O_NONBLOCK keeps a FIFO from blocking the open until a writer comes.
    const int fd = ::open(platform::text::ToUtf8(name.Str()).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(CauseOf(errno), errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(CauseOf(err), err);
    }
    if (!S_ISREG(st.st_mode) && !S_ISBLK(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? fail(CFileException::accessDenied, EISDIR) : fail(CFileException::invalidFile, 0);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_strFileName = name;
    return TRUE;
}

ULONGLONG CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        Throw(errno, m_strFileName);
    if (!S_ISBLK(st.st_mode))
        return static_cast<ULONGLONG>(st.st_size);
    std::uint64_t bytes = 0;
    if (::ioctl(m_fd, BLKGETSIZE64, &bytes) != 0)
        Throw(errno, m_strFileName);
    return bytes;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!IsOpen())
        Throw(EBADF, m_strFileName);
    if (const auto& fault = platform::testing::GetFileReadFaultHook()) {
        const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
        if (const int err = fault(m_strFileName.Str(), static_cast<std::uint64_t>(position)))
            Throw(err, m_strFileName);
    }
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    UINT total = 0;
    while (total < count) {
        const ssize_t n = ::read(m_fd, bytes + total, count - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Throw(errno, m_strFileName);
        if (n == 0)
            break;
        total += static_cast<UINT>(n);
    }
    return total;
}

void CFile::SeekToBegin() {
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        Throw(errno, m_strFileName);
}

void CFile::Close() {
    if (!IsOpen())
        return;
    const int fd = m_fd;
    m_fd = -1;
    // After EINTR the descriptor is closed all the same on Linux.
    if (::close(fd) != 0 && errno != EINTR)
        Throw(errno, m_strFileName);
}

void CFile::Abort() {
    if (IsOpen())
        ::close(m_fd);
    m_fd = -1;
}
