#include "platform/classlib/win32/combo_item_tips.h"

#include "platform/classlib/combo_item_tooltips.h"

#include <commctrl.h>

#include <string>
#include <unordered_map>

namespace platform::classlib {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// The tip stands this far below and right of the pointer, clear of it.
constexpr int kPointerClearance = 16;

struct OpenList {
    HWND combo = nullptr;
    HWND tip = nullptr;
    int item = -1;  // the item whose tip shows; -1: none
};

std::unordered_map<HWND, OpenList>& Lists() {
    static std::unordered_map<HWND, OpenList> lists;
    return lists;
}

TTTOOLINFOW ToolOf(HWND list) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = list;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    return tool;
}

void Hide(HWND list, OpenList& open) {
    TTTOOLINFOW tool = ToolOf(list);
    SendMessageW(open.tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    open.item = -1;
}

std::u16string ItemText(HWND list, int item) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == LB_ERR)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void PointAt(HWND list, OpenList& open, LPARAM clientPoint) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, clientPoint);
    const int item = HIWORD(hit) ? -1 : LOWORD(hit);
    if (item == open.item)
        return;
    const auto& provider = GetComboItemToolTipProvider();
    const std::u16string tip = item < 0 || !provider ? std::u16string()
                                                      : provider(GetDlgCtrlID(open.combo), ItemText(list, item));
    if (tip.empty()) {
        Hide(list, open);
        return;
    }
    TTTOOLINFOW tool = ToolOf(list);
    tool.lpszText = const_cast<wchar_t*>(AsWide(tip.c_str()));
    SendMessageW(open.tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    POINT cursor{};
    GetCursorPos(&cursor);
    SendMessageW(open.tip, TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x + kPointerClearance, cursor.y + kPointerClearance));
    SendMessageW(open.tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    open.item = item;
}

LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    const auto it = Lists().find(list);
    if (it != Lists().end()) {
        OpenList& open = it->second;
        switch (message) {
        case WM_MOUSEMOVE: PointAt(list, open, lParam); break;
        case WM_SHOWWINDOW:
            if (!wParam)
                Hide(list, open);
            break;
        case WM_NCDESTROY:
            DestroyWindow(open.tip);
            Lists().erase(it);
            RemoveWindowSubclass(list, ListProcedure, kSubclassId);
            break;
        default: break;
        }
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

} // namespace

void ShowItemTipsWhileOpen(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboItemToolTipProvider() || !GetComboBoxInfo(combo, &info) || !info.hwndList)
        return;
    const HWND list = info.hwndList;
    if (const auto it = Lists().find(list); it != Lists().end()) {
        it->second.item = -1;
        return;
    }
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (!tip)
        return;
    TTTOOLINFOW tool = ToolOf(list);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    Lists()[list] = OpenList{combo, tip, -1};
    SetWindowSubclass(list, ListProcedure, kSubclassId, 0);
}

} // namespace platform::classlib
