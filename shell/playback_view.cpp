#include "shell/playback_view.h"

#include <cstdio>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/play_all.h"
#include "playback/playback_events.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/command_state.h"
#include "state/main_window_state.h"
#include "storage/list_file.h"
#include "support/language.h"
#include "support/paths.h"

namespace {

// Text of a now-playing or countdown line: a format of at most 62
// characters filled with a path of at most 511.
constexpr int kLineSize = kShortFormatLength + kTextBufferSize + 1;
constexpr int kPassFormatLength = 31;

bool ShowsTitleWhenMinimized() {
  return (g_settings.preferenceFlags & TitleWhenMinimized) && IsIconic(g_state.mainWindow);
}

// Countdown text: in the minimized title when asked, else on the status
// bar of a window that is not minimized.
void ShowCountdown(uint32_t seconds) {
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_COUNTDOWN, format, sizeof format);
  char text[kLineSize];
  snprintf(text, sizeof text, format, seconds);
  if (ShowsTitleWhenMinimized())
    SetWindowTextA(g_state.mainWindow, text);
  else if (!IsIconic(g_state.mainWindow))
    ShowStatusText(text);
}

// Pass label 545: "pass of count".
void ShowPass(HWND mainWindow, uint32_t pass) {
  char format[kPassFormatLength + 1];
  LanguageString(IDS_FMT_PASS, format, sizeof format);
  char text[kPassFormatLength + 32];
  snprintf(text, sizeof text, format, pass, PassCount());
  SetDlgItemTextA(mainWindow, IDC_LABEL_COUNT, text);
}

void ShowRunEnded(HWND mainWindow) {
  ShowStatusString(IDS_STATUS_READY);
  ShowPlayListCount(mainWindow, g_settings.playListCount);
  SelectFirstItem();
  // The title named the playing object while minimized; the list's own
  // title, with its file, comes back.
  UpdateWindowTitle(mainWindow);
  UpdateCommandStates(mainWindow);
}

}  // namespace

void OnPlaybackEvent(HWND mainWindow, WPARAM event, LPARAM value) {
  switch (event) {
    case PlaybackStarted:
      ShowNowPlaying(g_state.currentObject);
      break;
    case PlaybackCountdown:
      ShowCountdown(static_cast<uint32_t>(value));
      break;
    case PlaybackPassStarted:
      ShowPass(mainWindow, static_cast<uint32_t>(value));
      break;
    case PlaybackBusyChanged:
      UpdateCommandStates(mainWindow);
      break;
    case PlaybackRunEnded:
      ShowRunEnded(mainWindow);
      break;
    default:
      break;
  }
}

void ShowNowPlaying(SoundObjectHandle handle) {
  char text[kTextBufferSize];
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return;
    PlayingText(*record, text, sizeof text);
  }
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_NOW_PLAYING, format, sizeof format);
  char line[kLineSize];
  snprintf(line, sizeof line, format, text);
  ShowStatusText(line);
  if (ShowsTitleWhenMinimized()) SetWindowTextA(g_state.mainWindow, FileNamePart(text));
}
