// The settings file's bytes without a dialog: the exact 2048 bytes written
// for given choices, and what reading a file's bytes fills in.
#include "ui/settings_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace settings;

namespace {

// Little-endian code units, zero-filled (and cut) to the file's 2048 bytes.
FileBytes BytesOf(const std::u16string& text) {
    FileBytes bytes{};
    for (std::size_t i = 0; i < text.size() && 2 * i + 1 < bytes.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return bytes;
}

std::u16string Slot(const LoadedSettings& loaded, PathField field) {
    return std::u16string(loaded.paths[field].data());
}

// What loading prepares before it reads: first items, sizes 512 4 8 0, "0".
LoadedSettings Prepared() {
    LoadedSettings loaded;
    loaded.numbers[kBootloaderPartSize] = 512;
    loaded.numbers[kKernelPartSize] = 4;
    loaded.numbers[kRootfsPartSize] = 8;
    loaded.numbers[kRootfsStartSector] = 0;
    for (auto& slot : loaded.paths)
        slot[0] = u'0';
    return loaded;
}

LoadedSettings Load(const FileBytes& bytes) {
    LoadedSettings loaded = Prepared();
    ParseSettingsFile(bytes, loaded);
    return loaded;
}

// Drive F, 8 KB, 1 KB, 512 KB, 4 MB, 8 MB, start 100, no cramfs image.
SavedSettings Example() {
    SavedSettings s;
    s.numbers = {2, 1, 0, 512, 0, 4, 1, 8, 1, 100};
    s.paths = {u"D:\\images\\boot.bin", u"D:\\images\\zImage", u"", u"D:\\images\\rootfs.img"};
    return s;
}

const char16_t kExampleText[] = u"2 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin D:\\images\\zImage  D:\\images\\rootfs.img";

TEST(SettingsTextTest, ExampleIsWrittenByteForByte) {
    const FileBytes bytes = FormatSettingsFile(Example());
    ASSERT_EQ(bytes.size(), 2048u);
    // No byte-order mark: the file starts with '2' as 32 00.
    EXPECT_EQ(bytes[0], 0x32);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes, BytesOf(kExampleText));
}

TEST(SettingsTextTest, ExampleLoadsWithTheRootfsPathMovedUpOneSlot) {
    const LoadedSettings loaded = Load(BytesOf(kExampleText));
    const std::array<std::int32_t, kNumberFieldCount> expected = {2, 1, 0, 512, 0, 4, 1, 8, 1, 100};
    EXPECT_EQ(loaded.numbers, expected);
    EXPECT_EQ(Slot(loaded, kBootloaderPath), u"D:\\images\\boot.bin");
    EXPECT_EQ(Slot(loaded, kKernelPath), u"D:\\images\\zImage");
    // The two spaces of the empty cramfs path are one separator.
    EXPECT_EQ(Slot(loaded, kCramfsPath), u"D:\\images\\rootfs.img");
    EXPECT_EQ(Slot(loaded, kRootfsPath), u"0");
}

TEST(SettingsTextTest, EveryPathSetRoundTrips) {
    SavedSettings s = Example();
    s.paths[kCramfsPath] = u"/home/op/cards/root.cramfs";
    const LoadedSettings loaded = Load(FormatSettingsFile(s));
    for (std::size_t i = 0; i < kPathFieldCount; ++i)
        EXPECT_EQ(Slot(loaded, static_cast<PathField>(i)), std::u16string(s.paths[i]));
}

TEST(SettingsTextTest, NoDriveIsMinusOne) {
    SavedSettings s = Example();
    s.numbers[kDriveSelection] = -1;
    const FileBytes bytes = FormatSettingsFile(s);
    EXPECT_EQ(bytes, BytesOf(u"-1 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin D:\\images\\zImage  D:\\images\\rootfs.img"));
    EXPECT_EQ(Load(bytes).numbers[kDriveSelection], -1);
}

TEST(SettingsTextTest, AllPathsEmptyEndWithFourSpacesAndLoadAsZero) {
    SavedSettings s = Example();
    s.paths = {u"", u"", nullptr, u""};
    const FileBytes bytes = FormatSettingsFile(s);
    EXPECT_EQ(bytes, BytesOf(u"2 1 0 512 0 4 1 8 1 100    "));
    const LoadedSettings loaded = Load(bytes);
    EXPECT_EQ(loaded.numbers[kRootfsStartSector], 100);
    for (std::size_t i = 0; i < kPathFieldCount; ++i)
        EXPECT_EQ(Slot(loaded, static_cast<PathField>(i)), u"0");
}

TEST(SettingsTextTest, UnsignedValuesTravelAsSignedBits) {
    SavedSettings s = Example();
    s.numbers[kBootloaderPartSize] = static_cast<std::int32_t>(4294967295u);
    s.numbers[kRootfsStartSector] = static_cast<std::int32_t>(2147483648u);
    const FileBytes bytes = FormatSettingsFile(s);
    EXPECT_EQ(bytes, BytesOf(u"2 1 0 -1 0 4 1 8 1 -2147483648 D:\\images\\boot.bin D:\\images\\zImage  "
                             u"D:\\images\\rootfs.img"));
    const LoadedSettings loaded = Load(bytes);
    EXPECT_EQ(static_cast<std::uint32_t>(loaded.numbers[kBootloaderPartSize]), 4294967295u);
    EXPECT_EQ(static_cast<std::uint32_t>(loaded.numbers[kRootfsStartSector]), 2147483648u);
}

TEST(SettingsTextTest, UnreadableStartKeepsEveryPreparedValue) {
    // Empty, blank, a letter first, a sign alone, a NUL first with text after it.
    const std::u16string texts[] = {u"", u"  \r\n ", u"x 1 0 512", u"- 1 0", std::u16string(1, u'\0') + u"3 1 1"};
    for (const std::u16string& text : texts) {
        const LoadedSettings loaded = Load(BytesOf(text));
        const LoadedSettings prepared = Prepared();
        EXPECT_EQ(loaded.numbers, prepared.numbers) << text.size();
        EXPECT_EQ(loaded.paths, prepared.paths) << text.size();
    }
}

TEST(SettingsTextTest, ReadingStopsAtTheFirstUnreadableField) {
    const LoadedSettings loaded = Load(BytesOf(u"3 2 1 64 x 7 0 9 0 5 a b c d"));
    EXPECT_EQ(loaded.numbers[kDriveSelection], 3);
    EXPECT_EQ(loaded.numbers[kBootloaderPartSize], 64);
    EXPECT_EQ(loaded.numbers[kBootloaderUnitSelection], 0);  // prepared
    EXPECT_EQ(loaded.numbers[kKernelPartSize], 4);           // prepared, not 7
    EXPECT_EQ(loaded.numbers[kRootfsStartSector], 0);
    EXPECT_EQ(Slot(loaded, kBootloaderPath), u"0");
}

TEST(SettingsTextTest, FieldsMaySeparateByAnyWhiteSpaceAndCarrySigns) {
    const LoadedSettings loaded =
        Load(BytesOf(u"\t+4\r\n1 \v\f0 -0 +1 0004 7 -1 0 4294967295\n\n/a/boot.bin\t/b/z\r\n/c d"));
    const std::array<std::int32_t, kNumberFieldCount> expected = {4, 1, 0, 0, 1, 4, 7, -1, 0, -1};
    EXPECT_EQ(loaded.numbers, expected);
    EXPECT_EQ(Slot(loaded, kBootloaderPath), u"/a/boot.bin");
    EXPECT_EQ(Slot(loaded, kKernelPath), u"/b/z");
    // A path with a blank in it splits into two fields.
    EXPECT_EQ(Slot(loaded, kCramfsPath), u"/c");
    EXPECT_EQ(Slot(loaded, kRootfsPath), u"d");
}

TEST(SettingsTextTest, PathsKeepEveryUtf16CodeUnit) {
    SavedSettings s = Example();
    const char16_t kNonAscii[] = u"/m\x00E9" u"dia/\x0444\x0430\x0439\x043B/\xD83D\xDCBE.bin";
    const char16_t kLone[] = u"/x\xDC00y\xD800";
    s.paths = {kNonAscii, kLone, u"\x0100\xFFFF", u"/r"};
    const FileBytes bytes = FormatSettingsFile(s);
    // Little-endian: U+0100 is 00 01.
    const std::size_t at = std::u16string(u"2 1 0 512 0 4 1 8 1 100 ").size() + std::u16string(kNonAscii).size() +
                           1 + std::u16string(kLone).size() + 1;
    EXPECT_EQ(bytes[2 * at], 0x00);
    EXPECT_EQ(bytes[2 * at + 1], 0x01);
    const LoadedSettings loaded = Load(bytes);
    EXPECT_EQ(Slot(loaded, kBootloaderPath), kNonAscii);
    EXPECT_EQ(Slot(loaded, kKernelPath), kLone);
    EXPECT_EQ(Slot(loaded, kCramfsPath), u"\x0100\xFFFF");
    EXPECT_EQ(Slot(loaded, kRootfsPath), u"/r");
}

TEST(SettingsTextTest, LongTextIsCutAt1023CodeUnitsThenNulAndZeros) {
    SavedSettings s = Example();
    const std::u16string kernel = u"/k/" + std::u16string(1200, u'k');
    s.paths[kKernelPath] = kernel.c_str();
    const FileBytes bytes = FormatSettingsFile(s);
    const std::u16string full = std::u16string(u"2 1 0 512 0 4 1 8 1 100 D:\\images\\boot.bin ") + kernel;
    EXPECT_EQ(bytes, BytesOf(full.substr(0, 1023)));
    EXPECT_EQ(bytes[2044], u'k');
    EXPECT_EQ(bytes[2046], 0);
    EXPECT_EQ(bytes[2047], 0);

    // The cut path is longer than a slot: it is passed over, and the slots
    // the text never reached keep "0".
    const LoadedSettings loaded = Load(bytes);
    EXPECT_EQ(Slot(loaded, kBootloaderPath), u"D:\\images\\boot.bin");
    EXPECT_EQ(Slot(loaded, kKernelPath), u"0");
    EXPECT_EQ(Slot(loaded, kCramfsPath), u"0");
    EXPECT_EQ(Slot(loaded, kRootfsPath), u"0");
}

TEST(SettingsTextTest, TextFillingAllBytesEndsWithThem) {
    // No NUL anywhere in the 2048 bytes: the last path ends at the last byte.
    std::u16string text = u"1 1 1 1 1 1 1 1 1 1 a b c ";
    text += std::u16string(kFileUnits - text.size() - 5, u' ') + u"/last";
    ASSERT_EQ(text.size(), kFileUnits);
    const LoadedSettings loaded = Load(BytesOf(text));
    EXPECT_EQ(Slot(loaded, kRootfsPath), u"/last");
}

TEST(SettingsTextTest, PathSlotHolds127CodeUnitsAndPassesOverLongerPaths) {
    const std::u16string fits = u"/" + std::u16string(126, u'f');
    const std::u16string tooLong = u"/" + std::u16string(127, u'l');
    ASSERT_EQ(fits.size(), 127u);
    ASSERT_EQ(tooLong.size(), 128u);
    SavedSettings s = Example();
    s.paths = {fits.c_str(), tooLong.c_str(), u"/c", u"/r"};
    const LoadedSettings loaded = Load(FormatSettingsFile(s));
    EXPECT_EQ(Slot(loaded, kBootloaderPath), fits);
    EXPECT_EQ(Slot(loaded, kKernelPath), u"0");
    // The paths after it still land in their own slots.
    EXPECT_EQ(Slot(loaded, kCramfsPath), u"/c");
    EXPECT_EQ(Slot(loaded, kRootfsPath), u"/r");
}

TEST(SettingsTextTest, ALoadedPathReplacesTheWholeSlot) {
    LoadedSettings loaded = Prepared();
    loaded.paths[kBootloaderPath].fill(u'x');
    ParseSettingsFile(BytesOf(u"0 0 0 0 0 0 0 0 0 0 ab"), loaded);
    EXPECT_EQ(Slot(loaded, kBootloaderPath), u"ab");
    EXPECT_EQ(loaded.paths[kBootloaderPath][kPathSlotUnits - 1], u'\0');
}

TEST(SettingsTextTest, SelectionsOutsideTheirListsAreReadAsGiven) {
    const LoadedSettings loaded = Load(BytesOf(u"22 5 -1 512 7 4 2 8 -5 0"));
    EXPECT_EQ(loaded.numbers[kDriveSelection], 22);
    EXPECT_EQ(loaded.numbers[kSramSizeSelection], 5);
    EXPECT_EQ(loaded.numbers[kEfuseSizeSelection], -1);
    EXPECT_EQ(loaded.numbers[kBootloaderUnitSelection], 7);
    EXPECT_EQ(loaded.numbers[kRootfsUnitSelection], -5);
}

} // namespace
