// CFile on Windows: a file handle of the system, opened for reading and
// shared with readers and writers. A system error while the file is open is
// thrown as a CFileException carrying the system's error code and the file's
// name; the dialog's command handling shows it.
#include "platform/classlib/cfile.h"

#include "platform/classlib/system_error_text.h"
#include "platform/testing/file_faults.h"
#include "platform/text/wide_format.h"

#include <cwctype>

namespace {

// The system's own calls, not the tool's overloads for card access: no
// overlapped record, and a file that stays a file.
constexpr OVERLAPPED* kNoOverlap = nullptr;

struct ErrorCause {
    DWORD error;
    CFileException::Cause cause;
};
constexpr ErrorCause kErrorCauses[] = {
    {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},  {ERROR_PATH_NOT_FOUND, CFileException::badPath},
    {ERROR_INVALID_NAME, CFileException::badPath},         {ERROR_BAD_PATHNAME, CFileException::badPath},
    {ERROR_FILENAME_EXCED_RANGE, CFileException::badPath}, {ERROR_INVALID_DRIVE, CFileException::badPath},
    {ERROR_ACCESS_DENIED, CFileException::accessDenied},   {ERROR_SHARING_VIOLATION, CFileException::accessDenied},
    {ERROR_LOCK_VIOLATION, CFileException::accessDenied},  {ERROR_INVALID_HANDLE, CFileException::invalidFile},
    {ERROR_HANDLE_EOF, CFileException::endOfFile},         {ERROR_CRC, CFileException::hardIO},
    {ERROR_READ_FAULT, CFileException::hardIO},            {ERROR_GEN_FAILURE, CFileException::hardIO},
    {ERROR_NOT_READY, CFileException::hardIO},             {ERROR_SECTOR_NOT_FOUND, CFileException::hardIO},
    {ERROR_DEVICE_NOT_CONNECTED, CFileException::hardIO},  {ERROR_IO_DEVICE, CFileException::hardIO},
};

CFileException::Cause CauseOf(DWORD error) {
    for (const ErrorCause& entry : kErrorCauses)
        if (entry.error == error)
            return entry.cause;
    return CFileException::genericException;
}

[[noreturn]] void Throw(DWORD error, const CString& fileName) {
    throw CFileException(CauseOf(error), static_cast<LONG>(error), fileName);
}

} // namespace

namespace platform::classlib {

std::u16string SystemErrorText(LONG osError) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(osError), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string message = length ? std::u16string(AsUtf16(text), length)
                                    : text::Format(u"system error %u", static_cast<unsigned>(osError));
    LocalFree(text);
    // The system's sentence ends with a full stop and a line end; the box
    // puts its own after the parenthesis.
    while (!message.empty() && (std::iswspace(message.back()) || message.back() == u'.'))
        message.pop_back();
    return message;
}

} // namespace platform::classlib

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char16_t* fileName, UINT, CFileException* error) {
    Abort();
    const CString name(fileName != nullptr ? fileName : u"");
    auto fail = [&](CFileException::Cause cause, DWORD code) {
        if (error != nullptr)
            *error = CFileException(cause, static_cast<LONG>(code), name);
        return FALSE;
    };
    if (name.IsEmpty())
        return fail(CFileException::badPath, 0);
    const HANDLE file = CreateFileW(AsWide(name.GetString()), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return fail(CauseOf(code), code);
    }
    // Only a file on a disk is an image: not a console, a pipe or a device.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return fail(CFileException::invalidFile, 0);
    }
    m_hFile = file;
    m_strFileName = name;
    return TRUE;
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_hFile, &size))
        Throw(GetLastError(), m_strFileName);
    return static_cast<ULONGLONG>(size.QuadPart);
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!IsOpen())
        Throw(ERROR_INVALID_HANDLE, m_strFileName);
    if (const auto& fault = platform::testing::GetFileReadFaultHook()) {
        LARGE_INTEGER position{};
        SetFilePointerEx(m_hFile, LARGE_INTEGER{}, &position, FILE_CURRENT);
        if (const int code = fault(m_strFileName.Str(), static_cast<std::uint64_t>(position.QuadPart)))
            Throw(static_cast<DWORD>(code), m_strFileName);
    }
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    UINT total = 0;
    while (total < count) {
        DWORD done = 0;
        if (!::ReadFile(m_hFile, bytes + total, count - total, &done, kNoOverlap))
            Throw(GetLastError(), m_strFileName);
        if (done == 0)
            break;
        total += done;
    }
    return total;
}

void CFile::SeekToBegin() {
    if (!SetFilePointerEx(m_hFile, LARGE_INTEGER{}, nullptr, FILE_BEGIN))
        Throw(GetLastError(), m_strFileName);
}

void CFile::Close() {
    if (!IsOpen())
        return;
    const HANDLE file = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(file))
        Throw(GetLastError(), m_strFileName);
}

void CFile::Abort() {
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}
