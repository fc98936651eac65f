#include "support/support_library.h"
int  WINAPI ShowAboutBox(HWND, HINSTANCE, UINT, UINT, UINT, UINT, UINT, UINT) { return 0; }
BOOL WINAPI CenterDialog(HWND, HWND) { return 0; }
void WINAPI Draw3DPanel(HDC, const RECT *, BOOL, int) {}
void WINAPI Draw3DBorder(HDC, const RECT *, int, int, COLORREF, COLORREF, COLORREF, int, int) {}
BOOL WINAPI LoadWindowPlacement(LPCSTR, LPCSTR, RECT *, int *) { return 0; }
BOOL WINAPI SaveWindowPlacement(HWND, LPCSTR, LPCSTR) { return 0; }
BOOL WINAPI FindPreviousInstance(LPCSTR, LPCSTR) { return 0; }
int  WINAPI ResMessageBox(HWND, HINSTANCE, LPCSTR, LPCSTR, UINT) { return 0; }
BOOL WINAPI DrawTransparentBitmap(HDC, int, int, int, int, HDC, int, int) { return 0; }
BOOL WINAPI PlayVideoFile(HWND, LPCSTR) { return 0; }
BOOL WINAPI PlayCdTrack(HWND, BYTE, BYTE) { return 0; }
BOOL WINAPI PlayMidiFile(HWND, LPCSTR, DWORD) { return 0; }
BOOL WINAPI PlayWaveFile(HWND, LPCSTR) { return 0; }
BOOL WINAPI BrowseForFile(HWND, int, LPSTR, DWORD) { return 0; }
UINT WINAPI GetCdTrackCount(DWORD) { return 0; }
