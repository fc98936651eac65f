#include "shell/volume_control.h"

#include <commctrl.h>

#include "playback/media_control.h"
#include "playback/session_volume.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "support/dpi.h"
#include "support/globals.h"
#include "support/language.h"

namespace {

// The slider's steps: an arrow key 1 %, Page Up and Page Down 10 %.
constexpr LONG kSliderPage = 10;

// The controls show the volume in memory.
void ShowVolume(HWND parent) {
  SendDlgItemMessageA(parent, IDC_VOLUME_BAR, TBM_SETPOS, TRUE, static_cast<LPARAM>(g_settings.volume.load()));
  CheckDlgButton(parent, IDC_MUTE_BUTTON, g_settings.muted ? BST_CHECKED : BST_UNCHECKED);
}

// A new level or mute, from the program's own controls: the session and
// the devices take it; stored when asked (not while the slider moves).
void ChangeVolume(HWND parent, uint32_t percent, bool muted, bool store) {
  g_settings.volume = percent > kMaxVolume ? kMaxVolume : percent;
  g_settings.muted = muted ? 1 : 0;
  SetSessionVolume(g_settings.volume, muted);
  FollowVolume();
  ShowVolume(parent);
  if (store) StoreVolume();
}

}  // namespace

void CreateVolumeControls(HWND parent) {
  HWND slider =
      CreateWindowExA(0, TRACKBAR_CLASSA, LanguageText(IDS_VOLUME_BAR_NAME).c_str(),
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS | TBS_BOTH, 0, 0, 10, 10, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_VOLUME_BAR)), g_globals.instance, nullptr);
  SendMessageA(slider, TBM_SETRANGEMIN, FALSE, 0);
  SendMessageA(slider, TBM_SETRANGEMAX, TRUE, kMaxVolume);
  SendMessageA(slider, TBM_SETLINESIZE, 0, 1);
  SendMessageA(slider, TBM_SETPAGESIZE, 0, kSliderPage);
  HWND mute =
      CreateWindowExA(0, "button", LanguageText(IDS_MUTE_BUTTON).c_str(),
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, 10, 10, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MUTE_BUTTON)), g_globals.instance, nullptr);
  SendMessageA(mute, WM_SETFONT, reinterpret_cast<WPARAM>(VariablePitchFont(DpiOf(parent))), TRUE);
  OpenSessionVolume(parent);
  ChangeVolume(parent, g_settings.volume, g_settings.muted != 0, false);
}

void CloseVolumeControls() { CloseSessionVolume(); }

void OnVolumeScroll(HWND parent, int code) {
  const LRESULT position = SendDlgItemMessageA(parent, IDC_VOLUME_BAR, TBM_GETPOS, 0, 0);
  ChangeVolume(parent, static_cast<uint32_t>(position), g_settings.muted != 0, code == TB_ENDTRACK);
}

void RunVolumeCommand(HWND parent, int command) {
  uint32_t percent = g_settings.volume;
  bool muted = g_settings.muted != 0;
  switch (command) {
    case IDM_SOUND_MUTE:
      muted = !muted;
      break;
    case IDM_SOUND_VOLUME_UP:
      percent = percent + kVolumeStep > kMaxVolume ? kMaxVolume : percent + kVolumeStep;
      break;
    case IDM_SOUND_VOLUME_DOWN:
      percent = percent > kVolumeStep ? percent - kVolumeStep : 0;
      break;
    default:
      return;
  }
  ChangeVolume(parent, percent, muted, true);
}

void OnSessionVolume(HWND parent, WPARAM percent, LPARAM muted) {
  // The session has it already: the controls, the devices and the
  // settings follow.
  g_settings.volume = percent > kMaxVolume ? kMaxVolume : static_cast<uint32_t>(percent);
  g_settings.muted = muted ? 1 : 0;
  SetSessionVolume(g_settings.volume, muted != 0);  // for the devices' own volume
  FollowVolume();
  ShowVolume(parent);
  StoreVolume();
}
