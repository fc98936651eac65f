// "ovSEdit" and "ovSListBox": superclasses of the system EDIT and LISTBOX
// controls. Each keeps every attribute of its system class and hands every
// message on to the system procedure after its own work.
#include "shell/control_superclasses.h"

#include <cstdlib>

#include "resources/ids.h"
#include "shell/list_commands.h"
#include "shell/list_view.h"
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

// A press on a selected row may start a drag of the selection: the list
// box sees the press only once it is clear that none follows (a click
// then selects that row alone, as ever).
struct RowDrag {
  bool pending = false;   // the press is held back
  bool dragging = false;  // the mouse went far enough: the rows move
  LPARAM pressedAt = 0;
  WPARAM keys = 0;
  int gap = -1;  // where the insertion mark is drawn; -1 for none
};
RowDrag g_drag;

// The insertion mark: a line two pixels high at the top of row gap,
// drawn and wiped by inverting.
void InvertMark(HWND list, int gap) {
  if (gap < 0) return;
  const LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  RECT client = {};
  GetClientRect(list, &client);
  const int y = static_cast<int>((gap - top) * height);
  RECT line = {client.left, y - 1, client.right, y + 1};
  ScopedWindowDC dc(list);
  if (dc) InvertRect(dc.get(), &line);
}

void EndDrag(HWND list) {
  InvertMark(list, g_drag.gap);
  g_drag = RowDrag();
  if (GetCapture() == list) ReleaseCapture();
}

bool OnDragPress(HWND list, WPARAM keys, LPARAM lParam) {
  // Shift and Ctrl extend the selection, and the right button's press
  // (sent as a left one) only selects.
  if (SomethingPlays() || (keys & (MK_SHIFT | MK_CONTROL | MK_RBUTTON))) return false;
  const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
  if (HIWORD(hit) || SendMessageA(list, LB_GETSEL, LOWORD(hit), 0) <= 0) return false;
  g_drag = RowDrag();
  g_drag.pending = true;
  g_drag.pressedAt = lParam;
  g_drag.keys = keys;
  SetFocus(list);
  SetCapture(list);
  return true;
}

void OnDragMove(HWND list, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  if (!g_drag.dragging) {
    const int x0 = static_cast<short>(LOWORD(g_drag.pressedAt)), y0 = static_cast<short>(HIWORD(g_drag.pressedAt));
    if (abs(x - x0) < GetSystemMetrics(SM_CXDRAG) && abs(y - y0) < GetSystemMetrics(SM_CYDRAG)) return;
    g_drag.dragging = true;
  }
  // Above or below the list, it scrolls a row at a time.
  RECT client = {};
  GetClientRect(list, &client);
  const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  if (y < 0 || y >= client.bottom) {
    InvertMark(list, g_drag.gap);
    g_drag.gap = -1;
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(y < 0 ? (top > 0 ? top - 1 : 0) : top + 1), 0);
    UpdateWindow(list);
  }
  const int gap = GapAtPoint(list, y < 0 ? 0 : y >= client.bottom ? client.bottom - 1 : y);
  if (gap == g_drag.gap) return;
  InvertMark(list, g_drag.gap);
  g_drag.gap = gap;
  InvertMark(list, g_drag.gap);
}

// The release: a drag moves the selection to the mark; a press that never
// became a drag reaches the list box now, with its release.
void OnDragRelease(HWND list, LPARAM lParam) {
  const bool dragged = g_drag.dragging;
  const int gap = g_drag.gap;
  const WPARAM keys = g_drag.keys;
  const LPARAM pressedAt = g_drag.pressedAt;
  EndDrag(list);
  if (dragged) {
    if (gap >= 0 && HasMainView() && MainView().window() == list) MoveSelectionTo(MainView().list(), gap);
    return;
  }
  CallWindowProcW(g_shell.listBoxClassProc, list, WM_LBUTTONDOWN, keys, pressedAt);
  CallWindowProcW(g_shell.listBoxClassProc, list, WM_LBUTTONUP, 0, lParam);
}

// Space: the right-button menu below the selected item, as if the right
// button had been released there (the list's scrolling is not allowed for).
void OpenMenuFromKeyboard(HWND list) {
  // The focused row if it is selected, else the first selected (-1: none).
  LRESULT selected = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
  if (selected < 0 || SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(selected), 0) <= 0) {
    int first = -1;
    SendMessageA(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first));
    selected = first;
  }
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
    case WM_LBUTTONDOWN:
      if (OnDragPress(window, wParam, lParam)) return 0;
      break;
    case WM_MOUSEMOVE:
      if (g_drag.pending) {
        OnDragMove(window, lParam);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (g_drag.pending) {
        OnDragRelease(window, lParam);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      // Esc, or another window took the mouse: the drag ends where it was.
      if (g_drag.pending && reinterpret_cast<HWND>(lParam) != window) {
        InvertMark(window, g_drag.gap);
        g_drag = RowDrag();
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && g_drag.pending) EndDrag(window);
      break;
    case WM_RBUTTONDOWN: {
      // A right click on a selected row keeps the selection for the menu.
      const LRESULT hit = SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam);
      const bool onSelection = !HIWORD(hit) && SendMessageA(window, LB_GETSEL, LOWORD(hit), 0) > 0;
      if (!SomethingPlays() && !onSelection) PostMessageA(window, WM_LBUTTONDOWN, wParam, lParam);
      break;
    }
    case WM_RBUTTONUP:
      if (!SomethingPlays()) OnRightButtonUp(window, wParam, lParam);
      break;
    default:
      break;
  }
  return CallWindowProcW(g_shell.listBoxClassProc, window, message, wParam, lParam);
}
