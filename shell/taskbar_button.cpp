#include "shell/taskbar_button.h"

#include <shobjidl.h>

#include "resources/ids.h"
#include "support/language.h"
#include "support/scoped_win.h"

namespace {

ITaskbarList3* g_taskbar = nullptr;
bool g_comStarted = false;
HWND g_window = nullptr;
// What the progress shows now, so that the same state is not sent again.
TBPFLAG g_state = TBPF_NOPROGRESS;

constexpr int kIconSize = 16;

// Draws a thumbnail button's shapes in the selected brush: one or two
// triangles (pointing left for Previous) and, for Play/Pause, a bar.
void DrawThumbShapes(HDC dc, int id) {
  const bool left = id == IDC_THUMB_PREVIOUS;
  const bool playPause = id == IDC_THUMB_PLAY_PAUSE;
  for (int i = 0; i < (playPause ? 1 : 2); ++i) {
    const int x = (playPause ? 3 : 1) + i * 7;
    POINT right[3] = {{x, 3}, {x, 13}, {x + 7, 8}};
    POINT leftward[3] = {{x + 7, 3}, {x + 7, 13}, {x, 8}};
    Polygon(dc, left ? leftward : right, 3);
  }
  if (playPause) Rectangle(dc, 11, 3, 15, 14);
}

// A thumbnail button's picture at 16 pixels: black shapes, the rest
// transparent.
HICON MakeIcon(int id) {
  ScopedWindowDC screen(nullptr);
  if (!screen) return nullptr;
  ScopedMemoryDC dc(screen.get());
  ScopedBitmap color(CreateCompatibleBitmap(screen.get(), kIconSize, kIconSize));
  ScopedBitmap mask(CreateBitmap(kIconSize, kIconSize, 1, 1, nullptr));
  if (!dc || !color || !mask) return nullptr;
  const RECT all = {0, 0, kIconSize, kIconSize};
  {
    ScopedSelect bitmap(dc.get(), color.get());
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  {
    ScopedSelect bitmap(dc.get(), mask.get());
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ScopedSelect brush(dc.get(), GetStockObject(BLACK_BRUSH));
    ScopedSelect pen(dc.get(), GetStockObject(NULL_PEN));
    DrawThumbShapes(dc.get(), id);
  }
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = color.get();
  info.hbmMask = mask.get();
  return CreateIconIndirect(&info);  // copies both bitmaps
}

void AddThumbButtons(HWND window) {
  const int ids[] = {IDC_THUMB_PREVIOUS, IDC_THUMB_PLAY_PAUSE, IDC_THUMB_NEXT};
  const UINT tips[] = {IDS_THUMB_PREVIOUS, IDS_THUMB_PLAY_PAUSE, IDS_THUMB_NEXT};
  THUMBBUTTON buttons[3] = {};
  ScopedIcon icons[3];
  for (int i = 0; i < 3; ++i) {
    icons[i].reset(MakeIcon(ids[i]));
    buttons[i].dwMask = static_cast<THUMBBUTTONMASK>(THB_ICON | THB_TOOLTIP | THB_FLAGS);
    buttons[i].iId = static_cast<UINT>(ids[i]);
    buttons[i].hIcon = icons[i].get();
    buttons[i].dwFlags = THBF_ENABLED;
    LanguageText tip(tips[i]);
    MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, buttons[i].szTip, ARRAYSIZE(buttons[i].szTip));
    buttons[i].szTip[ARRAYSIZE(buttons[i].szTip) - 1] = L'\0';
  }
  // The shell keeps copies of the pictures.
  g_taskbar->ThumbBarAddButtons(window, 3, buttons);
}

}  // namespace

UINT TaskbarButtonCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarButtonCreated");
  return message;
}

void OnTaskbarButtonCreated(HWND window) {
  // After a restart of the shell the button is new: so is everything on it.
  CloseTaskbarButton();
  g_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                              reinterpret_cast<void**>(&g_taskbar))) ||
      FAILED(g_taskbar->HrInit())) {
    CloseTaskbarButton();
    return;
  }
  g_window = window;
  g_state = TBPF_NOPROGRESS;
  AddThumbButtons(window);
}

void ShowTaskbarProgress(DWORD elapsedMs, DWORD totalMs, bool held) {
  if (!g_taskbar) return;
  const TBPFLAG state = totalMs == 0 ? TBPF_NOPROGRESS : held ? TBPF_PAUSED : TBPF_NORMAL;
  if (state != g_state) g_taskbar->SetProgressState(g_window, state);
  g_state = state;
  if (totalMs) g_taskbar->SetProgressValue(g_window, elapsedMs < totalMs ? elapsedMs : totalMs, totalMs);
}

int ThumbButtonMediaKey(int id) {
  switch (id) {
    case IDC_THUMB_PREVIOUS:
      return APPCOMMAND_MEDIA_PREVIOUSTRACK;
    case IDC_THUMB_PLAY_PAUSE:
      return APPCOMMAND_MEDIA_PLAY_PAUSE;
    case IDC_THUMB_NEXT:
      return APPCOMMAND_MEDIA_NEXTTRACK;
    default:
      return 0;
  }
}

void CloseTaskbarButton() {
  if (g_taskbar) g_taskbar->Release();
  g_taskbar = nullptr;
  g_window = nullptr;
  if (g_comStarted) CoUninitialize();
  g_comStarted = false;
}
