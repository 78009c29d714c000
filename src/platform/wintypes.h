// Basic scalar types, handles and constants shared by the class library,
// storage and user-interface services. On Windows they are the system's
// own, from <windows.h>. On Linux they are defined here with the widths of
// Windows: long and DWORD are 32 bits, text is UTF-16 (char16_t).
#pragma once

#include <cstdint>

#ifdef _WIN32

#include <windows.h>

// The system's header names its text functions through macros that pick the
// UTF-16 variant (MessageBox is MessageBoxW). The class library has members
// of these names, which must keep them on both systems; the system's own
// functions are called by their W names.
#undef AppendMenu
#undef GetMenuString
#undef GetWindowText
#undef GetWindowTextLength
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef SendMessage
#undef SetWindowText

// On Windows wchar_t is UTF-16, so the system's text and the tool's
// char16_t text are the same code units; these casts are the only place
// the two types meet.
inline const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* AsWide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const char16_t* AsUtf16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* AsUtf16(wchar_t* text) { return reinterpret_cast<char16_t*>(text); }
static_assert(sizeof(wchar_t) == sizeof(char16_t));

#else

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

using WCHAR = char16_t;
using TCHAR = char16_t;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using LPTSTR = char16_t*;
using LPCTSTR = const char16_t*;
using LPVOID = void*;
using LPCVOID = const void*;

using HANDLE = void*;
struct HWND__;
using HWND = HWND__*;
struct HDC__;
using HDC = HDC__*;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HMENU__;
using HMENU = HMENU__*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

inline constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(lo) | (static_cast<WPARAM>(hi) << 16); }

// 64-bit value with its two 32-bit halves, least significant first.
union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    };
    LONGLONG QuadPart;
};
static_assert(sizeof(LARGE_INTEGER) == 8);

#endif
