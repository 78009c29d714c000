// Which sets of image paths a settings file gives back as they were saved.
#include "cli/settings_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsPaths, OnlyPathsWithoutGapsBlanksOrOverlongOnesComeBack) {
    const std::u16string longest(127, u'a');
    const std::u16string tooLong(128, u'a');
    struct Case {
        std::array<std::u16string_view, 4> paths;  // bootloader, kernel, cramfs, root file system
        bool unchanged;
    };
    const Case table[] = {
        {{u"/i/u-boot.bin", u"/i/zImage", u"/i/fs.cramfs", u"/i/rootfs.img"}, true},
        {{u"/i/u-boot.bin", u"/i/zImage", u"", u""}, true},  // empty ones only at the end
        {{u"", u"", u"", u""}, true},
        {{longest, u"", u"", u""}, true},
        {{u"", u"/i/zImage", u"", u""}, false},              // the kernel would load as the bootloader
        {{u"/i/u-boot.bin", u"/i/zImage", u"", u"/i/rootfs.img"}, false},  // rootfs would load as cramfs
        {{u"/my images/u-boot.bin", u"", u"", u""}, false},
        {{u"/i/u-boot.bin", u"/i/z\tImage", u"", u""}, false},
        {{tooLong, u"", u"", u""}, false},
    };
    for (std::size_t row = 0; row < std::size(table); ++row)
        EXPECT_EQ(cli::PathsLoadBackUnchanged(table[row].paths), table[row].unchanged) << "row " << row;
}

} // namespace
