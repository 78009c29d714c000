// Reading .res files, finding resources by type, name and language, the
// string table and rebuilding icon files, on small files built here.
#include "platform/resources/resources.h"
#include "res_printers.h"
#include "res_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace res = platform::resources;
using test_res::Bytes;
using test_res::ResFile;

namespace {

constexpr WORD kGerman = 0x0407;
constexpr WORD kRcData = 10;

Bytes Tag(std::uint8_t b) { return Bytes{b}; }

} // namespace

TEST(ParseRes, ReadsEntriesSkipsTheMarkerAndKeepsUnpaddedData) {
    ResFile f;
    f.Add(kRcData, 7, res::LANG_EN_US, {1, 2, 3}).Add(res::RT_DLGINIT, 102, res::LANG_NEUTRAL, {9, 8, 7, 6, 5});
    const auto all = res::ParseRes(f.bytes);
    ASSERT_TRUE(all.has_value());
    ASSERT_EQ(all->size(), 2u);
    EXPECT_EQ((*all)[0].type, res::ResId::Of(kRcData));
    EXPECT_EQ((*all)[0].name, res::ResId::Of(7));
    EXPECT_EQ((*all)[0].language, res::LANG_EN_US);
    EXPECT_EQ(Bytes((*all)[0].data.begin(), (*all)[0].data.end()), (Bytes{1, 2, 3}));
    EXPECT_EQ((*all)[1].type, res::ResId::Of(res::RT_DLGINIT));
    EXPECT_EQ(Bytes((*all)[1].data.begin(), (*all)[1].data.end()), (Bytes{9, 8, 7, 6, 5}));
}

TEST(ParseRes, ReadsTypesAndNamesGivenAsStrings) {
    // Type "AB" (ordinal name 5): 8 + 6 + 4 = 18 bytes, padded to 20, + 16.
    Bytes f;
    test_res::AddEntry(f, 0, 0, 0, {});
    test_res::Put32(f, 1);
    test_res::Put32(f, 36);
    for (WORD unit : {u'A', u'B', u'\0'})
        test_res::Put16(f, unit);
    test_res::Put16(f, 0xFFFF);
    test_res::Put16(f, 5);
    test_res::Put16(f, 0);  // padding
    test_res::Put32(f, 0);
    test_res::Put16(f, 0);
    test_res::Put16(f, res::LANG_EN_US);
    test_res::Put32(f, 0);
    test_res::Put32(f, 0);
    f.push_back(0x42);
    const auto all = res::ParseRes(f);
    ASSERT_TRUE(all.has_value());
    ASSERT_EQ(all->size(), 1u);
    EXPECT_EQ((*all)[0].type, (res::ResId{std::nullopt, u"AB"}));
    EXPECT_EQ((*all)[0].name, res::ResId::Of(5));
    EXPECT_EQ((*all)[0].data[0], 0x42);
}

TEST(ParseRes, TheProgramCarriesItsCompiledResources) {
    EXPECT_FALSE(res::ProgramResources().empty());
}

TEST(FindIn, ExactLanguageThenNeutralThenAny) {
    struct Case {
        const char* what;
        std::vector<WORD> languages;  // stored in this order, data = index
        WORD asked;
        std::optional<std::uint8_t> want;
    };
    const Case cases[] = {
        {"exact wins over neutral before it", {res::LANG_NEUTRAL, res::LANG_EN_US}, res::LANG_EN_US, 1},
        {"neutral when the language is missing", {kGerman, res::LANG_NEUTRAL}, res::LANG_EN_US, 1},
        {"first of any other language last", {kGerman, 0x040C}, res::LANG_EN_US, 0},
        {"other language asked for", {res::LANG_EN_US, kGerman}, kGerman, 1},
        {"no such resource", {}, res::LANG_EN_US, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResFile f;
        f.Add(kRcData, 8, res::LANG_EN_US, Tag(0xEE));  // same type, another name
        for (std::size_t i = 0; i < c.languages.size(); ++i)
            f.Add(kRcData, 7, c.languages[i], Tag(static_cast<std::uint8_t>(i)));
        const auto all = res::ParseRes(f.bytes);
        ASSERT_TRUE(all.has_value());
        const auto found = res::FindIn(*all, res::ResId::Of(kRcData), res::ResId::Of(7), c.asked);
        ASSERT_EQ(found.has_value(), c.want.has_value());
        if (found) {
            EXPECT_EQ((*found)[0], *c.want);
        }
    }
}

namespace {

// A string-table block: 16 counted UTF-16 strings.
Bytes StringBlock(const std::vector<std::u16string>& strings) {
    Bytes b;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::u16string s = i < strings.size() ? strings[i] : u"";
        test_res::Put16(b, static_cast<std::uint32_t>(s.size()));
        for (char16_t c : s)
            test_res::Put16(b, c);
    }
    return b;
}

} // namespace

TEST(LoadString, FindsTheStringByBlockAndIndex) {
    // Ids 16..31 live in block 2; id 0..15 in block 1.
    ResFile f;
    f.Add(res::RT_STRING, 1, res::LANG_EN_US, StringBlock({u"zero", u"", u"two"}));
    f.Add(res::RT_STRING, 2, res::LANG_EN_US, StringBlock({u"sixteen", u"", u"", u"", u"", u"", u"", u"", u"",
                                                           u"", u"", u"", u"", u"", u"", u"thirty-one \u00e9"}));
    const auto all = res::ParseRes(f.bytes);
    ASSERT_TRUE(all.has_value());
    struct Case {
        UINT id;
        std::optional<std::u16string> want;
    };
    const Case cases[] = {
        {0, u"zero"},       {1, std::nullopt}, {2, u"two"}, {3, std::nullopt},
        {16, u"sixteen"},   {31, u"thirty-one \u00e9"},     {32, std::nullopt},
        {0x10000, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(res::LoadStringFrom(*all, c.id), c.want) << "id " << c.id;
}

namespace {

Bytes IconGroup(const std::vector<std::pair<BYTE, WORD>>& sizeAndImageId) {
    Bytes g;
    test_res::Put16(g, 0);
    test_res::Put16(g, 1);
    test_res::Put16(g, static_cast<std::uint32_t>(sizeAndImageId.size()));
    for (const auto& [size, imageId] : sizeAndImageId) {
        g.insert(g.end(), {size, size, 16, 0});
        test_res::Put16(g, 1);
        test_res::Put16(g, 4);
        test_res::Put32(g, 999);  // a wrong count: the image's own size counts
        test_res::Put16(g, imageId);
    }
    return g;
}

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

} // namespace

TEST(BuildIconFile, DirectoryPointsAtEachImageInOrder) {
    ResFile f;
    f.Add(res::RT_ICON, 1, res::LANG_EN_US, Bytes(5, 0xA1));
    f.Add(res::RT_ICON, 2, res::LANG_EN_US, Bytes(3, 0xB2));
    f.Add(res::RT_GROUP_ICON, 128, res::LANG_EN_US, IconGroup({{32, 2}, {16, 1}}));
    const auto all = res::ParseRes(f.bytes);
    ASSERT_TRUE(all.has_value());
    const auto ico = res::BuildIconFileFrom(*all, 128);
    ASSERT_TRUE(ico.has_value());
    const auto& b = *ico;
    ASSERT_EQ(b.size(), 6u + 2 * 16 + 3 + 5);
    EXPECT_EQ(b[2], 1);  // icon
    EXPECT_EQ(b[4], 2);  // two images
    // First entry: 32 px, image 2 (3 bytes) right after the directory.
    EXPECT_EQ(b[6], 32);
    EXPECT_EQ(Get32(b, 6 + 8), 3u);
    EXPECT_EQ(Get32(b, 6 + 12), 38u);
    EXPECT_EQ(b[38], 0xB2);
    // Second entry: 16 px, image 1 (5 bytes) after the first image.
    EXPECT_EQ(b[22], 16);
    EXPECT_EQ(Get32(b, 22 + 8), 5u);
    EXPECT_EQ(Get32(b, 22 + 12), 41u);
    EXPECT_EQ(b[41], 0xA1);
}

namespace {

// A 24-bit image header claiming `size` pixels square, followed by `pixelBytes`.
Bytes TrueColourImage(std::uint32_t size, std::size_t pixelBytes) {
    Bytes b;
    test_res::Put32(b, 40);
    test_res::Put32(b, size);
    test_res::Put32(b, size * 2);
    test_res::Put16(b, 1);
    test_res::Put16(b, 24);
    b.resize(40 + pixelBytes, 0);
    return b;
}

} // namespace

TEST(BuildIconFile, TrueColourImagesGetTheirMaskAsAlpha) {
    // 2 x 2 pixels: colour rows of 8 bytes (6 + padding), mask rows of 4.
    Bytes image = TrueColourImage(2, 2 * 8 + 2 * 4);
    const std::uint8_t bottomRow[] = {1, 2, 3, 4, 5, 6};
    const std::uint8_t topRow[] = {7, 8, 9, 10, 11, 12};
    std::copy(std::begin(bottomRow), std::end(bottomRow), image.begin() + 40);
    std::copy(std::begin(topRow), std::end(topRow), image.begin() + 48);
    image[56] = 0x40;  // bottom row: right pixel transparent
    image[60] = 0x80;  // top row: left pixel transparent
    ResFile f;
    f.Add(res::RT_ICON, 1, res::LANG_EN_US, image);
    f.Add(res::RT_GROUP_ICON, 128, res::LANG_EN_US, IconGroup({{2, 1}}));
    const auto all = res::ParseRes(f.bytes);
    ASSERT_TRUE(all.has_value());
    const auto ico = res::BuildIconFileFrom(*all, 128);
    ASSERT_TRUE(ico.has_value());
    const std::size_t at = 6 + 16;
    EXPECT_EQ((*ico)[6 + 6], 32) << "the directory announces 32 bits";
    EXPECT_EQ((*ico)[at + 14], 32) << "and so does the image";
    const Bytes pixels(ico->begin() + at + 40, ico->begin() + at + 40 + 16);
    EXPECT_EQ(pixels, (Bytes{1, 2, 3, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 10, 11, 12, 0xFF}));
    EXPECT_EQ(ico->size(), at + 40 + 16 + 8) << "the mask follows the pixels";
    EXPECT_EQ(Get32(*ico, 6 + 8), 40u + 16 + 8);
}

TEST(BuildIconFile, NothingForAMissingGroupOrImage) {
    ResFile f;
    f.Add(res::RT_ICON, 1, res::LANG_EN_US, Bytes(5, 0xA1));
    f.Add(res::RT_ICON, 2, res::LANG_EN_US, TrueColourImage(48, 100));
    f.Add(res::RT_ICON, 3, res::LANG_EN_US, TrueColourImage(0x7FFFFFFF, 100));
    f.Add(res::RT_GROUP_ICON, 128, res::LANG_EN_US, IconGroup({{32, 1}, {16, 9}}));
    f.Add(res::RT_GROUP_ICON, 129, res::LANG_EN_US, IconGroup({}));
    f.Add(res::RT_GROUP_ICON, 131, res::LANG_EN_US, IconGroup({{48, 2}}));
    f.Add(res::RT_GROUP_ICON, 132, res::LANG_EN_US, IconGroup({{48, 3}}));
    const auto all = res::ParseRes(f.bytes);
    ASSERT_TRUE(all.has_value());
    EXPECT_FALSE(res::BuildIconFileFrom(*all, 128).has_value()) << "image 9 is missing";
    EXPECT_FALSE(res::BuildIconFileFrom(*all, 129).has_value()) << "a group without images";
    EXPECT_FALSE(res::BuildIconFileFrom(*all, 130).has_value()) << "no such group";
    EXPECT_FALSE(res::BuildIconFileFrom(*all, 131).has_value()) << "24-bit image shorter than its size";
    EXPECT_FALSE(res::BuildIconFileFrom(*all, 132).has_value()) << "24-bit image of absurd size";
}
