// Message maps: static tables that route window messages and control
// notifications to member handlers, each table chained to its base class's.
#pragma once

#include "platform/wintypes.h"

#include <bit>

class CCmdTarget;

#ifndef _WIN32
// The messages and notifications the maps route (on Windows: the system's).
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_ICONERASEBKGND = 0x0027;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;

inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT CBN_SELCHANGE = 1;
inline constexpr UINT EN_KILLFOCUS = 0x0200;
#endif

inline constexpr UINT ID_HELP = 57670;

// How a handler is called.
enum class AfxSig {
    end,
    v_v,     // void (void): control notifications, WM_PAINT
    v_ul,    // void (UINT, LPARAM): WM_SYSCOMMAND
    h_v,     // HCURSOR (void): WM_QUERYDRAGICON
};

using AFX_PMSG = void (CCmdTarget::*)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for notifications
    UINT nCode;     // notification code (BN_CLICKED, ...)
    UINT nID;       // control id (first of a range)
    UINT nLastID;   // last control id of the range
    AfxSig nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const AFX_MSGMAP* GetThisMessageMap();       \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                             \
        using ThisClass [[maybe_unused]] = theClass;                                     \
        using TheBaseClass = baseClass;                                                  \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                           \
            {0, 0, 0, 0, AfxSig::end, nullptr}                                      \
        };                                                                          \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                                \
    }

#define AFX_NOTIFY_ENTRY(code, id, memberFxn) \
    {WM_COMMAND, (code), (id), (id), AfxSig::v_v, static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(memberFxn))},

#define ON_BN_CLICKED(id, memberFxn) AFX_NOTIFY_ENTRY(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) AFX_NOTIFY_ENTRY(CBN_SELCHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) AFX_NOTIFY_ENTRY(EN_KILLFOCUS, id, memberFxn)
#define ON_COMMAND(id, memberFxn) AFX_NOTIFY_ENTRY(0, id, memberFxn)

#define ON_WM_SYSCOMMAND()                                                                   \
    {WM_SYSCOMMAND, 0, 0, 0, AfxSig::v_ul,                                                   \
     std::bit_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)(UINT, LPARAM)>(                \
         static_cast<void (ThisClass::*)(UINT, LPARAM)>(&ThisClass::OnSysCommand)))},
#define ON_WM_PAINT()                                            \
    {WM_PAINT, 0, 0, 0, AfxSig::v_v,                             \
     static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&ThisClass::OnPaint))},
#define ON_WM_QUERYDRAGICON()                                                               \
    {WM_QUERYDRAGICON, 0, 0, 0, AfxSig::h_v,                                                \
     std::bit_cast<AFX_PMSG>(static_cast<HCURSOR (CCmdTarget::*)()>(                        \
         static_cast<HCURSOR (ThisClass::*)()>(&ThisClass::OnQueryDragIcon)))},

// Command target: anything with a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Looks the message up in this object's map chain and calls the handler.
    // Returns TRUE when a handler ran; *result receives its result.
    // A CFileException thrown by a handler is reported with the standard
    // file-error box and counts as handled.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
