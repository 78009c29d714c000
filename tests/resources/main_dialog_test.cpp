// The compiled main dialog (template 102) and its initial list items,
// checked against the dialog's control table.
#include "platform/resources/resources.h"
#include "res_printers.h"
#include "resource.h"
#include "window_styles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace res = platform::resources;

namespace {

// The kinds of control: window class and the style bits besides WS_CHILD and
// WS_VISIBLE.
enum class Kind {
    DefaultButton, Button, CheckBox, GroupBox, Edit, ReadOnlyEdit,
    Label, CentredLabel, VCentredLabel, DropDown, SortedDropDown
};

struct KindBits {
    WORD windowClass;
    DWORD style;
};

KindBits BitsOf(Kind k) {
    switch (k) {
    case Kind::DefaultButton: return {CTL_BUTTON, WS_TABSTOP | BS_DEFPUSHBUTTON};
    case Kind::Button: return {CTL_BUTTON, WS_TABSTOP};
    case Kind::CheckBox: return {CTL_BUTTON, WS_TABSTOP | BS_CHECKBOX};
    case Kind::GroupBox: return {CTL_BUTTON, BS_GROUPBOX};
    case Kind::Edit: return {CTL_EDIT, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
    case Kind::ReadOnlyEdit: return {CTL_EDIT, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY};
    case Kind::Label: return {CTL_STATIC, WS_GROUP};
    case Kind::CentredLabel: return {CTL_STATIC, WS_GROUP | SS_CENTER};
    case Kind::VCentredLabel: return {CTL_STATIC, WS_GROUP | SS_CENTERIMAGE};
    case Kind::DropDown: return {CTL_COMBOBOX, WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN};
    case Kind::SortedDropDown: return {CTL_COMBOBOX, WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_SORT};
    }
    return {};
}

constexpr bool Y = true;   // shown
constexpr bool N = false;  // hidden
constexpr int NoId = -1;
const char16_t* const kFusedFrom = u"The image file will be fused from ";

struct Row {
    int id;
    Kind kind;
    const char16_t* text;
    bool shown;
    short x, y, cx, cy;
};

// In template (tab) order.
const std::vector<Row> kControls = {
    {1000, Kind::DefaultButton, u"START", Y, 154, 223, 93, 24},
    {1002, Kind::Edit, u"", Y, 158, 46, 176, 15},
    {1003, Kind::Button, u"Browse", Y, 340, 46, 32, 16},
    {1006, Kind::ReadOnlyEdit, u"", Y, 156, 13, 83, 14},
    {NoId, Kind::Label, u"Drive Size", Y, 119, 16, 33, 12},
    {NoId, Kind::VCentredLabel, u"T-Flash Drive", Y, 23, 16, 47, 13},
    {1007, Kind::ReadOnlyEdit, u"", Y, 226, 66, 35, 16},
    {NoId, Kind::Label, u"to", Y, 266, 68, 10, 12},
    {1008, Kind::ReadOnlyEdit, u"", Y, 276, 66, 38, 16},
    {NoId, Kind::Label, u"on drive", Y, 321, 68, 30, 12},
    {1009, Kind::ReadOnlyEdit, u"", Y, 352, 66, 18, 16},
    {1011, Kind::SortedDropDown, u"", Y, 74, 14, 30, 15},
    {NoId, Kind::GroupBox, u"Bootloader", Y, 114, 32, 271, 57},
    {NoId, Kind::Label, u"Bootloader", Y, 28, 108, 49, 8},
    {1012, Kind::Edit, u"", Y, 26, 119, 40, 13},
    {1004, Kind::Edit, u"", Y, 158, 106, 176, 15},
    {1005, Kind::Button, u"Browse", Y, 340, 105, 32, 16},
    {1010, Kind::ReadOnlyEdit, u"", Y, 226, 126, 35, 16},
    {NoId, Kind::Label, kFusedFrom, Y, 120, 129, 106, 12},
    {NoId, Kind::Label, u"to", Y, 266, 129, 10, 12},
    {1013, Kind::ReadOnlyEdit, u"", Y, 276, 126, 38, 16},
    {NoId, Kind::Label, u"on drive", Y, 321, 128, 30, 12},
    {1014, Kind::ReadOnlyEdit, u"", Y, 352, 126, 18, 16},
    {NoId, Kind::GroupBox, u"Kernel", Y, 114, 92, 271, 57},
    {1015, Kind::Edit, u"", Y, 25, 163, 40, 13},
    {1021, Kind::Edit, u"", N, 26, 185, 40, 13},
    {1022, Kind::Edit, u"", Y, 160, 164, 174, 15},
    {1023, Kind::Button, u"Browse", Y, 341, 163, 32, 16},
    {NoId, Kind::GroupBox, u"Android RootFS", Y, 114, 154, 271, 53},
    {NoId, Kind::Label, u"Image file", Y, 120, 49, 36, 12},
    {1037, Kind::DropDown, u"", Y, 68, 119, 30, 15},
    {1038, Kind::DropDown, u"", Y, 67, 163, 30, 15},
    {1039, Kind::DropDown, u"", N, 68, 185, 30, 15},
    {NoId, Kind::Label, u"Start Sector", Y, 120, 187, 40, 8},
    {1041, Kind::Edit, u"", Y, 160, 185, 57, 15},
    {NoId, Kind::Label, u"Kernel", Y, 27, 152, 49, 8},
    {NoId, Kind::Label, u"Image file", Y, 120, 109, 36, 12},
    {NoId, Kind::Label, kFusedFrom, Y, 120, 69, 106, 12},
    {NoId, Kind::Label, u"Rootfs", N, 28, 175, 49, 8},
    {NoId, Kind::Label, u"Image File", Y, 119, 166, 36, 12},
    {NoId, Kind::GroupBox, u"Partition Size", Y, 17, 92, 87, 114},
    {NoId, Kind::GroupBox, u"Size Configuration", Y, 17, 32, 87, 57},
    {1031, Kind::DropDown, u"", Y, 65, 46, 33, 30},
    {1032, Kind::DropDown, u"", Y, 65, 67, 33, 16},
    {NoId, Kind::CentredLabel, u"SRAM Size", Y, 24, 48, 36, 11},
    {NoId, Kind::CentredLabel, u"EFuse Size", Y, 24, 69, 36, 11},
    {1034, Kind::Button, u"Load", N, 284, 13, 50, 14},
    {1035, Kind::Button, u"Save", N, 335, 13, 50, 14},
    {1033, Kind::CheckBox, u"SDHC", N, 243, 16, 34, 10},
    {1017, Kind::Button, u"Browse", N, 295, 223, 32, 16},
    {1016, Kind::Edit, u"", N, 113, 223, 176, 15},
    {1018, Kind::ReadOnlyEdit, u"", N, 181, 242, 35, 16},
    {NoId, Kind::Label, u"to", N, 221, 244, 10, 12},
    {1019, Kind::ReadOnlyEdit, u"", N, 231, 242, 38, 16},
    {NoId, Kind::Label, u"on drive", N, 277, 244, 30, 12},
    {NoId, Kind::Label, kFusedFrom, N, 75, 244, 106, 12},
    {NoId, Kind::Label, u"Image file", N, 75, 225, 36, 12},
    {1020, Kind::ReadOnlyEdit, u"", N, 307, 242, 18, 16},
    {NoId, Kind::GroupBox, u"Rootfs", N, 69, 210, 271, 54},
    {1036, Kind::Edit, u"", Y, 279, 185, 37, 14},
};

res::DialogTemplate MainDialog() {
    const auto bytes = res::Find(res::ResId::Of(res::RT_DIALOG), res::ResId::Of(IDD_VEXO_DIALOG));
    EXPECT_TRUE(bytes.has_value());
    if (!bytes)
        return {};
    const auto dlg = res::ParseDialog(*bytes);
    EXPECT_TRUE(dlg.has_value());
    return dlg.value_or(res::DialogTemplate{});
}

std::string Utf8(const std::u16string& s) { return std::string(s.begin(), s.end()); }

} // namespace

TEST(MainDialogTemplate, WindowCaptionStylesAndFont) {
    const auto dlg = MainDialog();
    EXPECT_EQ(dlg.caption, u"TALVEN Strovane   Version 0.98c");
    EXPECT_EQ(dlg.style, DWORD{WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                               DS_FIXEDSYS | DS_3DLOOK});
    EXPECT_EQ(dlg.exStyle, DWORD{WS_EX_APPWINDOW | WS_EX_WINDOWEDGE});
    EXPECT_EQ(dlg.x, 0);
    EXPECT_EQ(dlg.y, 0);
    EXPECT_EQ(dlg.cx, 404);
    EXPECT_EQ(dlg.cy, 273);
    EXPECT_EQ(dlg.pointSize, 8);
    EXPECT_EQ(dlg.typeface, u"MS Shell Dlg");
    EXPECT_EQ(dlg.menu, (res::ResId{std::nullopt, u""})) << "no menu";
    EXPECT_EQ(dlg.windowClass, (res::ResId{std::nullopt, u""})) << "the standard dialog class";
}

TEST(MainDialogTemplate, IsStoredInEnglishUnitedStates) {
    int found = 0;
    for (const auto& r : res::ProgramResources()) {
        if (r.type == res::ResId::Of(res::RT_DIALOG) && r.name == res::ResId::Of(IDD_VEXO_DIALOG)) {
            EXPECT_EQ(r.language, res::LANG_EN_US);
            ++found;
        }
    }
    EXPECT_EQ(found, 1);
}

TEST(MainDialogTemplate, EveryControlInTabOrderAsTheTableGivesIt) {
    const auto dlg = MainDialog();
    ASSERT_EQ(dlg.items.size(), kControls.size());
    ASSERT_EQ(kControls.size(), 60u);
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const Row& want = kControls[i];
        const res::DialogItem& got = dlg.items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " \"" + Utf8(want.text) + "\" id " +
                     std::to_string(want.id));
        const KindBits bits = BitsOf(want.kind);
        EXPECT_EQ(got.id, static_cast<DWORD>(want.id));
        EXPECT_EQ(got.windowClass, res::ResId::Of(bits.windowClass));
        EXPECT_EQ(got.style, WS_CHILD | (want.shown ? DWORD{WS_VISIBLE} : 0) | bits.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.title, (res::ResId{std::nullopt, want.text}));
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
    }
}

TEST(MainDialogTemplate, SixteenControlsAreHidden) {
    const auto dlg = MainDialog();
    int hidden = 0;
    for (const auto& item : dlg.items)
        hidden += (item.style & WS_VISIBLE) == 0;
    EXPECT_EQ(hidden, 16);
}

// The list items as the dialog's initialisation reads them.
TEST(MainDialogInitialItems, RecordsInTableOrder) {
    const auto bytes = res::Find(res::ResId::Of(res::RT_DLGINIT), res::ResId::Of(IDD_VEXO_DIALOG));
    ASSERT_TRUE(bytes.has_value());
    const auto items = res::ParseDlgInit(*bytes);
    ASSERT_TRUE(items.has_value());

    std::vector<std::pair<WORD, std::string>> want;
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        want.push_back({1011, std::string(1, letter)});
    for (WORD unitList : {1037, 1038, 1039}) {
        want.push_back({unitList, "KB"});
        want.push_back({unitList, "MB"});
    }
    for (const char* s : {"4 KB", "8 KB", "16 KB", "32 KB", "64 KB"})
        want.push_back({1031, s});
    for (const char* s : {"1 KB", "2 KB"})
        want.push_back({1032, s});

    ASSERT_EQ(items->size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ((*items)[i].controlId, want[i].first);
        EXPECT_EQ((*items)[i].message, 0x0403);
        EXPECT_EQ((*items)[i].text, want[i].second);
    }
}

TEST(MainDialogInitialItems, RawBytesCarryLengthWithTerminatorAndEndWithZeroId) {
    const auto bytes = res::Find(res::ResId::Of(res::RT_DLGINIT), res::ResId::Of(IDD_VEXO_DIALOG));
    ASSERT_TRUE(bytes.has_value());
    const std::vector<std::uint8_t> raw(bytes->begin(), bytes->end());
    // First record: 1011, 0x0403, length 2 (32 bits), "D" and its zero.
    const std::vector<std::uint8_t> first = {0xF3, 0x03, 0x03, 0x04, 0x02, 0x00, 0x00, 0x00, 'D', 0x00};
    ASSERT_GE(raw.size(), first.size() + 2);
    EXPECT_EQ(std::vector<std::uint8_t>(raw.begin(), raw.begin() + first.size()), first);
    // Last record: 1032, "2 KB" (5 bytes with its zero), then the zero id.
    const std::vector<std::uint8_t> tail = {0x08, 0x04, 0x03, 0x04, 0x05, 0x00, 0x00, 0x00,
                                            '2',  ' ',  'K',  'B',  0x00, 0x00, 0x00};
    ASSERT_GE(raw.size(), tail.size());
    EXPECT_EQ(std::vector<std::uint8_t>(raw.end() - tail.size(), raw.end()), tail);
    // 36 records of 8 header bytes plus their texts, and the 2-byte end.
    std::size_t textBytes = 23 * 2 + 6 * 3 + 2 * 5 + 3 * 6 + 2 * 5;
    EXPECT_EQ(raw.size(), 36 * 8 + textBytes + 2);
}
