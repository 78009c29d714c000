// UTF-16 to UTF-8 and back, for file names and standard output. A surrogate
// without its partner is written as the three bytes its code unit would have
// as a code point, and read back as that code unit, so any UTF-16 text (a
// file name the operator typed, say) survives the round trip.
#include "platform/text/wide_format.h"

#include <cstdint>

namespace platform::text {
namespace {

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void PutUtf8(std::string& out, char32_t cp) {
    auto byte = [&](char32_t b) { out.push_back(static_cast<char>(static_cast<std::uint8_t>(b))); };
    if (cp < 0x80) {
        byte(cp);
    } else if (cp < 0x800) {
        byte(0xC0 | (cp >> 6));
        byte(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        byte(0xE0 | (cp >> 12));
        byte(0x80 | ((cp >> 6) & 0x3F));
        byte(0x80 | (cp & 0x3F));
    } else {
        byte(0xF0 | (cp >> 18));
        byte(0x80 | ((cp >> 12) & 0x3F));
        byte(0x80 | ((cp >> 6) & 0x3F));
        byte(0x80 | (cp & 0x3F));
    }
}

// How a sequence may start: its length and the range its second byte must
// fall in (which rules out over-long forms and values above U+10FFFF).
struct Lead {
    int length;
    std::uint8_t secondLow, secondHigh;
};

Lead LeadOf(std::uint8_t b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF};  // 0xED included: encoded lone surrogates come back
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

void PutUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

} // namespace

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            PutUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            PutUtf8(out, c);
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<std::uint8_t>(text[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        // A broken sequence becomes one U+FFFD for its longest valid
        // beginning; reading resumes at the byte that broke it.
        const Lead lead = LeadOf(b0);
        char32_t cp = b0 & (0xFF >> (lead.length + 1));
        std::size_t j = i + 1;
        bool complete = lead.length > 0;
        for (int k = 1; complete && k < lead.length; ++k, ++j) {
            const std::uint8_t low = k == 1 ? lead.secondLow : 0x80;
            const std::uint8_t high = k == 1 ? lead.secondHigh : 0xBF;
            const auto b = j < text.size() ? static_cast<std::uint8_t>(text[j]) : 0;
            if (j >= text.size() || b < low || b > high) {
                complete = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (complete)
            PutUtf16(out, cp);
        else
            out.push_back(u'\uFFFD');
        i = j;
    }
    return out;
}

} // namespace platform::text
