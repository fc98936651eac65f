// The main window procedure: every message goes to its handler.
#include "shell/main_window.h"

#include "shell/list_commands.h"
#include "shell/list_view.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "shell/command_state.h"
#include "shell/list_display.h"
#include "shell/playback_view.h"
#include "shell/taskbar_button.h"
#include "shell/volume_control.h"
#include "support/language.h"
#include "support/system_colors.h"

namespace {

// The light grey behind the main window's labels and message boxes: the
// colour of the window's own brush (the system's in high contrast).
LRESULT OnControlColor(HDC dc) { return reinterpret_cast<LRESULT>(SurfaceColors(dc)); }

// The class brush is the classic grey; high contrast paints the system's.
LRESULT OnEraseBackground(HWND window, HDC dc) {
  if (IsIconic(window)) return 1;  // the animated icon stays drawn
  RECT client;
  GetClientRect(window, &client);
  FillSurface(dc, client);
  return 1;
}

// A colour or high-contrast change: the common controls are told (a
// top-level window passes WM_SYSCOLORCHANGE on), and everything repaints
// in the new colours.
void OnColorsChanged(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOLORCHANGE)
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      SendMessageA(child, message, wParam, lParam);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The focus stays visible: a request to hide the focus cues (made when the
// mouse is used) is passed on without that part.
LRESULT OnUiState(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WORD action = LOWORD(wParam);
  WORD flags = HIWORD(wParam);
  if ((action == UIS_SET || action == UIS_INITIALIZE) && (flags & UISF_HIDEFOCUS)) {
    flags = static_cast<WORD>(flags & ~UISF_HIDEFOCUS);
    if (!flags) return 0;
    wParam = MAKEWPARAM(action, flags);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnDrawItem(WPARAM id, const DRAWITEMSTRUCT* item) {
  if (item->CtlType == ODT_BUTTON) return DrawButton(static_cast<int>(id), item, 2, 2, 3, 3, true) ? TRUE : FALSE;
  if (item->CtlType == ODT_LISTBOX && HasMainView()) {
    DrawListItem(MainView().list(), item);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarButtonCreatedMessage() && message) {
    OnTaskbarButtonCreated(window);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, static_cast<ObjectList*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    case WM_CLOSE:
      OnClose(window);
      return 0;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession(window);
    case WM_ENDSESSION:
      OnEndSession(window, wParam != FALSE);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      break;
    case WM_SIZE:
      OnSize(window, wParam, LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_DPICHANGED:
      OnDpiChanged(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_QUERYOPEN:
      return OnQueryOpen(window);
    case WM_ERASEBKGND:
      return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      OnColorsChanged(window, message, wParam, lParam);
      break;
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
      return OnUiState(window, message, wParam, lParam);
    case WM_DRAWITEM:
      if (LRESULT drawn = OnDrawItem(wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return drawn;
      break;
    case WM_MEASUREITEM:
      if (wParam == IDC_OBJECT_LIST)
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(ListRowHeight(DpiOf(window)));
      break;
    case WM_COMMAND:
      OnCommand(window, wParam, lParam);
      return 0;
    case WM_INITMENUPOPUP:
      UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(wParam);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wParam));
    case WM_DROPFILES:
      BringWindowToTop(window);
      // Where they are dropped; while the list plays, at its end as ever.
      if (HasMainView())
        AddDroppedFiles(MainView().list(), reinterpret_cast<HDROP>(wParam),
                        ListPlays() ? -1 : DropRow(reinterpret_cast<HDROP>(wParam)));
      return 0;
    case WM_HOTKEY:
      if (OnHotKey(window, static_cast<int>(wParam))) return 0;
      break;
    case WM_APPCOMMAND:
      if (OnMediaKey(window, GET_APPCOMMAND_LPARAM(lParam))) return TRUE;
      break;
    case WM_HELP:
      OnHelpRequest(window, reinterpret_cast<const HELPINFO*>(lParam));
      return TRUE;
    case WM_SETSTATUSTEXT:
      ShowStatusString(static_cast<UINT>(wParam));
      return 0;
    case WM_OPENCOMMANDLINE:
      OnOpenCommandLine(window);
      return 0;
    case WM_COPYDATA:
      return OnCopyData(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_ENABLE:
      // A modal window has closed: a list handed over meanwhile opens now.
      if (wParam) OpenPendingCommandLine(window);
      break;
    case WM_HSCROLL:
      if (!lParam) break;
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_POSITION_BAR) {
        OnPositionScroll(window, LOWORD(wParam));
        return 0;
      }
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_VOLUME_BAR) {
        OnVolumeScroll(window, LOWORD(wParam));
        return 0;
      }
      break;
    case WM_SESSIONVOLUME:
      OnSessionVolume(window, wParam, lParam);
      return 0;
    case WM_TIMER:
      if (wParam != IDT_PLAY_TIME) break;
      OnPlayTimeTick(window);
      return 0;
    case WM_PLAYBACKEVENT:
      OnPlaybackEvent(window, wParam, lParam);
      // A list handed over while something played opens once nothing does.
      OpenPendingCommandLine(window);
      return 0;
    case WM_PLAYALLENDED:
      OnPlayAllEnded();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
