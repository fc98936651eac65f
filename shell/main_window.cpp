// The main window procedure: every message goes to its handler.
#include "shell/main_window.h"

#include "model/object_list.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/command_state.h"
#include "shell/list_display.h"
#include "shell/playback_view.h"
#include "state/main_window_state.h"
#include "support/language.h"

namespace {

// The light grey behind the main window's labels and message boxes: the
// colour of the window's own brush.
LRESULT OnControlColor(HDC dc) {
  SetBkColor(dc, RGB(192, 192, 192));
  return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
}

LRESULT OnDrawItem(HWND window, WPARAM id, const DRAWITEMSTRUCT* item) {
  if (item->CtlType == ODT_BUTTON)
    return DrawButton(window, static_cast<int>(id), item, IDI_APP, 2, 2, 2, 2, false) ? TRUE : FALSE;
  if (item->CtlType == ODT_LISTBOX) {
    DrawListItem(item);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandlePlaybackMessage(message, wParam, lParam, &result)) return result;

  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
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
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_QUERYOPEN:
      return OnQueryOpen(window);
    case WM_ERASEBKGND:
      if (IsIconic(window)) return 1;  // the animated icon stays drawn
      break;
    case WM_DRAWITEM:
      if (LRESULT drawn = OnDrawItem(window, wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return drawn;
      break;
    case WM_MEASUREITEM:
      if (wParam == IDC_OBJECT_LIST) reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kListRowHeight;
      break;
    case WM_DELETEITEM:
      if (wParam != IDC_OBJECT_LIST) break;
      OnObjectListDeleteItem(reinterpret_cast<const DELETEITEMSTRUCT*>(lParam));
      return TRUE;
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
      AddDroppedFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_HOTKEY:
      if (OnHotKey(window, static_cast<int>(wParam))) return 0;
      break;
    case WM_SETSTATUSTEXT:
      ShowStatusString(static_cast<UINT>(wParam));
      return 0;
    case WM_OPENCOMMANDLINE:
      OnOpenCommandLine(window);
      return 0;
    case WM_COPYDATA:
      return OnCopyData(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER:
      if (wParam != IDT_PLAY_TIME) break;
      OnPlayTimeTick(window);
      return 0;
    case WM_PLAYBACKEVENT:
      OnPlaybackEvent(window, wParam, lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
