// UTF-8 at the edges: exact encodings, lone surrogates kept through a round
// trip, and malformed bytes read as U+FFFD.
#include "platform/text/wide_format.h"

#include <gtest/gtest.h>

#include <string>

using platform::text::FromUtf8;
using platform::text::ToUtf8;

namespace {

struct Pair {
    std::u16string utf16;
    std::string utf8;
};

TEST(Utf8Test, EncodesAndDecodesEachLength) {
    const Pair pairs[] = {
        {u"", ""},
        {u"/tmp/a b.dat", "/tmp/a b.dat"},
        {u"\x00E9", "\xC3\xA9"},
        {u"\x20AC", "\xE2\x82\xAC"},
        {u"\xFFFF", "\xEF\xBF\xBF"},
        {u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},  // U+1F600
        {u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},  // U+10FFFF
        // Lone surrogates: the three bytes of their own value.
        {u"\xD800", "\xED\xA0\x80"},
        {u"a\xDC00" u"b", "a\xED\xB0\x80" "b"},
        {u"\xDE00\xD83D", "\xED\xB8\x80\xED\xA0\xBD"},  // low before high is no pair
        {std::u16string(1, u'\0') + u"x", std::string(1, '\0') + "x"},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(ToUtf8(p.utf16), p.utf8);
        EXPECT_EQ(FromUtf8(p.utf8), p.utf16);
    }
}

TEST(Utf8Test, EveryCodeUnitSurvivesARoundTrip) {
    std::u16string all;
    for (char32_t c = 1; c <= 0xFFFF; ++c)
        all.push_back(static_cast<char16_t>(c));
    EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}

TEST(Utf8Test, MalformedBytesBecomeReplacementCharacters) {
    const Pair cases[] = {
        {u"\xFFFD", "\x80"},                      // stray continuation byte
        {u"\xFFFD\xFFFD", "\xC0\xAF"},            // over-long '/'
        {u"\xFFFD\xFFFD\xFFFD", "\xE0\x80\xAF"},  // over-long, three bytes
        {u"\xFFFD" u"A", "\xE2\x82" "A"},         // cut short: one U+FFFD for the beginning
        {u"\xFFFD", "\xF0\x9F\x98"},              // cut short at the end
        {u"\xFFFD\xFFFD\xFFFD\xFFFD", "\xF4\x90\x80\x80"},  // above U+10FFFF
        {u"\xFFFD", "\xFF"},
        {u"a\xFFFD" u"b", "a\xFE" "b"},
    };
    for (const Pair& c : cases)
        EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << c.utf8.size();
}

} // namespace
