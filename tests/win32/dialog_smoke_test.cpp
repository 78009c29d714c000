// The main dialog on the real window system: built by the system's dialog
// manager from the template in the program's resource section, its lists
// filled from the initial data, notifications dispatched through the
// message map, a fusing run on an image drive pressed through START, and the
// modal runs of the start-up and the About box closed by program. Message
// boxes are answered by the test hook.
#include "card_image.h"
#include "platform/classlib/combo_item_tooltips.h"
#include "platform/testing/ui_hooks.h"
#include "ui/VEXOApp.h"
#include "ui/VEXODlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::u16string TextOf(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, AsWide(text.data()), static_cast<int>(text.size()))));
    return text;
}

std::u16string ItemText(HWND combo, int index) {
    std::u16string text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

class WindowsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&init);
    }
    void SetUp() override {
        platform::testing::SetMessageBoxHook([this](const platform::testing::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
    }
    void TearDown() override { platform::testing::SetMessageBoxHook(nullptr); }

    HWND Item(int id) const { return GetDlgItem(dialog.GetSafeHwnd(), id); }

    // What the operator's actions send: a list choice, a click, leaving a box.
    void Choose(int id, int index) {
        SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(id, CBN_SELCHANGE);
    }
    void Type(int id, const char16_t* text) { SetWindowTextW(Item(id), AsWide(text)); }
    void Notify(int id, UINT code) {
        SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }

    CVEXODlg dialog;
    std::vector<platform::testing::MessageBoxCall> boxes;
};

TEST_F(WindowsDialogTest, BuiltFromItsTemplateWithListsFilledAndTheAboutItem) {
    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    const HWND window = dialog.GetSafeHwnd();
    EXPECT_EQ(TextOf(window), u"TALVEN Strovane   Version 0.98c");
    int controls = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++controls;
    EXPECT_EQ(controls, 60);
    EXPECT_FALSE(IsWindowVisible(Item(IDC_LOAD)));
    EXPECT_TRUE(IsWindowVisible(Item(IDC_START)));

    const HWND drives = Item(IDC_DRIVE);
    EXPECT_EQ(SendMessageW(drives, CB_GETCOUNT, 0, 0), 23);
    EXPECT_EQ(ItemText(drives, 0), u"D");
    EXPECT_EQ(ItemText(drives, 22), u"Z");
    EXPECT_EQ(SendMessageW(drives, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(Item(IDC_SRAM_SIZE), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(ItemText(Item(IDC_SRAM_SIZE), 4), u"64 KB");
    EXPECT_EQ(SendMessageW(Item(IDC_EFUSE_SIZE), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(Item(IDC_KERNEL_UNIT), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TextOf(Item(IDC_BOOTLOADER_PART_SIZE)), u"512");
    EXPECT_EQ(TextOf(Item(IDC_KERNEL_PART_SIZE)), u"4");
    EXPECT_EQ(TextOf(Item(IDC_ROOTFS_START_SECTOR)), u"0");

    const HMENU systemMenu = GetSystemMenu(window, FALSE);
    const int items = GetMenuItemCount(systemMenu);
    ASSERT_GE(items, 2);
    EXPECT_EQ(GetMenuItemID(systemMenu, items - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(GetMenuState(systemMenu, items - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    wchar_t about[64] = {};
    GetMenuStringW(systemMenu, items - 1, about, 64, MF_BYPOSITION);
    EXPECT_EQ(std::u16string(AsUtf16(about)), u"&About Corvanti...");

    ASSERT_NE(dialog.m_hIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), dialog.m_hIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), dialog.m_hIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_QUERYDRAGICON, 0, 0)), dialog.m_hIcon);

    // Minimised by other means than a button, it paints its icon and comes back.
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(dialog.IsIconic());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(dialog.IsIconic());
}

TEST_F(WindowsDialogTest, NotificationsReachTheirHandlersThroughTheMessageMap) {
    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    Choose(IDC_SRAM_SIZE, 4);
    EXPECT_EQ(dialog.m_nBl1Size, 65536u);
    Choose(IDC_EFUSE_SIZE, 1);
    EXPECT_EQ(dialog.m_nEfuseSize, 2048u);
    Choose(IDC_KERNEL_UNIT, 0);
    EXPECT_EQ(dialog.m_nKernelUnit, 1024u);

    Type(IDC_BOOTLOADER_PART_SIZE, u"12abc");
    Type(IDC_ROOTFS_PATH, u"C:\\images\\rootfs.img");
    Notify(IDC_BOOTLOADER_PART_SIZE, EN_KILLFOCUS);
    EXPECT_EQ(dialog.m_nBootloaderPartSize, 12u);
    EXPECT_EQ(dialog.m_strRootfsPath, CString(u"C:\\images\\rootfs.img"));
    EXPECT_TRUE(boxes.empty());

    // A box without a number stops the exchange there, whichever box was left.
    Type(IDC_BOOTLOADER_PART_SIZE, u"abc");
    Type(IDC_ROOTFS_START_SECTOR, u"99");
    Notify(IDC_ROOTFS_START_SECTOR, EN_KILLFOCUS);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Enter a positive integer.");
    EXPECT_EQ(dialog.m_nBootloaderPartSize, 12u);
    EXPECT_EQ(dialog.m_nRootfsStartSector, 0u);
    DWORD start = 9;
    DWORD end = 9;
    SendMessageW(Item(IDC_BOOTLOADER_PART_SIZE), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);

    // While a run holds the operator's input off, the window takes none and
    // the lists' notifications change nothing.
    dialog.BeginModalState();
    EXPECT_FALSE(IsWindowEnabled(dialog.GetSafeHwnd()));
    Choose(IDC_SRAM_SIZE, 0);
    EXPECT_EQ(dialog.m_nBl1Size, 65536u);
    dialog.EndModalState();
    EXPECT_TRUE(IsWindowEnabled(dialog.GetSafeHwnd()));

    // Esc's command ends the dialog.
    SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(dialog.GetSafeHwnd()));
}

TEST_F(WindowsDialogTest, StartFusesTheImagesOntoAnImageDrive) {
    const std::filesystem::path card = CardImage('E', 64 * 1024 * 1024);
    const std::filesystem::path bootloader = TempFile("u-boot.bin");
    const std::filesystem::path kernel = TempFile("zImage");
    const std::filesystem::path rootfs = TempFile("rootfs.img");
    WriteFileBytes(bootloader, Bytes(300000, 4));
    WriteFileBytes(kernel, Bytes(2000000, 5));
    WriteFileBytes(rootfs, Bytes(1 << 20, 6));

    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    Choose(IDC_DRIVE, 1);  // "E"
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TextOf(Item(IDC_DRIVE_SIZE)), u"131072 sectors");
    Type(IDC_BOOTLOADER_PATH, bootloader.u16string().c_str());
    Type(IDC_KERNEL_PATH, kernel.u16string().c_str());
    Type(IDC_ROOTFS_PATH, rootfs.u16string().c_str());
    Type(IDC_ROOTFS_START_SECTOR, u"2048");
    Notify(IDC_ROOTFS_START_SECTOR, EN_KILLFOCUS);
    Notify(IDC_START, BN_CLICKED);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Fusing image done");
    EXPECT_EQ(boxes[0].caption, u"NOTICE");
    EXPECT_TRUE(IsWindowEnabled(dialog.GetSafeHwnd()));
    EXPECT_EQ(TextOf(Item(IDC_ROOTFS_START_SECTOR)), u"0");

    // Where the default sizes put them on a card of 131072 sectors.
    EXPECT_EQ(ReadFileBytes(card, 129998ull * 512, 300000), Bytes(300000, 4));
    EXPECT_EQ(ReadFileBytes(card, 121806ull * 512, 2000000), Bytes(2000000, 5));
    EXPECT_EQ(ReadFileBytes(card, 2048ull * 512, 1 << 20), Bytes(1 << 20, 6));
    EXPECT_EQ(std::filesystem::file_size(card), 64u * 1024 * 1024);
}

// The tooltip window the item tips of list show in.
HWND TipOf(HWND list) {
    struct Search {
        HWND list;
        HWND tip;
    } search{list, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (lstrcmpiW(className, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == s.list)
                s.tip = window;
            return s.tip == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.tip;
}

TEST_F(WindowsDialogTest, AnOpenListNamesTheItemUnderThePointer) {
    platform::classlib::SetComboItemToolTipProvider([](int id, const std::u16string& item) {
        return id == IDC_DRIVE && item != u"D" ? u"drive " + item : std::u16string();
    });
    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    const HWND combo = Item(IDC_DRIVE);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    const HWND tip = TipOf(info.hwndList);
    ASSERT_NE(tip, nullptr);

    auto pointAt = [&](int item) {
        RECT rect{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
        SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 2, rect.top + 2));
    };
    auto shown = [&] {
        wchar_t text[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = info.hwndList;
        tool.uId = reinterpret_cast<UINT_PTR>(info.hwndList);
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return IsWindowVisible(tip) ? std::u16string(AsUtf16(text)) : std::u16string(u"(hidden)");
    };
    pointAt(2);
    EXPECT_EQ(shown(), u"drive F");
    pointAt(0);  // no tip for this item
    EXPECT_EQ(shown(), u"(hidden)");
    pointAt(22);
    EXPECT_EQ(shown(), u"drive Z");
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(shown(), u"(hidden)");
    platform::classlib::SetComboItemToolTipProvider(nullptr);
}

// Runs steps one after another from a thread timer while a modal loop runs;
// each step returns whether it is done.
class TimedSteps {
public:
    explicit TimedSteps(std::vector<std::function<bool()>> steps) : m_steps(std::move(steps)) {
        current = this;
        m_timer = SetTimer(nullptr, 0, 50, Tick);
    }
    ~TimedSteps() {
        KillTimer(nullptr, m_timer);
        current = nullptr;
    }
    bool AllDone() const { return m_next == m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (current && !current->AllDone() && current->m_steps[current->m_next]())
            ++current->m_next;
    }
    static inline TimedSteps* current = nullptr;
    std::vector<std::function<bool()>> m_steps;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

TEST_F(WindowsDialogTest, StartUpRunsTheDialogModallyWithTheAboutBoxOverIt) {
    HWND main = nullptr;
    HWND about = nullptr;
    bool mainDisabledUnderAbout = false;
    TimedSteps steps({
        [&] {
            const CWnd* window = AfxGetApp()->m_pMainWnd;
            main = window ? window->GetSafeHwnd() : nullptr;
            if (main)
                PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x0003, 0);
            return main != nullptr;
        },
        [&] {
            about = FindWindowW(nullptr, L"About Strovane");
            if (about) {
                mainDisabledUnderAbout = !IsWindowEnabled(main);
                PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            return about != nullptr;
        },
        [&] {
            if (IsWindow(about) || !IsWindowEnabled(main))
                return false;
            // The caption's close button: the system's close command.
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        },
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(steps.AllDone());
    EXPECT_TRUE(mainDisabledUnderAbout);
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(boxes.empty());
}

} // namespace
