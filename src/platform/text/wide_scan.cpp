// scanf-style reading of UTF-16 text. Numbers are taken modulo 2^32, as the
// run-time the formats were written for accumulates them in 32 bits, so
// "-1" read with %u gives 4294967295 and 4294967295 read with %d gives -1.
#include "platform/text/wide_format.h"

#include <cstdint>

namespace platform::text {
namespace {

constexpr std::size_t kNoWidth = static_cast<std::size_t>(-1);

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void SkipSpace(const char16_t*& p) {
    while (IsScanSpace(*p))
        ++p;
}

// An optionally signed decimal number of at most width code units. Leaves p
// unchanged and returns false when no digit can be read.
bool ReadDecimal(const char16_t*& p, std::size_t width, std::uint32_t& value) {
    const char16_t* q = p;
    std::size_t left = width;
    bool negative = false;
    if (left > 0 && (*q == u'-' || *q == u'+')) {
        negative = *q == u'-';
        ++q;
        --left;
    }
    if (left == 0 || !IsDigit(*q))
        return false;
    std::uint32_t v = 0;
    for (; left > 0 && IsDigit(*q); ++q, --left)
        v = v * 10u + static_cast<std::uint32_t>(*q - u'0');
    value = negative ? 0u - v : v;
    p = q;
    return true;
}

} // namespace

bool IsScanSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int ScanV(const char16_t* text, const char16_t* format, std::va_list args) {
    const char16_t* p = text;
    const char16_t* f = format;
    int stored = 0;
    bool converted = false;  // a conversion (stored or skipped) has completed
    // The input ran out where a character was needed: -1 before any
    // conversion, else the count so far.
    auto ended = [&] { return converted ? stored : -1; };

    while (*f != 0) {
        if (IsScanSpace(*f)) {
            while (IsScanSpace(*f))
                ++f;
            SkipSpace(p);
            continue;
        }
        if (*f != u'%' || f[1] == u'%') {
            // A literal character (or "%%", a literal percent after blanks).
            const char16_t wanted = *f;
            f += wanted == u'%' ? 2 : 1;
            if (wanted == u'%')
                SkipSpace(p);
            if (*p == 0)
                return ended();
            if (*p != wanted)
                return stored;
            ++p;
            continue;
        }
        ++f;
        const bool skip = *f == u'*';
        if (skip)
            ++f;
        std::size_t width = 0;
        for (; IsDigit(*f); ++f)
            width = width > 0x7FFFFFF ? width : width * 10 + static_cast<std::size_t>(*f - u'0');
        if (width == 0)
            width = kNoWidth;
        if (*f == u'l')
            ++f;
        const char16_t conversion = *f;
        if (conversion == 0)
            return stored;
        ++f;

        switch (conversion) {
        case u'd':
        case u'i':
        case u'u': {
            SkipSpace(p);
            if (*p == 0)
                return ended();
            std::uint32_t value = 0;
            if (!ReadDecimal(p, width, value))
                return stored;
            if (!skip) {
                // %d and %u targets are both 32 bits; only the type differs.
                if (conversion == u'u')
                    *va_arg(args, std::uint32_t*) = value;
                else
                    *va_arg(args, std::int32_t*) = static_cast<std::int32_t>(value);
            }
            break;
        }
        case u's': {
            SkipSpace(p);
            if (*p == 0)
                return ended();
            char16_t* target = skip ? nullptr : va_arg(args, char16_t*);
            for (std::size_t n = 0; n < width && *p != 0 && !IsScanSpace(*p); ++n, ++p) {
                if (target != nullptr)
                    *target++ = *p;
            }
            if (target != nullptr)
                *target = 0;
            break;
        }
        case u'c': {
            const std::size_t count = width == kNoWidth ? 1 : width;
            for (std::size_t n = 0; n < count; ++n) {
                if (p[n] == 0)
                    return ended();
            }
            if (!skip) {
                char16_t* target = va_arg(args, char16_t*);
                for (std::size_t n = 0; n < count; ++n)
                    target[n] = p[n];
            }
            p += count;
            break;
        }
        default:
            // Not a conversion that scanning knows: nothing can match it.
            return stored;
        }
        converted = true;
        if (!skip)
            ++stored;
    }
    return stored;
}

int Scan(const char16_t* text, const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int n = ScanV(text, format, args);
    va_end(args);
    return n;
}

} // namespace platform::text
