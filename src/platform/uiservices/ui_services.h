// User-interface services the system calls directly: the thread's message
// queue, common-control initialisation, system metrics and icon drawing.
#pragma once

#include "platform/wintypes.h"

#ifdef _WIN32

// The system's own services: the real message queue, common controls,
// metrics and icon drawing.
#include <commctrl.h>

#else

struct POINT {
    LONG x, y;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// Takes the next waiting message off the calling thread's queue without
// waiting. On Linux the toolkit delivers an event as it takes it off its
// queue, so the message is already handled when this returns TRUE; the
// message record describes it only loosely.
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
inline constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
// On Linux: makes sure the widget style and the dialog font are ready.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);

BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

#endif
