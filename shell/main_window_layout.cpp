// The main window's layout, its smallest size, and the minimized state with
// its animated icon.
#include "playback/icon_animation.h"
#include "resources/ids.h"
#include "shell/main_window.h"
#include "shell/playback_view.h"
#include "shell/shell_state.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "support/globals.h"
#include "support/language.h"

namespace {

// The smallest client area: the ribbon's thirteen buttons and the play
// buttons beside the list, with a row of the list, all still seen whole.
constexpr int kMinimumClientWidth = 578;
constexpr int kMinimumClientHeight = 252;

RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

// The strip between the list and the status bar holds the position bar
// and its time, the mute button and the volume slider.
constexpr int kListLeft = 60;
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
void LayOut(int width, int height) {
  RECT ribbon = ClientRect(g_shell.ribbon);
  RECT status = ClientRect(g_shell.statusBar);
  const int listWidth = width - kListLeft - kListRightMargin;
  const int listBottom = height - status.bottom - kBelowList;
  if (HasMainView())
    SetWindowPos(MainView().window(), nullptr, kListLeft, ribbon.bottom + 30, listWidth,
                 listBottom - ribbon.bottom - 30, SWP_NOZORDER);
  const int volumeLeft = kListLeft + listWidth - kVolumeWidth;
  const int muteLeft = volumeLeft - kGap - kMuteWidth;
  const int timeLeft = muteLeft - kGap - kPositionTimeWidth;
  const int barTop = listBottom + (kBelowList - kBarHeight) / 2;
  Place(IDC_POSITION_BAR, kListLeft, barTop, timeLeft - kListLeft, kBarHeight);
  Place(IDC_POSITION_TIME, timeLeft, listBottom + (kBelowList - kPositionTimeHeight) / 2, kPositionTimeWidth,
        kPositionTimeHeight);
  Place(IDC_MUTE_BUTTON, muteLeft, listBottom + (kBelowList - kMuteHeight) / 2, kMuteWidth, kMuteHeight);
  Place(IDC_VOLUME_BAR, volumeLeft, barTop, kVolumeWidth, kBarHeight);
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
  LayOut(width, height);
}

void OnGetMinMaxInfo(HWND window, MINMAXINFO* info) {
  RECT rect = {0, 0, kMinimumClientWidth, kMinimumClientHeight + ClientRect(g_shell.statusBar).bottom};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), TRUE,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
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
