#include "shell/playback_view.h"

#include <mmsystem.h>

#include <cstdio>

#include "model/local_memory.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "playback/play_all.h"
#include "playback/playback_events.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/command_state.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"
#include "support/language.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "support/paths.h"
#include "support/support_library.h"

namespace {

// Text of a now-playing or countdown line: a format of at most 62
// characters filled with a path of at most 511 and two times.
constexpr int kTimeSize = 16;
constexpr int kLineSize = kShortFormatLength + kTextBufferSize + 2 * kTimeSize + 1;
constexpr int kPassFormatLength = 31;
constexpr int kLongFormatLength = 127;
constexpr int kReasonLength = 256;
constexpr UINT kPlayTimeTickMs = 1000;

// What the status bar and the minimized title say of the play in progress,
// kept so that a pause can show it held and its end can show it again.
struct PlayLine {
  char object[kTextBufferSize] = "";  // the playing object's text
  char line[kLineSize] = "";          // the status bar's line
  char title[kLineSize] = "";         // the minimized title's text
  bool timed = false;                 // media that shows its time played
  DWORD elapsedMs = 0;
  DWORD totalMs = 0;
  bool knowsTimes = false;
  bool statusToo = true;     // the line shows on the status bar too
  bool countdown = false;    // the line is a countdown's
  uint32_t secondsLeft = 0;  // the countdown's
};
PlayLine s_play;

bool ShowsTitleWhenMinimized() {
  return (g_settings.preferenceFlags & TitleWhenMinimized) && IsIconic(g_globals.mainWindow);
}

// "Paused: text" while paused, else text as it is.
void HeldText(const char* text, char* shown, size_t size) {
  if (!g_playback.paused) {
    lstrcpynA(shown, text, static_cast<int>(size));
    return;
  }
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_PAUSED, format, sizeof format);
  snprintf(shown, size, format, text);
}

// Shows the kept line: on the status bar (unless only the title shows,
// for a countdown) and in the title of a minimized window when asked.
void ShowPlayLine(bool statusToo) {
  s_play.statusToo = statusToo;
  char shown[kLineSize + kShortFormatLength];
  if (statusToo) {
    HeldText(s_play.line, shown, sizeof shown);
    ShowStatusText(shown);
  }
  if (ShowsTitleWhenMinimized()) {
    HeldText(s_play.title, shown, sizeof shown);
    SetWindowTextA(g_globals.mainWindow, shown);
  }
}

// m:ss, or h:mm:ss from an hour on.
void FormatTime(DWORD ms, char* text, size_t size) {
  DWORD seconds = ms / 1000;
  if (seconds >= 3600)
    snprintf(text, size, "%lu:%02lu:%02lu", static_cast<unsigned long>(seconds / 3600),
             static_cast<unsigned long>(seconds / 60 % 60), static_cast<unsigned long>(seconds % 60));
  else
    snprintf(text, size, "%lu:%02lu", static_cast<unsigned long>(seconds / 60),
             static_cast<unsigned long>(seconds % 60));
}

// The now-playing line, with the time played once it is known.
void ComposeNowPlaying() {
  char format[kShortFormatLength + 1];
  if (s_play.timed && s_play.knowsTimes) {
    char elapsed[kTimeSize];
    char total[kTimeSize];
    FormatTime(s_play.elapsedMs, elapsed, sizeof elapsed);
    FormatTime(s_play.totalMs, total, sizeof total);
    LanguageString(IDS_FMT_PLAY_TIME, format, sizeof format);
    snprintf(s_play.line, sizeof s_play.line, format, s_play.object, elapsed, total);
  } else {
    LanguageString(IDS_FMT_NOW_PLAYING, format, sizeof format);
    snprintf(s_play.line, sizeof s_play.line, format, s_play.object);
  }
  lstrcpynA(s_play.title, FileNamePart(s_play.object), sizeof s_play.title);
}

void StopPlayTimer(HWND mainWindow) {
  KillTimer(mainWindow, IDT_PLAY_TIME);
  s_play.timed = false;
}

// Reads the time played from the device: true when the line must change
// (the first reading, or a new second); false also when it cannot be read.
bool ReadPlayTimes() {
  DWORD elapsed = 0;
  DWORD total = 0;
  if (!GetPlayTimes(&elapsed, &total)) return false;
  const bool changed = !s_play.knowsTimes || elapsed / 1000 != s_play.elapsedMs / 1000 || total != s_play.totalMs;
  s_play.elapsedMs = elapsed;
  s_play.totalMs = total;
  s_play.knowsTimes = true;
  return changed;
}

// The media has started: its time played shows now and once a second
// while it plays (not while it is held).
void StartPlayTimer(HWND mainWindow) {
  s_play.timed = true;
  s_play.knowsTimes = false;
  ReadPlayTimes();
  ComposeNowPlaying();
  ShowPlayLine(true);
  if (!g_playback.paused) SetTimer(mainWindow, IDT_PLAY_TIME, kPlayTimeTickMs, nullptr);
}

// Countdown text: in the minimized title when asked, else on the status
// bar of a window that is not minimized.
void ShowCountdown(HWND mainWindow, uint32_t seconds) {
  StopPlayTimer(mainWindow);
  s_play.countdown = true;
  s_play.secondsLeft = seconds;
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_COUNTDOWN, format, sizeof format);
  snprintf(s_play.line, sizeof s_play.line, format, seconds);
  lstrcpynA(s_play.title, s_play.line, sizeof s_play.title);
  ShowPlayLine(!ShowsTitleWhenMinimized() && !IsIconic(g_globals.mainWindow));
}

// Pause and its end: the line says it is held; when it goes on, the line
// (and the time played) come back. After a stop, the line stays for what
// comes next to replace.
void ShowPauseChanged(HWND mainWindow, bool paused) {
  if (paused) KillTimer(mainWindow, IDT_PLAY_TIME);
  if (!paused && g_playback.playing && s_play.timed)
    StartPlayTimer(mainWindow);
  else
    ShowPlayLine(s_play.statusToo);
  UpdateCommandStates(mainWindow);
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
  StopPlayTimer(mainWindow);
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
  if (HasMainView()) UpdateWindowTitle(mainWindow, MainView().list());
  UpdateCommandStates(mainWindow);
}

}  // namespace

void OnPlaybackEvent(HWND mainWindow, WPARAM event, LPARAM value) {
  switch (event) {
    case PlaybackStarted:
      StopPlayTimer(mainWindow);
      ShowNowPlaying();
      break;
    case PlaybackTimed:
      StartPlayTimer(mainWindow);
      break;
    case PlaybackCountdown:
      ShowCountdown(mainWindow, static_cast<uint32_t>(value));
      break;
    case PlaybackPassStarted:
      ShowPass(mainWindow, static_cast<uint32_t>(value));
      break;
    case PlaybackBusyChanged:
      UpdateCommandStates(mainWindow);
      if (!g_playback.playing && !g_playback.playAllRunning) {
        StopPlayTimer(mainWindow);
      }
      break;
    case PlaybackRunEnded:
      ShowRunEnded(mainWindow, static_cast<uint32_t>(value));
      break;
    case PlaybackPauseChanged:
      ShowPauseChanged(mainWindow, value != 0);
      break;
    case PlaybackObjectChosen:
      if (HasMainView()) MainView().SetSelection(static_cast<int>(value));
      break;
    case PlaybackObjectPlayed:
    case PlaybackObjectFailed:
      // The row shows whether its object could be played.
      if (HasMainView()) {
        ObjectList& list = MainView().list();
        const int index = static_cast<int>(value);
        if (NotePlayResult(list.At(index), event == PlaybackObjectFailed)) list.NoteChanged(index);
      }
      break;
    default:
      break;
  }
}

void OnPlayTimeTick(HWND mainWindow) {
  // Nothing plays any more (its end needs no event of its own), or a
  // countdown took over: the timer goes.
  if (!g_playback.playing || !s_play.timed || g_playback.paused) {
    KillTimer(mainWindow, IDT_PLAY_TIME);
    return;
  }
  if (!ReadPlayTimes()) return;
  ComposeNowPlaying();
  ShowPlayLine(true);
}

void ShowNowPlaying() {
  s_play.countdown = false;
  NowPlayingText(s_play.object, sizeof s_play.object);
  ComposeNowPlaying();
  ShowPlayLine(true);
}

void ShowPlayLineAgain(HWND mainWindow) {
  if (!g_playback.playing) return;
  // The line is kept as it was last shown: what plays now, never an
  // object of a list that may be gone.
  if (s_play.countdown)
    ShowCountdown(mainWindow, s_play.secondsLeft);
  else
    ShowPlayLine(true);
}

void ReportPlayFailure(HWND owner, const char* what, DWORD error) {
  char reason[kReasonLength] = "";
  if (error == kDeviceNoAnswer)
    LanguageString(IDS_PLAY_ERROR_NO_ANSWER, reason, sizeof reason);
  else if (!error || !mciGetErrorStringA(error, reason, sizeof reason) || !reason[0])
    LanguageString(IDS_PLAY_ERROR_UNKNOWN, reason, sizeof reason);
  char format[kLongFormatLength + 1];
  LanguageString(IDS_FMT_CANNOT_PLAY, format, sizeof format);
  char text[kLongFormatLength + kTextBufferSize + kReasonLength];
  snprintf(text, sizeof text, format, what, reason);
  ShowStatusText(text);
  ResMessageBox(owner, LanguageModule(), text, MAKEINTRESOURCEA(IDS_APP_CAPTION), MB_ICONEXCLAMATION);
}
