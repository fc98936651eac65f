#include "shell/playback_view.h"

#include <mmsystem.h>

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
#include "support/support_library.h"

namespace {

// Text of a now-playing or countdown line: a format of at most 62
// characters filled with a path of at most 511.
constexpr int kLineSize = kShortFormatLength + kTextBufferSize + 1;
constexpr int kPassFormatLength = 31;
constexpr int kLongFormatLength = 127;
constexpr int kReasonLength = 256;

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

void ShowRunEnded(HWND mainWindow, uint32_t failures) {
  SelectFirstItem();
  if (failures) {
    char format[kLongFormatLength + 1];
    LanguageString(IDS_FMT_RUN_FAILURES, format, sizeof format);
    char text[kLongFormatLength + 16];
    snprintf(text, sizeof text, format, failures);
    ShowStatusText(text);
  } else {
    ShowStatusString(IDS_STATUS_READY);
  }
  ShowPlayListCount(mainWindow, g_settings.playListCount);
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
      ShowRunEnded(mainWindow, static_cast<uint32_t>(value));
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

void ReportPlayFailure(HWND owner, const char* what, DWORD error) {
  char reason[kReasonLength] = "";
  if (!error || !mciGetErrorStringA(error, reason, sizeof reason) || !reason[0])
    LanguageString(IDS_PLAY_ERROR_UNKNOWN, reason, sizeof reason);
  char format[kLongFormatLength + 1];
  LanguageString(IDS_FMT_CANNOT_PLAY, format, sizeof format);
  char text[kLongFormatLength + kTextBufferSize + kReasonLength];
  snprintf(text, sizeof text, format, what, reason);
  ShowStatusText(text);
  ResMessageBox(owner, g_state.languageModule, text, MAKEINTRESOURCEA(IDS_APP_CAPTION), MB_ICONEXCLAMATION);
}

void ReportObjectPlayFailure(HWND owner, SoundObjectHandle handle, DWORD error) {
  char what[kTextBufferSize] = "";
  {
    LockedBlock<SoundObject> record(handle);
    if (record) PlayingText(*record, what, sizeof what);
  }
  ReportPlayFailure(owner, what, error);
}
