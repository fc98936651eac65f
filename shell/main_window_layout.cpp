// The main window's layout, its smallest size, and the minimized state with
// its animated icon.
#include "playback/icon_animation.h"
#include "resources/ids.h"
#include "shell/main_window.h"
#include "shell/playback_view.h"
#include "state/main_window_state.h"
#include "storage/list_file.h"
#include "support/language.h"

namespace {

constexpr int kMinimumWidth = 586;
constexpr int kMinimumHeight = 380;

RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

// The list between the play buttons and the right edge, below the ribbon
// and the labels; the status bar along the bottom, keeping its height.
void LayOut(int width, int height) {
  RECT ribbon = ClientRect(g_state.ribbon);
  RECT status = ClientRect(g_state.statusBar);
  SetWindowPos(g_state.listBox, nullptr, 60, ribbon.bottom + 30, width - 100,
               height - status.bottom - ribbon.bottom - 60, SWP_NOZORDER);
  PostMessageA(g_state.ribbon, WM_SIZE, 0, 0);
  SetWindowPos(g_state.statusBar, nullptr, -1, height - status.bottom - 1, width + 2, status.bottom + 2, SWP_NOZORDER);
}

}  // namespace

void OnSize(HWND, WPARAM type, int width, int height) {
  if (SoundObjectHandle playing = g_state.currentObject; playing && g_state.playAllRunning) ShowNowPlaying(playing);
  if (type == SIZE_MINIMIZED) {
    WakeIconAnimation();
    return;
  }
  LayOut(width, height);
}

void OnGetMinMaxInfo(MINMAXINFO* info) {
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  info->ptMinTrackSize.x = kMinimumWidth;
  info->ptMinTrackSize.y = screenHeight <= kMinimumHeight ? screenHeight : kMinimumHeight;
}

LRESULT OnQueryOpen(HWND window) {
  // The caption may have named the playing object: the list's own title
  // comes back.
  UpdateWindowTitle(window);
  ShowStatusString(IDS_STATUS_READY);
  RestIconAnimation();
  return TRUE;
}
