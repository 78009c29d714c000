// CString: null pointers as empty text, Left's bounds, formatting (including
// from the string's own text), concatenation and string-table loading.
#include "platform/classlib/cstring.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

TEST(CStringTest, NullPointerIsEmptyText) {
    const char16_t* none = nullptr;
    EXPECT_TRUE(CString(none).IsEmpty());
    EXPECT_TRUE(CString(none, 5).IsEmpty());
    CString s(u"x");
    s = none;
    EXPECT_TRUE(s.IsEmpty());
    s += none;
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringTest, LengthCountsCodeUnits) {
    const CString s(u"a\xD83D\xDE00" u"b");
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_EQ(s.GetAt(1), u'\xD83D');
    EXPECT_EQ(CString(u"abc\0def", 7).GetLength(), 7);
}

TEST(CStringTest, LeftClampsItsCount) {
    const CString s(u"abcdef");
    EXPECT_EQ(s.Left(3), u"abc");
    EXPECT_EQ(s.Left(0), u"");
    EXPECT_EQ(s.Left(-2), u"");
    EXPECT_EQ(s.Left(99), u"abcdef");
}

TEST(CStringTest, FormatTheSystemsTexts) {
    CString s;
    s.Format(u"%d sectors", 7774208);
    EXPECT_EQ(s, u"7774208 sectors");
    s.Format(u"  %d %%", 100);
    EXPECT_EQ(s, u"  100 %");
    s.Format(u"%lu", 4294967295u);
    EXPECT_EQ(s, u"4294967295");
    s.Format(u"%d", -1);
    EXPECT_EQ(s, u"-1");
    s.Format(u"%s", u"\xD800" u"F");
    EXPECT_EQ(s, u"\xD800" u"F");
}

TEST(CStringTest, FormatMayReadItsOwnText) {
    CString s(u"abc");
    s.Format(u"[%s|%s]", s.GetString(), s.GetString());
    EXPECT_EQ(s, u"[abc|abc]");
}

TEST(CStringTest, Concatenation) {
    CString a(u"F");
    a += CString(u":");
    a += u"\\";
    EXPECT_EQ(a, u"F:\\");
    EXPECT_EQ(CString(u"ab") + CString(u"cd"), u"abcd");
    a += a.GetString();
    EXPECT_EQ(a, u"F:\\F:\\");
}

TEST(CStringTest, LoadStringReadsTheProgramsStringTable) {
    CString s;
    EXPECT_EQ(s.LoadString(IDS_ABOUTBOX), TRUE);
    EXPECT_EQ(s.Str(), u"&About Corvanti...");
}

TEST(CStringTest, LoadStringOfAMissingIdIsFalseAndEmpty) {
    CString s(u"old");
    EXPECT_EQ(s.LoadString(0xFFF0), FALSE);
    EXPECT_TRUE(s.IsEmpty());
}

} // namespace
