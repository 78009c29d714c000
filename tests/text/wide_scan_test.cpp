// Scanning of UTF-16 text: white-space runs, signs, 32-bit wrap, widths,
// strings with surrogates, and where scanning stops.
#include "platform/text/wide_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using platform::text::IsScanSpace;
using platform::text::Scan;

namespace {

struct NumberCase {
    const char16_t* text;
    const char16_t* format;
    int result;
    std::int32_t value;  // the bits stored (the target keeps 77 when nothing is stored)
};

class ScanNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ScanNumberTest, Reads) {
    const NumberCase& c = GetParam();
    std::int32_t value = 77;
    EXPECT_EQ(Scan(c.text, c.format, &value), c.result);
    EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanNumberTest,
    ::testing::Values(NumberCase{u"512", u"%d", 1, 512}, NumberCase{u"-1", u"%d", 1, -1},
                      NumberCase{u"+12", u"%d", 1, 12}, NumberCase{u" \t\r\n\v\f42", u"%d", 1, 42},
                      NumberCase{u"12abc", u"%d", 1, 12}, NumberCase{u"007", u"%d", 1, 7},
                      NumberCase{u"-2147483648", u"%d", 1, INT32_MIN},
                      // 32-bit wrap: what the file writes for large unsigned values reads back.
                      NumberCase{u"4294967295", u"%d", 1, -1}, NumberCase{u"4294967296", u"%d", 1, 0},
                      NumberCase{u"-1", u"%lu", 1, -1}, NumberCase{u"4294967295", u"%lu", 1, -1},
                      NumberCase{u"%i", u"%i", 0, 77}, NumberCase{u"-9", u"%i", 1, -9},
                      // Nothing readable.
                      NumberCase{u"abc", u"%d", 0, 77}, NumberCase{u"-", u"%d", 0, 77},
                      NumberCase{u"- 5", u"%d", 0, 77}, NumberCase{u"+-5", u"%d", 0, 77},
                      NumberCase{u"\xFF10", u"%d", 0, 77},  // a full-width digit is no digit
                      NumberCase{u"", u"%d", -1, 77}, NumberCase{u"   ", u"%d", -1, 77},
                      // Widths count the sign.
                      NumberCase{u"12345", u"%3d", 1, 123}, NumberCase{u"-12345", u"%3d", 1, -12},
                      NumberCase{u"-12345", u"%1d", 0, 77}, NumberCase{u"99999999999999999999", u"%d", 1,
                                                                    static_cast<std::int32_t>(1661992959u)}));

TEST(ScanTest, WhiteSpaceInFormatMatchesAnyRunIncludingNone) {
    std::int32_t a = 0, b = 0, c = 0;
    EXPECT_EQ(Scan(u"1 \r\n\t 2\n\n3", u"%d %d %d", &a, &b, &c), 3);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(Scan(u"4-5", u"%d %d", &a, &b), 2);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, -5);
}

TEST(ScanTest, StopsAtFirstUnreadableFieldAndLeavesTheRest) {
    std::int32_t a = 0, b = 0, c = 0;
    char16_t s[8] = u"keep";
    EXPECT_EQ(Scan(u"1 2 x 4", u"%d %d %d %s", &a, &b, &c, s), 2);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(std::u16string(s), u"keep");
    // Input ending after the first field is no error: the count says how far.
    EXPECT_EQ(Scan(u"9", u"%d %d %d", &a, &b, &c), 1);
    EXPECT_EQ(a, 9);
}

TEST(ScanTest, StringsTakeTheLongestNonWhiteSpaceRun) {
    char16_t a[16], b[16], c[16];
    EXPECT_EQ(Scan(u"  D:\\my\tdir\\f.bin\r\nx", u"%s %s %s", a, b, c), 3);
    EXPECT_EQ(std::u16string(a), u"D:\\my");
    EXPECT_EQ(std::u16string(b), u"dir\\f.bin");
    EXPECT_EQ(std::u16string(c), u"x");
}

TEST(ScanTest, StringWidthBoundsWhatIsStored) {
    char16_t a[4] = {u'#', u'#', u'#', u'#'};
    char16_t b[8];
    EXPECT_EQ(Scan(u"abcdef", u"%3s%s", a, b), 2);
    EXPECT_EQ(std::u16string(a), u"abc");
    EXPECT_EQ(std::u16string(b), u"def");
}

TEST(ScanTest, SurrogatesAndOtherUnitsAreNotWhiteSpace) {
    char16_t a[8], b[8];
    // A pair, a lone low surrogate, a lone high one at the end, and
    // no-break space / ideographic space which this scanner does not skip.
    EXPECT_EQ(Scan(u"\xD83D\xDE00\xDC00 \x00A0\x3000\xD800", u"%s %s", a, b), 2);
    EXPECT_EQ(std::u16string(a), u"\xD83D\xDE00\xDC00");
    EXPECT_EQ(std::u16string(b), u"\x00A0\x3000\xD800");
}

TEST(ScanTest, SkippedFieldsAreNotCounted) {
    std::int32_t a = 0;
    char16_t s[8];
    EXPECT_EQ(Scan(u"skip 12 x", u"%*s %d %s", &a, s), 2);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(std::u16string(s), u"x");
}

TEST(ScanTest, LiteralsAndPercent) {
    std::int32_t a = 0, b = 0;
    EXPECT_EQ(Scan(u"7,8", u"%d,%d", &a, &b), 2);
    EXPECT_EQ(b, 8);
    EXPECT_EQ(Scan(u"7;8", u"%d,%d", &a, &b), 1);
    EXPECT_EQ(Scan(u"  50 %", u"%d %%", &a), 1);
    EXPECT_EQ(a, 50);
    EXPECT_EQ(Scan(u"", u"x%d", &a), -1);
}

TEST(ScanTest, CharacterTakesCodeUnitsAsTheyAre) {
    char16_t c[3] = {};
    EXPECT_EQ(Scan(u" \xD800", u"%c%c", &c[0], &c[1]), 2);
    EXPECT_EQ(c[0], u' ');
    EXPECT_EQ(c[1], u'\xD800');
    EXPECT_EQ(Scan(u"a", u"%2c", c), -1);
}

TEST(ScanTest, UnknownConversionMatchesNothing) {
    std::int32_t a = 5;
    EXPECT_EQ(Scan(u"ff", u"%x", &a), 0);
    EXPECT_EQ(a, 5);
}

TEST(ScanTest, ScanSpaceIsTheSixAsciiBlanks) {
    for (char16_t c = 0; c < 0x3001; ++c) {
        const bool expected = c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
        ASSERT_EQ(IsScanSpace(c), expected) << static_cast<int>(c);
    }
    EXPECT_FALSE(IsScanSpace(u'\xD800'));
    EXPECT_FALSE(IsScanSpace(u'\xFEFF'));
}

} // namespace
