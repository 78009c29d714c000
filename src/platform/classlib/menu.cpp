// CMenu: the items of a window's system menu; choosing one sends
// WM_SYSCOMMAND with its command to the menu's window. On Windows the items
// also go into the system's own menu, which the system shows and which sends
// the same command.
#include "platform/classlib/wnd.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, const char16_t* newItem) {
    const bool separator = flags & MF_SEPARATOR;
    m_items.push_back(Item{flags, separator ? 0 : idNewItem, separator || !newItem ? CString() : CString(newItem)});
#ifdef _WIN32
    if (m_hMenu)
        return AppendMenuW(m_hMenu, flags, idNewItem, separator ? nullptr : AsWide(m_items.back().text.GetString()));
#endif
    return TRUE;
}

int CMenu::GetMenuItemCount() const { return static_cast<int>(m_items.size()); }

UINT CMenu::GetMenuItemID(int pos) const {
    if (pos < 0 || pos >= GetMenuItemCount())
        return static_cast<UINT>(-1);
    return static_cast<UINT>(m_items[static_cast<std::size_t>(pos)].id);
}

CString CMenu::GetMenuString(int pos) const {
    if (pos < 0 || pos >= GetMenuItemCount())
        return CString();
    return m_items[static_cast<std::size_t>(pos)].text;
}

void CMenu::Choose(int pos) {
    if (pos < 0 || pos >= GetMenuItemCount() || !m_owner)
        return;
    const Item& item = m_items[static_cast<std::size_t>(pos)];
    if (!(item.flags & MF_SEPARATOR))
        m_owner->SendMessage(WM_SYSCOMMAND, item.id, 0);
}
