// The standard file-error box: a sentence for the cause, naming the file,
// and the system's own text of the error after it.
#include "platform/classlib/cfile.h"

#include "platform/classlib/system_error_text.h"
#include "platform/classlib/wnd.h"

namespace {

struct CauseText {
    CFileException::Cause cause;
    const char16_t* format;
};
constexpr CauseText kCauseTexts[] = {
    {CFileException::none, u"No error occurred while accessing %s"},
    {CFileException::genericException, u"An unexpected error occurred while accessing %s"},
    {CFileException::fileNotFound, u"%s was not found"},
    {CFileException::badPath, u"%s is not a valid path"},
    {CFileException::accessDenied, u"Access to %s was denied"},
    {CFileException::invalidFile, u"%s cannot be read as a file"},
    {CFileException::hardIO, u"A hardware I/O error was reported while accessing %s"},
    {CFileException::endOfFile, u"An attempt was made to access %s past its end"},
};

} // namespace

CString CFileException::GetErrorMessage() const {
    const char16_t* format = kCauseTexts[1].format;
    for (const CauseText& entry : kCauseTexts)
        if (entry.cause == m_cause)
            format = entry.format;
    CString text;
    text.Format(format, m_strFileName.GetString());
    if (m_lOsError != 0)
        text += CString(u" (") + CString(platform::classlib::SystemErrorText(m_lOsError)) + CString(u")");
    text += u".";
    return text;
}

int CFileException::ReportError() const { return AfxMessageBox(GetErrorMessage(), MB_ICONSTOP); }
