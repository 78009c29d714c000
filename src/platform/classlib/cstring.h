// CString: a UTF-16 string value with formatting and string-table loading.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char16_t* text);  // NOLINT: implicit, as callers expect
    CString(const char16_t* text, int length);
    CString(std::u16string_view text);  // NOLINT
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char16_t* text);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char16_t* GetString() const { return m_text.c_str(); }
    operator const char16_t*() const { return m_text.c_str(); }  // NOLINT
    char16_t GetAt(int index) const { return m_text.at(static_cast<std::size_t>(index)); }
    CString Left(int count) const;

    // Printf-style formatting of UTF-16 text; see platform/text/wide_format.h
    // for the conversions. %s takes a const char16_t*, never a CString.
    void Format(const char16_t* format, ...);

    // Loads string resource id from the program's string table; returns FALSE
    // and leaves the text empty when there is none.
    BOOL LoadString(UINT id);

    CString& operator+=(const CString& other);
    CString& operator+=(const char16_t* other);
    friend CString operator+(const CString& a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_text == (b ? b : u""); }

    const std::u16string& Str() const { return m_text; }

private:
    std::u16string m_text;
};
