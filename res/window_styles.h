/* Window, dialog and control style bits and the predefined control classes,
   as numbers, for the resource script and for the C++ code that builds or
   checks windows from the compiled templates. Plain #defines only: the
   resource compiler reads this file too. */
#pragma once

#if defined(_WIN32) && !defined(RC_INVOKED)
/* C++ on Windows has them from the system's header. */
#include <windows.h>
#else

/* Window styles (high word) shared by dialogs and controls. */
#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_VISIBLE 0x10000000
#define WS_DISABLED 0x08000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_VSCROLL 0x00200000
#define WS_SYSMENU 0x00080000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000

/* Extended window styles. */
#define WS_EX_WINDOWEDGE 0x00000100
#define WS_EX_APPWINDOW 0x00040000

/* Dialog styles. */
#define DS_3DLOOK 0x0004
#define DS_FIXEDSYS 0x0008
#define DS_SETFONT 0x0040
#define DS_MODALFRAME 0x0080

/* Buttons: the low four bits are the kind of button. */
#define BS_PUSHBUTTON 0x0000
#define BS_DEFPUSHBUTTON 0x0001
#define BS_CHECKBOX 0x0002
#define BS_GROUPBOX 0x0007
#define BS_TYPEMASK 0x000F

/* Edits. */
#define ES_LEFT 0x0000
#define ES_AUTOHSCROLL 0x0080
#define ES_READONLY 0x0800

/* Statics: the low five bits are the kind of static. */
#define SS_LEFT 0x0000
#define SS_CENTER 0x0001
#define SS_ICON 0x0003
#define SS_TYPEMASK 0x001F
#define SS_NOPREFIX 0x0080
#define SS_CENTERIMAGE 0x0200

/* Combo boxes: the low two bits are the kind of list. */
#define CBS_DROPDOWN 0x0002
#define CBS_SORT 0x0100

#endif

/* Predefined window classes, as the ordinals a template stores for them. */
#define CTL_BUTTON 0x0080
#define CTL_EDIT 0x0081
#define CTL_STATIC 0x0082
#define CTL_COMBOBOX 0x0085

/* A control without an id of its own (labels, frames, the About icon). */
#define IDC_STATIC (-1)

/* The dialog command ids; C++ has them from the class library. */
#ifdef RC_INVOKED
#define IDOK 1
#endif
