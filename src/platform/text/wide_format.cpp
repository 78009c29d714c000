// printf-style formatting of UTF-16 text. One formatter writes through an
// output that either grows a string or fills a fixed buffer; the bounded
// output never stores past its capacity, however wide a field asks to be.
#include "platform/text/wide_format.h"

#include <algorithm>
#include <cstdint>

namespace platform::text {
namespace {

class Output {
public:
    virtual ~Output() = default;
    virtual void Append(const char16_t* text, std::size_t count) = 0;
    virtual void Fill(char16_t c, std::size_t count) = 0;
};

class StringOutput final : public Output {
public:
    explicit StringOutput(std::u16string& target) : m_target(target) {}
    void Append(const char16_t* text, std::size_t count) override { m_target.append(text, count); }
    void Fill(char16_t c, std::size_t count) override { m_target.append(count, c); }

private:
    std::u16string& m_target;
};

// Stores at most room code units; remembers whether anything was dropped.
class BoundedOutput final : public Output {
public:
    BoundedOutput(char16_t* buf, std::size_t room) : m_buf(buf), m_room(room) {}
    void Append(const char16_t* text, std::size_t count) override {
        const std::size_t n = Take(count);
        std::copy(text, text + n, m_buf + m_used);
        m_used += n;
    }
    void Fill(char16_t c, std::size_t count) override {
        const std::size_t n = Take(count);
        std::fill(m_buf + m_used, m_buf + m_used + n, c);
        m_used += n;
    }
    std::size_t Used() const { return m_used; }
    bool Cut() const { return m_cut; }

private:
    std::size_t Take(std::size_t count) {
        const std::size_t n = std::min(count, m_room - m_used);
        if (n < count)
            m_cut = true;
        return n;
    }
    char16_t* m_buf;
    std::size_t m_room;
    std::size_t m_used = 0;
    bool m_cut = false;
};

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    bool hasPrecision = false;
    std::size_t precision = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads a run of decimal digits; saturates rather than wrapping, so that an
// absurd width stays absurd instead of becoming small.
std::size_t ReadCount(const char16_t*& f) {
    constexpr std::size_t kMax = 0x7FFFFFFF;
    std::size_t n = 0;
    for (; IsDigit(*f); ++f)
        n = std::min(kMax, n * 10 + static_cast<std::size_t>(*f - u'0'));
    return n;
}

// Writes a sign, precision zeros and the body, padded to the field width.
// Zero padding of a number goes between the sign and the digits.
void Emit(Output& out, const Conversion& conv, std::size_t signLen, std::size_t precisionZeros, const char16_t* body,
          std::size_t bodyLen, bool numeric) {
    const std::size_t len = signLen + precisionZeros + bodyLen;
    const std::size_t pad = conv.width > len ? conv.width - len : 0;
    const bool zeros = numeric && conv.zeroPad && !conv.leftAlign && !conv.hasPrecision;
    if (!conv.leftAlign && !zeros)
        out.Fill(u' ', pad);
    out.Append(u"-", signLen);
    out.Fill(u'0', (zeros ? pad : 0) + precisionZeros);
    out.Append(body, bodyLen);
    if (conv.leftAlign)
        out.Fill(u' ', pad);
}

void EmitNumber(Output& out, const Conversion& conv, bool negative, std::uint32_t magnitude, unsigned base,
                bool upper) {
    const char16_t* table = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    char16_t digits[32];
    std::size_t n = 0;
    for (std::uint32_t m = magnitude; m != 0; m /= base)
        digits[n++] = table[m % base];
    std::reverse(digits, digits + n);
    // A precision is the least number of digits, so "%.0d" prints 0 as nothing.
    const std::size_t minDigits = conv.hasPrecision ? conv.precision : 1;
    Emit(out, conv, negative ? 1 : 0, minDigits > n ? minDigits - n : 0, digits, n, true);
}

void FormatTo(Output& out, const char16_t* format, std::va_list args) {
    const char16_t* f = format;
    while (*f != 0) {
        if (*f != u'%') {
            const char16_t* run = f;
            while (*f != 0 && *f != u'%')
                ++f;
            out.Append(run, static_cast<std::size_t>(f - run));
            continue;
        }
        const char16_t* directive = f++;
        Conversion conv;
        for (;; ++f) {
            if (*f == u'-')
                conv.leftAlign = true;
            else if (*f == u'0')
                conv.zeroPad = true;
            else
                break;
        }
        conv.width = ReadCount(f);
        if (*f == u'.') {
            ++f;
            conv.hasPrecision = true;
            conv.precision = ReadCount(f);
        }
        if (*f == u'l')
            ++f;
        switch (*f) {
        case u'd':
        case u'i': {
            const auto v = static_cast<std::int32_t>(va_arg(args, int));
            const bool negative = v < 0;
            const std::uint32_t magnitude =
                negative ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
            EmitNumber(out, conv, negative, magnitude, 10, false);
            break;
        }
        case u'u':
            EmitNumber(out, conv, false, static_cast<std::uint32_t>(va_arg(args, unsigned)), 10, false);
            break;
        case u'x':
        case u'X':
            EmitNumber(out, conv, false, static_cast<std::uint32_t>(va_arg(args, unsigned)), 16, *f == u'X');
            break;
        case u'c': {
            const auto c = static_cast<char16_t>(va_arg(args, int));
            Emit(out, conv, 0, 0, &c, 1, false);
            break;
        }
        case u's': {
            const char16_t* s = va_arg(args, const char16_t*);
            if (s == nullptr)
                s = u"(null)";
            std::size_t len = 0;
            while (s[len] != 0 && (!conv.hasPrecision || len < conv.precision))
                ++len;
            Emit(out, conv, 0, 0, s, len, false);
            break;
        }
        case u'%':
            out.Append(u"%", 1);
            break;
        default:
            // Not a conversion this formatter knows (or the format ended):
            // the directive is copied as text and no argument is taken.
            out.Append(directive, static_cast<std::size_t>(f - directive));
            continue;
        }
        ++f;
    }
}

} // namespace

int FormatBoundedV(char16_t* buf, std::size_t capacity, const char16_t* format, std::va_list args) {
    if (capacity == 0)
        return -1;
    BoundedOutput out(buf, capacity - 1);
    FormatTo(out, format, args);
    buf[out.Used()] = 0;
    return out.Cut() ? -1 : static_cast<int>(out.Used());
}

int FormatBounded(char16_t* buf, std::size_t capacity, const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int n = FormatBoundedV(buf, capacity, format, args);
    va_end(args);
    return n;
}

std::u16string FormatV(const char16_t* format, std::va_list args) {
    std::u16string text;
    StringOutput out(text);
    FormatTo(out, format, args);
    return text;
}

std::u16string Format(const char16_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::u16string text = FormatV(format, args);
    va_end(args);
    return text;
}

} // namespace platform::text
