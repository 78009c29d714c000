// Formatting of UTF-16 text: the conversions the system writes with, the
// 32-bit widths, flags and widths, and the bounded cut.
#include "platform/text/wide_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

using platform::text::Format;
using platform::text::FormatBounded;

namespace {

struct IntCase {
    const char16_t* format;
    std::int64_t value;  // passed as the 32-bit argument the format takes
    const char16_t* expected;
};

class FormatIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(FormatIntTest, Formats) {
    const IntCase& c = GetParam();
    EXPECT_EQ(Format(c.format, static_cast<std::int32_t>(c.value)), std::u16string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatIntTest,
    ::testing::Values(IntCase{u"%d", 0, u"0"}, IntCase{u"%d", 8388608, u"8388608"},
                      IntCase{u"%d", -1, u"-1"}, IntCase{u"%d", INT32_MIN, u"-2147483648"},
                      IntCase{u"%d", INT32_MAX, u"2147483647"},
                      // An unsigned member past 2^31 written with %d comes out negative.
                      IntCase{u"%d", 4294967295LL, u"-1"}, IntCase{u"%d", 2147483648LL, u"-2147483648"},
                      IntCase{u"%i", -42, u"-42"}, IntCase{u"%d sectors", 7774208, u"7774208 sectors"},
                      IntCase{u"  %d %%", 37, u"  37 %"}, IntCase{u"%lu", 4294967295LL, u"4294967295"},
                      IntCase{u"%u", 2147483648LL, u"2147483648"}, IntCase{u"%ld", -5, u"-5"},
                      IntCase{u"%x", 255, u"ff"}, IntCase{u"%X", 48879, u"BEEF"},
                      IntCase{u"%lx", 4294967295LL, u"ffffffff"}, IntCase{u"%5d", 42, u"   42"},
                      IntCase{u"%-5d|", 42, u"42   |"}, IntCase{u"%05d", -42, u"-0042"},
                      IntCase{u"%08X", 0x1F, u"0000001F"}, IntCase{u"%.3d", 7, u"007"},
                      IntCase{u"%.0d", 0, u""}, IntCase{u"%2d", 12345, u"12345"},
                      IntCase{u"%c", u'\xE9', u"\xE9"}, IntCase{u"%c", 0xD83D, u"\xD83D"},
                      IntCase{u"[%3c]", u'x', u"[  x]"}));

struct StringCase {
    const char16_t* format;
    const char16_t* arg;
    const char16_t* expected;
};

class FormatStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(FormatStringTest, Formats) {
    const StringCase& c = GetParam();
    EXPECT_EQ(Format(c.format, c.arg), std::u16string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatStringTest,
    ::testing::Values(StringCase{u"%s", u"D:\\images\\boot.bin", u"D:\\images\\boot.bin"},
                      StringCase{u"[%s]", u"", u"[]"}, StringCase{u"%ls", u"F", u"F"},
                      StringCase{u"%6s|", u"ab", u"    ab|"}, StringCase{u"%-6s|", u"ab", u"ab    |"},
                      StringCase{u"%.2s", u"abcdef", u"ab"}, StringCase{u"%s", nullptr, u"(null)"},
                      // Surrogates, paired or not, pass through untouched.
                      StringCase{u"<%s>", u"\xD83D\xDE00", u"<\xD83D\xDE00>"},
                      StringCase{u"<%s>", u"a\xDC00" u"b\xD800", u"<a\xDC00" u"b\xD800>"},
                      StringCase{u"%s", u"\xFFFF\x0001", u"\xFFFF\x0001"}));

TEST(FormatTest, SeveralArgumentsInOrder) {
    EXPECT_EQ(Format(u"%d %d %s %s|", 2, -1, u"a b", u""), u"2 -1 a b |");
    EXPECT_EQ(Format(u"%d%s%lu", 1, u"x", 4000000000u), u"1x4000000000");
}

TEST(FormatTest, UnknownDirectiveIsTextAndTakesNoArgument) {
    EXPECT_EQ(Format(u"%y %d", 5), u"%y 5");
    EXPECT_EQ(Format(u"%5q|%s", u"s"), u"%5q|s");
    EXPECT_EQ(Format(u"100%"), u"100%");
    EXPECT_EQ(Format(u"no directives"), u"no directives");
}

TEST(FormatBoundedTest, FitsExactlyOrIsCut) {
    struct Case {
        std::size_t capacity;
        int result;
        const char16_t* stored;
    };
    // "12345 sectors" is 13 code units.
    const Case cases[] = {
        {14, 13, u"12345 sectors"}, {100, 13, u"12345 sectors"}, {13, -1, u"12345 sector"},
        {6, -1, u"12345"},          {2, -1, u"1"},               {1, -1, u""},
    };
    for (const Case& c : cases) {
        char16_t buf[128];
        std::fill(std::begin(buf), std::end(buf), u'#');
        EXPECT_EQ(FormatBounded(buf, c.capacity, u"%d sectors", 12345), c.result) << c.capacity;
        EXPECT_EQ(std::u16string(buf), std::u16string(c.stored)) << c.capacity;
        // Nothing is stored past the capacity.
        for (std::size_t i = c.capacity; i < 128; ++i)
            ASSERT_EQ(buf[i], u'#') << "capacity " << c.capacity << ", unit " << i;
    }
}

TEST(FormatBoundedTest, ZeroCapacityStoresNothing) {
    char16_t buf[2] = {u'#', u'#'};
    EXPECT_EQ(FormatBounded(buf, 0, u"%d", 1), -1);
    EXPECT_EQ(buf[0], u'#');
}

TEST(FormatBoundedTest, WidePaddingNeverRunsPastTheBuffer) {
    char16_t buf[9];
    buf[8] = u'#';
    EXPECT_EQ(FormatBounded(buf, 8, u"%2000000000d", 1), -1);
    EXPECT_EQ(std::u16string(buf), u"       ");
    EXPECT_EQ(buf[8], u'#');
    EXPECT_EQ(FormatBounded(buf, 8, u"%-40s|", u"ab"), -1);
    EXPECT_EQ(std::u16string(buf), u"ab     ");
}

TEST(FormatBoundedTest, CutMayFallInsideASurrogatePair) {
    // The bound counts code units, as the settings file does.
    char16_t buf[4];
    EXPECT_EQ(FormatBounded(buf, 4, u"ab%s", u"\xD83D\xDE00"), -1);
    EXPECT_EQ(std::u16string(buf), u"ab\xD83D");
}

} // namespace
