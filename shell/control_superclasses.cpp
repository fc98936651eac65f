// "ovSEdit" and "ovSListBox": superclasses of the system EDIT and LISTBOX
// controls. Each keeps every attribute of its system class and hands every
// message on to the system procedure after its own work.
#include "shell/control_superclasses.h"

#include "resources/ids.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "shell/shell_state.h"
#include "support/support_library.h"
#include "support/scoped_win.h"

namespace {

const wchar_t kEditSuperclass[] = L"ovSEdit";
const wchar_t kListBoxSuperclass[] = L"ovSListBox";

// Where Space opens the right-button menu, across the list.
constexpr int kMenuKeyX = 150;

// The superclasses are Unicode classes, as the system's are: typed
// characters reach the system procedure as they were typed. Through an
// ANSI window procedure a character outside the code page's single or
// double bytes (most of them, when the code page is UTF-8) would arrive
// as "?". Texts the program sets and reads with the "A" functions are
// converted by the system as for any control.
bool RegisterSuperclass(HINSTANCE instance, const wchar_t* systemClass, const wchar_t* name, WNDPROC procedure,
                        WNDPROC* systemProcedure) {
  WNDCLASSW wc = {};
  if (!GetClassInfoW(nullptr, systemClass, &wc)) return false;
  *systemProcedure = wc.lpfnWndProc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = name;
  return RegisterClassW(&wc) != 0;
}

// Paints the 3-D frame into the parent, around the control: from two
// pixels left of and above it to one pixel right of and below it.
void PaintFrame(HWND control) {
  HWND parent = GetParent(control);
  if (!parent) return;
  RECT frame = {};
  GetWindowRect(control, &frame);
  POINT topLeft = {frame.left - 1, frame.top - 1};
  POINT bottomRight = {frame.right, frame.bottom};
  ScreenToClient(parent, &topLeft);
  ScreenToClient(parent, &bottomRight);
  SetRect(&frame, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  InflateRect(&frame, 1, 1);
  ScopedWindowDC dc(parent);
  if (!dc) return;
  Draw3DBorder(dc.get(), &frame, 0, 0, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW),
               GetSysColor(COLOR_BTNFACE), 2, 2);
}

bool SomethingPlays() { return g_playback.playAllRunning || g_playback.playing; }

// Space: the right-button menu below the selected item, as if the right
// button had been released there (the list's scrolling is not allowed for).
void OpenMenuFromKeyboard(HWND list) {
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  LRESULT itemHeight = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  WORD y = static_cast<WORD>((selected + 1) * itemHeight);
  PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(kMenuKeyX, y));
}

void StopFromKeyboard() {
  int command = g_playback.playAllRunning ? IDM_SOUND_STOP_PLAY_ALL : IDM_SOUND_STOP_SKIP;
  PostMessageA(g_globals.mainWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

// The right button selects like the left one, then opens the menu where it
// was released. The list's procedure sees the left button's release before
// the menu opens, so the main window knows the new selection.
void OnRightButtonUp(HWND list, WPARAM wParam, LPARAM lParam) {
  SendMessageA(list, WM_LBUTTONUP, wParam, lParam);
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) return;
  HMENU menu = GetSubMenu(g_shell.popupMenu.get(), 0);
  if (!menu) return;
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(list, &point);
  TrackPopupMenu(menu, TPM_CENTERALIGN, point.x, point.y, 0, g_globals.mainWindow, nullptr);
}

}  // namespace

bool RegisterEditSuperclass(HINSTANCE instance) {
  return RegisterSuperclass(instance, L"EDIT", kEditSuperclass, EditSuperclassProc, &g_shell.editClassProc);
}

bool RegisterListBoxSuperclass(HINSTANCE instance) {
  return RegisterSuperclass(instance, L"LISTBOX", kListBoxSuperclass, ListBoxSuperclassProc, &g_shell.listBoxClassProc);
}

LRESULT CALLBACK EditSuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) PaintFrame(window);
  return CallWindowProcW(g_shell.editClassProc, window, message, wParam, lParam);
}

LRESULT CALLBACK ListBoxSuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintFrame(window);
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE)
        OpenMenuFromKeyboard(window);
      else if (wParam == VK_ESCAPE)
        StopFromKeyboard();
      break;
    case WM_RBUTTONDOWN:
      if (!SomethingPlays()) PostMessageA(window, WM_LBUTTONDOWN, wParam, lParam);
      break;
    case WM_RBUTTONUP:
      if (!SomethingPlays()) OnRightButtonUp(window, wParam, lParam);
      break;
    default:
      break;
  }
  return CallWindowProcW(g_shell.listBoxClassProc, window, message, wParam, lParam);
}
