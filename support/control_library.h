/*
 * VA32RA.dll, the control library: the window classes "ovSpin" and
 * "ovStatusBar" (registered when the DLL loads) and five operations,
 * exported by ordinal only.
 */
#ifndef WENDLE_CONTROL_LIBRARY_H
#define WENDLE_CONTROL_LIBRARY_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SPIN_CLASS       "ovSpin"
#define STATUS_BAR_CLASS "ovStatusBar"

#define ORD_SPIN_ATTACH_BUDDY   6
#define ORD_SPIN_SET_RANGE      7
#define ORD_SPIN_SET_POS        9
#define ORD_STATUS_BAR_INIT     18
#define ORD_STATUS_BAR_SET_TEXT 19

BOOL WINAPI SpinAttachBuddy(HWND spin, HWND edit);
BOOL WINAPI SpinSetRange(HWND spin, int minimum, int maximum);
BOOL WINAPI SpinSetPos(HWND spin, int position);
BOOL WINAPI StatusBarInit(HWND statusBar);
BOOL WINAPI StatusBarSetText(HWND statusBar, LPCSTR text);

#ifdef __cplusplus
}
#endif

#endif
