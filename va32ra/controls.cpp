/*
 * VA32RA.dll, the control library.
 *
 * "ovSpin" and "ovStatusBar" are superclasses of the common controls'
 * up-down and status bar: each keeps every attribute of the system class,
 * adds a few styles at creation and hands every message on to the system
 * procedure. Both are registered CS_GLOBALCLASS when the DLL loads, so
 * dialog templates of any module in the process can name them.
 *
 * The status bar keeps the latest text in a buffer of its own and hands it
 * to the system control only when the bar paints (or someone reads the
 * text): the system control repaints synchronously on every SB_SETTEXT,
 * which made a progress text per item of a long list file cost far more
 * than reading the item.
 */
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "support/control_library.h"
#include "support/scoped_win.h"

namespace {

/* Longest status text kept, not counting the terminating zero. */
const int kMaxStatusText = 511;

/* Styles every spin gets: the arrow keys step it, the buddy edit shows
   the position as a plain decimal number (no thousands separator, which
   would make the number unreadable to GetDlgItemInt). */
const LONG_PTR kSpinStyles = UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS;

/* The main window places and sizes the bar itself; the control must not
   move itself to the bottom of its parent on every WM_SIZE. */
const LONG_PTR kStatusBarStyles = CCS_NORESIZE | CCS_NOPARENTALIGN;

/* StatusBarSetText's request to the bar's own thread: lParam the text. */
const UINT WM_STORESTATUSTEXT = WM_USER + 0x7A0;

/* The text a status bar shows or is about to show. */
struct StatusBarText {
  char text[kMaxStatusText + 1];
  bool pending; /* not yet handed to the system control */
  bool shown;   /* the system control holds this very text */
};

/* Copies text into a buffer of size bytes. A text that does not fit is cut
   where a character begins: in UTF-8, the program's code page where the
   system honours its manifest, a character takes up to four bytes. */
void CopyBounded(char* buffer, const char* text, size_t size) {
  size_t length = strnlen(text, size);
  if (length == size) {
    length = size - 1;
    if (GetACP() == CP_UTF8)
      for (int i = 0; i < 3 && length > 0 && (text[length] & 0xC0) == 0x80; ++i) --length;
  }
  memcpy(buffer, text, length);
  buffer[length] = '\0';
}

HINSTANCE g_instance;
WNDPROC g_upDownProc;
WNDPROC g_statusBarProc;
ATOM g_spinAtom;
ATOM g_statusBarAtom;
/* Where a status bar's StatusBarText pointer lives among its extra bytes,
   after those of the system class. */
int g_statusTextOffset;

/* Adds styles while a window is being created, before the system
   procedure reads them from the window or from the CREATESTRUCT. */
void AddCreationStyles(HWND window, UINT message, LPARAM lParam, LONG_PTR styles) {
  CREATESTRUCTA* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
  if (create) create->style |= static_cast<LONG>(styles);
  if (message == WM_NCCREATE) {
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, style | styles);
  }
}

LRESULT CALLBACK SpinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE || message == WM_CREATE) AddCreationStyles(window, message, lParam, kSpinStyles);
  return CallWindowProcA(g_upDownProc, window, message, wParam, lParam);
}

StatusBarText* GetStatusBarText(HWND statusBar) {
  return reinterpret_cast<StatusBarText*>(GetWindowLongPtrA(statusBar, g_statusTextOffset));
}

/* Copies a text into the bar's buffer; the bar is invalidated once per
   batch of texts, and paints only the last of them. */
LRESULT StoreStatusText(HWND statusBar, StatusBarText* state, LPCSTR text) {
  if (!state) return CallWindowProcA(g_statusBarProc, statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  if (state->shown && strcmp(state->text, text) == 0) return TRUE;
  state->shown = false;
  CopyBounded(state->text, text, sizeof(state->text));
  if (!state->pending) {
    state->pending = true;
    InvalidateRect(statusBar, NULL, FALSE);
  }
  return TRUE;
}

/* Hands a stored text to the system control, which repaints the part. */
void FlushStatusText(HWND statusBar, StatusBarText* state) {
  if (!state || !state->pending) return;
  state->pending = false;
  state->shown =
      CallWindowProcA(g_statusBarProc, statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(state->text)) != 0;
}

bool ReadsOrDrawsTheText(UINT message) {
  switch (message) {
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case SB_GETTEXTA:
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW:
    case SB_SIMPLE:
    case SB_SETPARTS:
      return true;
    default:
      return false;
  }
}

bool ReplacesTheText(UINT message, WPARAM wParam) {
  return message == WM_SETTEXT || ((message == SB_SETTEXTA || message == SB_SETTEXTW) && LOBYTE(wParam) == 0);
}

/* The system status bar drops WS_BORDER when it is created; the bar keeps
   the border it was asked for, since its owner lays it out as client area
   plus one border pixel on each side. */
LRESULT CreateStatusBar(HWND window, LPARAM lParam) {
  const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  LRESULT result = CallWindowProcA(g_statusBarProc, window, WM_CREATE, 0, lParam);
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  if (result != -1 && create && (create->style & WS_BORDER) && !(style & WS_BORDER)) {
    SetWindowLongPtrA(window, GWL_STYLE, style | WS_BORDER);
    SetWindowPos(window, NULL, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return result;
}

LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      StatusBarText* state =
          static_cast<StatusBarText*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(StatusBarText)));
      if (!state) return FALSE;
      SetWindowLongPtrA(window, g_statusTextOffset, reinterpret_cast<LONG_PTR>(state));
      AddCreationStyles(window, message, lParam, kStatusBarStyles);
      break;
    }
    case WM_CREATE:
      AddCreationStyles(window, message, lParam, kStatusBarStyles);
      return CreateStatusBar(window, lParam);
    case WM_NCDESTROY: {
      StatusBarText* state = GetStatusBarText(window);
      SetWindowLongPtrA(window, g_statusTextOffset, 0);
      LRESULT result = CallWindowProcA(g_statusBarProc, window, message, wParam, lParam);
      if (state) HeapFree(GetProcessHeap(), 0, state);
      return result;
    }
    case WM_STORESTATUSTEXT:
      return StoreStatusText(window, GetStatusBarText(window), reinterpret_cast<LPCSTR>(lParam));
    default:
      if (ReadsOrDrawsTheText(message)) {
        FlushStatusText(window, GetStatusBarText(window));
      } else if (ReplacesTheText(message, wParam)) {
        StatusBarText* state = GetStatusBarText(window);
        if (state) state->pending = state->shown = false;
      }
      break;
  }
  return CallWindowProcA(g_statusBarProc, window, message, wParam, lParam);
}

/* Registers a copy of a system class under a new name, owned by this DLL
   and usable from every module; the original procedure goes to *base. */
ATOM RegisterSuperclass(LPCSTR systemClass, LPCSTR name, WNDPROC proc, WNDPROC* base, int* extraOffset) {
  WNDCLASSEXA wc;
  ZeroMemory(&wc, sizeof(wc));
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExA(NULL, systemClass, &wc)) return 0;
  *base = wc.lpfnWndProc;
  if (extraOffset) {
    *extraOffset = wc.cbWndExtra;
    wc.cbWndExtra += sizeof(LONG_PTR);
  }
  wc.cbSize = sizeof(wc);
  wc.style |= CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.hInstance = g_instance;
  wc.lpszClassName = name;
  wc.lpszMenuName = NULL;
  return RegisterClassExA(&wc);
}

BOOL RegisterControlClasses() {
  INITCOMMONCONTROLSEX icc;
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_UPDOWN_CLASS | ICC_BAR_CLASSES;
  if (!InitCommonControlsEx(&icc)) return FALSE;
  g_spinAtom = RegisterSuperclass(UPDOWN_CLASSA, SPIN_CLASS, SpinProc, &g_upDownProc, NULL);
  g_statusBarAtom =
      RegisterSuperclass(STATUSCLASSNAMEA, STATUS_BAR_CLASS, StatusBarProc, &g_statusBarProc, &g_statusTextOffset);
  return g_spinAtom != 0 && g_statusBarAtom != 0;
}

void UnregisterControlClasses() {
  if (g_spinAtom) UnregisterClassA(SPIN_CLASS, g_instance);
  if (g_statusBarAtom) UnregisterClassA(STATUS_BAR_CLASS, g_instance);
  g_spinAtom = g_statusBarAtom = 0;
}

/* Height of a bar whose one line of text fits the bar's font. */
int FittingStatusBarHeight(HWND statusBar) {
  TEXTMETRICA tm;
  {
    ScopedWindowDC dc(statusBar);
    if (!dc) return 0;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(statusBar, WM_GETFONT, 0, 0));
    ScopedSelect selected(dc.get(), font);
    if (!GetTextMetricsA(dc.get(), &tm)) return 0;
  }

  int borders[3] = {0, 0, 0}; /* horizontal, vertical, between parts */
  SendMessageA(statusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  int leading = tm.tmInternalLeading ? tm.tmInternalLeading : 2;
  int client = tm.tmHeight + leading + 2 * GetSystemMetrics(SM_CYBORDER) + 2 * borders[1];

  RECT windowRect, clientRect;
  GetWindowRect(statusBar, &windowRect);
  GetClientRect(statusBar, &clientRect);
  int frame = (windowRect.bottom - windowRect.top) - (clientRect.bottom - clientRect.top);
  return client + frame;
}

/* Only bars of our class carry a text buffer (and know our message). */
bool IsOurStatusBar(HWND window) { return g_statusBarAtom != 0 && GetClassWord(window, GCW_ATOM) == g_statusBarAtom; }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_instance = instance;
      DisableThreadLibraryCalls(instance);
      return RegisterControlClasses();
    case DLL_PROCESS_DETACH:
      UnregisterControlClasses();
      break;
    default:
      break;
  }
  return TRUE;
}

/* Makes the spin step the edit's number: the spin writes its position
   into the edit and reads the edit's number before each step. */
BOOL WINAPI SpinAttachBuddy(HWND spin, HWND edit) {
  if (!IsWindow(spin) || !IsWindow(edit)) return FALSE;
  LONG_PTR style = GetWindowLongPtrA(spin, GWL_STYLE);
  if ((style & kSpinStyles) != kSpinStyles) SetWindowLongPtrA(spin, GWL_STYLE, style | kSpinStyles);
  SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  return reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)) == edit;
}

BOOL WINAPI SpinSetRange(HWND spin, int minimum, int maximum) {
  if (!IsWindow(spin)) return FALSE;
  SendMessageA(spin, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
  return TRUE;
}

BOOL WINAPI SpinSetPos(HWND spin, int position) {
  if (!IsWindow(spin)) return FALSE;
  SendMessageA(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
  return TRUE;
}

/* One part across the whole bar, empty, and a height that fits the font. */
BOOL WINAPI StatusBarInit(HWND statusBar) {
  if (!IsWindow(statusBar)) return FALSE;
  int rightEdge = -1;
  SendMessageA(statusBar, SB_SIMPLE, FALSE, 0);
  if (!SendMessageA(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&rightEdge))) return FALSE;
  SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));

  if (GetWindowLongPtrA(statusBar, GWL_STYLE) & CCS_NORESIZE) {
    int height = FittingStatusBarHeight(statusBar);
    RECT rect;
    if (height > 0 && GetWindowRect(statusBar, &rect))
      SetWindowPos(statusBar, NULL, 0, 0, rect.right - rect.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SendMessageA(statusBar, WM_SIZE, SIZE_RESTORED, 0);
  }
  InvalidateRect(statusBar, NULL, TRUE);
  return TRUE;
}

/* Stores the text; the bar paints it when messages next run, so a caller
   may show progress after every item of a long job. A bar of another
   thread stores it on its own thread. */
BOOL WINAPI StatusBarSetText(HWND statusBar, LPCSTR text) {
  if (!IsWindow(statusBar)) return FALSE;
  char bounded[kMaxStatusText + 1];
  CopyBounded(bounded, text ? text : "", sizeof(bounded));
  UINT message = IsOurStatusBar(statusBar) ? WM_STORESTATUSTEXT : SB_SETTEXTA;
  return SendMessageA(statusBar, message, 0, reinterpret_cast<LPARAM>(bounded)) != 0;
}
