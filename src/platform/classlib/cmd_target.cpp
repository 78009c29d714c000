// Message-map dispatch: a message is looked up in the object's own map,
// then in each base class's map, and the first matching entry's handler is
// called with the arguments its signature takes.
#include "platform/classlib/cfile.h"
#include "platform/classlib/msgmap.h"

#include <bit>

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam) {
    if (entry.nMessage != message)
        return false;
    if (message != WM_COMMAND)
        return true;
    const UINT id = LOWORD(wParam);
    return entry.nCode == HIWORD(wParam) && entry.nID <= id && id <= entry.nLastID;
}

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, WPARAM wParam) {
    for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig::end; ++entry)
            if (Matches(*entry, message, wParam))
                return entry;
    }
    return nullptr;
}

LRESULT Call(CCmdTarget& target, const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam) {
    switch (entry.nSig) {
    case AfxSig::v_v:
        (target.*entry.pfn)();
        return 0;
    case AfxSig::v_ul: {
        const auto handler = std::bit_cast<void (CCmdTarget::*)(UINT, LPARAM)>(entry.pfn);
        (target.*handler)(static_cast<UINT>(wParam), lParam);
        return 0;
    }
    case AfxSig::h_v: {
        const auto handler = std::bit_cast<HCURSOR (CCmdTarget::*)()>(entry.pfn);
        return reinterpret_cast<LRESULT>((target.*handler)());
    }
    case AfxSig::end: break;
    }
    return 0;
}

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig::end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const AFX_MSGMAP_ENTRY* entry = FindEntry(GetMessageMap(), message, wParam);
    if (!entry)
        return FALSE;
    LRESULT value = 0;
    try {
        value = Call(*this, *entry, wParam, lParam);
    } catch (const CFileException& error) {
        // A system error on a file ends the command with the standard box.
        error.ReportError();
    }
    if (result)
        *result = value;
    return TRUE;
}
