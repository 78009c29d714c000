// The application icon: nine images (48, 32, 16 px, each in 16 colours,
// 256 colours and 24-bit colour), and the .ico file rebuilt from them.
#include "platform/resources/resources.h"
#include "resource.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace res = platform::resources;

namespace {

std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

} // namespace

TEST(ApplicationIcon, GroupListsNineImagesWhoseBitmapsAgree) {
    const auto group = res::Find(res::ResId::Of(res::RT_GROUP_ICON), res::ResId::Of(IDR_MAINFRAME));
    ASSERT_TRUE(group.has_value());
    ASSERT_GE(group->size(), 6u);
    const WORD count = Get16(*group, 4);
    ASSERT_EQ(count, 9);
    ASSERT_EQ(group->size(), 6u + 14u * count);

    std::set<std::pair<int, int>> seen;  // size, bits per pixel
    for (WORD i = 0; i < count; ++i) {
        const std::size_t at = 6 + 14 * i;
        const int width = (*group)[at], height = (*group)[at + 1], colours = (*group)[at + 2];
        const int bitCount = Get16(*group, at + 6);
        const WORD imageId = Get16(*group, at + 12);
        SCOPED_TRACE("image " + std::to_string(width) + " px, " + std::to_string(bitCount) + " bits");
        EXPECT_EQ(width, height);
        EXPECT_EQ(colours, bitCount == 4 ? 16 : 0);
        seen.insert({width, bitCount});

        const auto image = res::Find(res::ResId::Of(res::RT_ICON), res::ResId::Of(imageId));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(Get32(*group, at + 8), image->size());
        // The image's own header: 40 bytes, the height counting the mask too.
        ASSERT_GE(image->size(), 40u);
        EXPECT_EQ(Get32(*image, 0), 40u);
        EXPECT_EQ(Get32(*image, 4), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Get32(*image, 8), static_cast<std::uint32_t>(2 * height));
        EXPECT_EQ(Get16(*image, 14), bitCount);
        const std::size_t palette = bitCount <= 8 ? 4u << bitCount : 0;
        const std::size_t colourRow = (width * bitCount + 31) / 32 * 4;
        const std::size_t maskRow = (width + 31) / 32 * 4;
        EXPECT_EQ(image->size(), 40 + palette + height * (colourRow + maskRow));
    }
    const std::set<std::pair<int, int>> want = {{48, 4}, {48, 8}, {48, 24}, {32, 4}, {32, 8},
                                                {32, 24}, {16, 4}, {16, 8}, {16, 24}};
    EXPECT_EQ(seen, want);
}

TEST(ApplicationIcon, RebuiltFileLoadsAsNineImagesWithTransparentCorners) {
    const auto ico = res::BuildIconFile(IDR_MAINFRAME);
    ASSERT_TRUE(ico.has_value());
    QByteArray bytes(reinterpret_cast<const char*>(ico->data()), static_cast<qsizetype>(ico->size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 9);
    std::multiset<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        SCOPED_TRACE("image " + std::to_string(i) + ", " + std::to_string(image.width()) + " px, " +
                     std::to_string(image.depth()) + " bits");
        EXPECT_EQ(image.width(), image.height());
        sizes.insert(image.width());
        // The card leaves the top right corner and the edges free, and covers the middle.
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(0, image.height() / 2)), 0);
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }
    EXPECT_EQ(sizes, (std::multiset<int>{16, 16, 16, 32, 32, 32, 48, 48, 48}));
}
TEST(ApplicationIcon, EveryTruncatedGroupIsRefused) {
    const auto found = res::Find(res::ResId::Of(res::RT_GROUP_ICON), res::ResId::Of(IDR_MAINFRAME));
    ASSERT_TRUE(found.has_value());
    const std::vector<std::uint8_t> group(found->begin(), found->end());
    std::vector<res::Resource> all = res::ProgramResources();
    for (std::size_t cut = 0; cut < group.size(); ++cut) {
        for (auto& r : all)
            if (r.type == res::ResId::Of(res::RT_GROUP_ICON))
                r.data = std::span(group.data(), cut);
        ASSERT_FALSE(res::BuildIconFileFrom(all, IDR_MAINFRAME).has_value()) << "cut at " << cut;
    }
}
