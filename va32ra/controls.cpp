#include "support/control_library.h"
BOOL WINAPI SpinAttachBuddy(HWND, HWND) { return FALSE; }
BOOL WINAPI SpinSetRange(HWND, int, int) { return FALSE; }
BOOL WINAPI SpinSetPos(HWND, int) { return FALSE; }
BOOL WINAPI StatusBarInit(HWND) { return FALSE; }
BOOL WINAPI StatusBarSetText(HWND, LPCSTR) { return FALSE; }
