// Bounded formatting and scanning of UTF-16 text, standing in for the C
// run-time's wide-string services. Nothing passes through wchar_t: on Linux it
// is 32 bits wide, so every routine here works on char16_t code units and
// treats surrogates (paired or not) as ordinary code units.
//
// Conversions understood by both directions:
//   %d %i  signed 32-bit      %u  unsigned 32-bit
//   %ld %lu %lx  the same widths: long is 32 bits here, as on the system
//                the formats were written for
//   %x %X %lx  unsigned 32-bit hex (formatting only; scanning reads %i as
//              decimal, like %d)
//   %c     one UTF-16 code unit (passed as int)
//   %s     UTF-16 string (const char16_t*; char16_t* target when scanning)
//   %%     a percent sign
// Formatting honours the flags '-' and '0', a field width and a precision
// (the most code units of %s, the least digits of a number); a directive it
// does not know is copied as text and takes no argument, and a null %s
// prints "(null)". Scanning honours a maximum field width ("%127s") and '*'
// to skip.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace platform::text {

// Formats into buf, which holds capacity code units including the final NUL.
// A longer result is cut to capacity - 1 code units and NUL-terminated.
// Returns the number of code units stored (without the NUL), or -1 when the
// text was cut, or when capacity is 0.
int FormatBounded(char16_t* buf, std::size_t capacity, const char16_t* format, ...);
int FormatBoundedV(char16_t* buf, std::size_t capacity, const char16_t* format, std::va_list args);

// Unbounded formatting into a string.
std::u16string Format(const char16_t* format, ...);
std::u16string FormatV(const char16_t* format, std::va_list args);

// Scans text (up to its first NUL) against format, as the run-time's wide
// scanf does: white space in the format matches any run of white space,
// numbers take an optional sign, %s takes the longest run of non-white-space
// code units (at most the field width, when one is given) and stores a NUL
// after it. Numbers are taken modulo 2^32 ("-1" read with %u is 4294967295).
// Returns the number of fields stored, or -1 when the input ended before the
// first conversion.
int Scan(const char16_t* text, const char16_t* format, ...);
int ScanV(const char16_t* text, const char16_t* format, std::va_list args);

// The white space that scanning skips: tab, line feed, vertical tab, form
// feed, carriage return and space.
bool IsScanSpace(char16_t c);

// Conversions at the edges of the system (file names for the OS, standard
// output). Unpaired surrogates survive a round trip (they are encoded as
// three-byte sequences), and bytes that are not UTF-8 come back as U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

} // namespace platform::text
