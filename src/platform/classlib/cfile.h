// CFile: an image file opened for reading (a file descriptor on Linux, a
// file handle of the system on Windows), and the exception a system error on
// it raises. Files are read-only here; the settings file goes through the
// storage services instead.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/wintypes.h"

// A system error on a file object. Thrown by value; the dialog's command
// handling catches it and shows the standard file-error box naming the file.
class CFileException {
public:
    enum Cause { none, genericException, fileNotFound, badPath, accessDenied, invalidFile, hardIO, endOfFile };

    CFileException() = default;
    CFileException(Cause cause, LONG osError, const CString& fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    // The text of the standard file-error box, naming the file and the error.
    CString GetErrorMessage() const;
    // Shows that text in a message box (stop icon, OK button).
    int ReportError() const;

    Cause m_cause = none;
    LONG m_lOsError = 0;  // the system's error number
    CString m_strFileName;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        shareDenyNone = 0x0040,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();  // closes the file if it is still open

    // Opens an existing regular file (or block device) for reading. Fails,
    // without throwing, for an empty path, a missing file, a directory or
    // anything else that cannot be read as an image; fills *error when given.
    virtual BOOL Open(const char16_t* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual ULONGLONG GetLength() const;          // throws CFileException on a system error
    virtual UINT Read(void* buffer, UINT count);  // bytes delivered; fewer at the end; throws on error
    void SeekToBegin();                            // throws on error
    virtual void Close();                          // throws on a system error while closing
    void Abort();                                  // closes, never throws
    CString GetFilePath() const { return m_strFileName; }

#ifdef _WIN32
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

protected:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
#else
    bool IsOpen() const { return m_fd >= 0; }

protected:
    int m_fd = -1;
#endif
    CString m_strFileName;
};
