// The main window's layout, its smallest size, and the minimized state with
// its animated icon.
#include <windows.h>
#include <commctrl.h>

#include "playback/icon_animation.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "shell/main_window.h"
#include "shell/playback_view.h"
#include "shell/shell_state.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "support/control_library.h"
#include "support/dpi.h"
#include "support/globals.h"
#include "support/language.h"
#include "support/list_rows.h"

namespace {

// Every size here is in pixels at 96 DPI, scaled to the window's DPI.

// The smallest client area: the ribbon's thirteen buttons and the play
// buttons beside the list, with a row of the list, all still seen whole.
constexpr int kMinimumClientWidth = 578;
constexpr int kMinimumClientHeight = 252;
// The status bar holds at most 511 bytes of text.
constexpr size_t kStatusTextSize = 512;

RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

// The strip between the list and the status bar holds the position bar
// and its time, the mute button and the volume slider.
constexpr int kListLeft = 60;
constexpr int kBelowRibbon = 30;  // the labels' room
constexpr int kListRightMargin = 40;
constexpr int kBelowList = 30;
constexpr int kBarHeight = 24;
constexpr int kPositionTimeWidth = 88;
constexpr int kPositionTimeHeight = 16;
constexpr int kMuteWidth = 44;
constexpr int kMuteHeight = 22;
constexpr int kVolumeWidth = 90;
constexpr int kGap = 4;

// Places a child of the main window.
void Place(int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(g_globals.mainWindow, id), nullptr, x, y, width, height, SWP_NOZORDER);
}

// The list between the play buttons and the right edge, below the ribbon
// and the labels, with the strip under it; the status bar along the
// bottom, keeping its height.
void LayOut(HWND window, int width, int height) {
  const int dpi = DpiOf(window);
  auto px = [dpi](int value) { return Scale(value, dpi); };
  RECT ribbon = ClientRect(g_shell.ribbon);
  RECT status = ClientRect(g_shell.statusBar);
  const int listLeft = px(kListLeft), belowList = px(kBelowList), listTop = ribbon.bottom + px(kBelowRibbon);
  const int listWidth = width - listLeft - px(kListRightMargin);
  const int listBottom = height - status.bottom - belowList;
  if (HasMainView())
    SetWindowPos(MainView().window(), nullptr, listLeft, listTop, listWidth, listBottom - listTop, SWP_NOZORDER);
  const int volumeLeft = listLeft + listWidth - px(kVolumeWidth);
  const int muteLeft = volumeLeft - px(kGap) - px(kMuteWidth);
  const int timeLeft = muteLeft - px(kGap) - px(kPositionTimeWidth);
  const int barTop = listBottom + (belowList - px(kBarHeight)) / 2;
  Place(IDC_POSITION_BAR, listLeft, barTop, timeLeft - listLeft, px(kBarHeight));
  Place(IDC_POSITION_TIME, timeLeft, listBottom + (belowList - px(kPositionTimeHeight)) / 2, px(kPositionTimeWidth),
        px(kPositionTimeHeight));
  Place(IDC_MUTE_BUTTON, muteLeft, listBottom + (belowList - px(kMuteHeight)) / 2, px(kMuteWidth), px(kMuteHeight));
  Place(IDC_VOLUME_BAR, volumeLeft, barTop, px(kVolumeWidth), px(kBarHeight));
  PlaceMainButtons(window, dpi);
  PlaceLabels(window, dpi);
  PostMessageA(g_shell.ribbon, WM_SIZE, 0, 0);
  SetWindowPos(g_shell.statusBar, nullptr, -1, height - status.bottom - 1, width + 2, status.bottom + 2, SWP_NOZORDER);
}

}  // namespace

void OnSize(HWND window, WPARAM type, int width, int height) {
  // Minimized while an object plays (Play All or Play Selected): the title
  // names it at once.
  ShowPlayLineAgain(window);
  if (type == SIZE_MINIMIZED) {
    WakeIconAnimation();
    return;
  }
  LayOut(window, width, height);
}

void SetStatusBarFont(int dpi) {
  // The old font goes once the bar has let it go, and the text it showed
  // stays (the bar's setup empties it).
  HFONT font = g_shell.statusBar ? CreateMessageFont(dpi) : nullptr;
  if (!font) return;
  char text[kStatusTextSize] = "";
  if (LOWORD(SendMessageA(g_shell.statusBar, SB_GETTEXTLENGTHA, 0, 0)) < sizeof text)
    SendMessageA(g_shell.statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  SendMessageA(g_shell.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  g_shell.statusFont.reset(font);
  StatusBarInit(g_shell.statusBar);
  StatusBarSetText(g_shell.statusBar, text);
}

void OnDpiChanged(HWND window, int dpi, const RECT* suggested) {
  LoadButtonIcons(g_globals.instance, dpi);
  SetTextFonts(window, dpi);
  SetStatusBarFont(dpi);
  if (HasMainView()) SendMessageA(MainView().window(), LB_SETITEMHEIGHT, 0, ListRowHeight(dpi));
  SendMessageA(g_shell.ribbon, WM_SIZE, 0, 0);  // its height, before the layout
  if (suggested)
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The size may be the same: the layout is made anew all the same.
  RECT client = ClientRect(window);
  if (!IsIconic(window)) LayOut(window, client.right, client.bottom);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OnGetMinMaxInfo(HWND window, MINMAXINFO* info) {
  const int dpi = DpiOf(window);
  RECT rect = {0, 0, Scale(kMinimumClientWidth, dpi),
               Scale(kMinimumClientHeight, dpi) + ClientRect(g_shell.statusBar).bottom};
  AdjustWindowRectForDpi(&rect, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)), dpi);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int height = rect.bottom - rect.top;
  info->ptMinTrackSize.x = rect.right - rect.left;
  info->ptMinTrackSize.y = screenHeight <= height ? screenHeight : height;
}

LRESULT OnQueryOpen(HWND window) {
  // The caption may have named the playing object: the list's own title
  // comes back.
  if (HasMainView()) UpdateWindowTitle(window, MainView().list());
  ShowStatusString(IDS_STATUS_READY);
  RestIconAnimation();
  return TRUE;
}
