// CString: a UTF-16 value type. A null pointer reads as the empty string, as
// callers pass one for "no text".
#include "platform/classlib/cstring.h"

#include "platform/resources/resources.h"
#include "platform/text/wide_format.h"

#include <algorithm>
#include <cstdarg>

CString::CString(const char16_t* text) : m_text(text != nullptr ? text : u"") {}

CString::CString(const char16_t* text, int length) {
    if (text != nullptr && length > 0)
        m_text.assign(text, static_cast<std::size_t>(length));
}

CString::CString(std::u16string_view text) : m_text(text) {}

CString& CString::operator=(const char16_t* text) {
    m_text = text != nullptr ? text : u"";
    return *this;
}

CString CString::Left(int count) const {
    const int n = std::clamp(count, 0, GetLength());
    return CString(std::u16string_view(m_text).substr(0, static_cast<std::size_t>(n)));
}

void CString::Format(const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    // Formatted into a new string first: an argument may be this string's own text.
    std::u16string text = platform::text::FormatV(format, args);
    va_end(args);
    m_text = std::move(text);
}

BOOL CString::LoadString(UINT id) {
    std::optional<std::u16string> text = platform::resources::LoadString(id);
    m_text = text.value_or(std::u16string());
    return text.has_value() ? TRUE : FALSE;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char16_t* other) {
    if (other != nullptr)
        m_text += other;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
