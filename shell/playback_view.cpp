#include "shell/playback_view.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
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
#include "shell/taskbar_button.h"
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
// The one timer of the time played: the position bar moves twice a second
// (the device reports its position as often), the line changes once.
constexpr UINT kPlayTimeTickMs = 500;
// The position bar's steps: an arrow key moves a second, Page Up and
// Page Down a tenth of the whole, at least five seconds.
constexpr LONG kBarLineMs = 1000;
constexpr LONG kBarPageMinimumMs = 5000;

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
  uint32_t secondsTotal = 0;
};
PlayLine s_play;

// The position bar (IDC_POSITION_BAR) and its time (IDC_POSITION_TIME).
struct PositionBar {
  LONG shownMs = 0;       // the position last set, not by the user
  bool movable = false;   // media plays: the user may move it
  bool tracking = false;  // the user moves it now: the timer leaves it
};
PositionBar s_bar;

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

HWND BarControl(int id) { return GetDlgItem(g_globals.mainWindow, id); }

void ShowBarTime(DWORD elapsedMs, DWORD totalMs) {
  char elapsed[kTimeSize];
  char total[kTimeSize];
  FormatTime(elapsedMs, elapsed, sizeof elapsed);
  FormatTime(totalMs, total, sizeof total);
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_POSITION, format, sizeof format);
  char text[kShortFormatLength + 2 * kTimeSize];
  snprintf(text, sizeof text, format, elapsed, total);
  SetWindowTextA(BarControl(IDC_POSITION_TIME), text);
}

// The bar at elapsedMs of totalMs; movable while media plays, not for a
// countdown.
void ShowBar(DWORD elapsedMs, DWORD totalMs, bool movable) {
  HWND bar = BarControl(IDC_POSITION_BAR);
  if (!bar) return;
  if (movable != s_bar.movable) {
    s_bar.movable = movable;
    if (!movable && GetFocus() == bar && HasMainView()) SetFocus(MainView().window());
    EnableWindow(bar, movable);
  }
  if (s_bar.tracking) return;
  const LONG total = static_cast<LONG>(std::min<DWORD>(totalMs, 0x7FFFFFFF));
  if (SendMessageA(bar, TBM_GETRANGEMAX, 0, 0) != total) {
    SendMessageA(bar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(bar, TBM_SETRANGEMAX, TRUE, total);
    SendMessageA(bar, TBM_SETLINESIZE, 0, kBarLineMs);
    SendMessageA(bar, TBM_SETPAGESIZE, 0, std::max<LONG>(kBarPageMinimumMs, total / 10 / 1000 * 1000));
  }
  s_bar.shownMs = static_cast<LONG>(std::min<DWORD>(elapsedMs, totalMs));
  SendMessageA(bar, TBM_SETPOS, TRUE, s_bar.shownMs);
  ShowBarTime(elapsedMs, totalMs);
  ShowTaskbarProgress(elapsedMs, totalMs, g_playback.paused != 0);
}

// Nothing plays: the bar rests at its start, and shows no time.
void ClearBar() {
  s_bar.tracking = false;
  ShowBar(0, 0, false);
  SetWindowTextA(BarControl(IDC_POSITION_TIME), "");
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
  ClearBar();
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
  if (s_play.knowsTimes) ShowBar(s_play.elapsedMs, s_play.totalMs, true);
  ComposeNowPlaying();
  ShowPlayLine(true);
  if (!g_playback.paused) SetTimer(mainWindow, IDT_PLAY_TIME, kPlayTimeTickMs, nullptr);
}

// Countdown text: in the minimized title when asked, else on the status
// bar of a window that is not minimized.
void ShowCountdown(HWND mainWindow, uint32_t seconds) {
  StopPlayTimer(mainWindow);
  // A new countdown starts at its whole length.
  if (!s_play.countdown || seconds > s_play.secondsLeft || s_play.secondsTotal < seconds) s_play.secondsTotal = seconds;
  s_play.countdown = true;
  s_play.secondsLeft = seconds;
  ShowBar((s_play.secondsTotal - seconds) * 1000u, s_play.secondsTotal * 1000u, false);
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
  if (s_play.timed && s_play.knowsTimes) ShowTaskbarProgress(s_play.elapsedMs, s_play.totalMs, paused);
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
  const bool changed = ReadPlayTimes();
  if (s_play.knowsTimes) ShowBar(s_play.elapsedMs, s_play.totalMs, true);
  if (!changed) return;
  ComposeNowPlaying();
  ShowPlayLine(true);
}

void OnPositionScroll(HWND mainWindow, int code) {
  HWND bar = BarControl(IDC_POSITION_BAR);
  const LONG position = static_cast<LONG>(SendMessageA(bar, TBM_GETPOS, 0, 0));
  if (!s_bar.movable) return;
  // Dragged, or moved by keys: the time follows; the play moves when the
  // thumb is let go or the key released.
  if (code != TB_ENDTRACK) {
    s_bar.tracking = true;
    ShowBarTime(static_cast<DWORD>(position), s_play.totalMs);
    return;
  }
  s_bar.tracking = false;
  if (position == s_bar.shownMs) return;
  // The move waits for the device while this thread's messages run: a
  // key pressed meanwhile moves the bar again, and the play follows it
  // once this move is done.
  static bool moving = false;
  static LONG next = -1;
  if (moving) {
    next = position;
    return;
  }
  moving = true;
  LONG target = position;
  bool moved = MovePlay(static_cast<DWORD>(target));
  for (; moved && next >= 0 && next != target; moved = MovePlay(static_cast<DWORD>(target))) target = next;
  next = -1;
  moving = false;
  if (!moved || !g_playback.playing || !s_play.timed) return;
  s_play.elapsedMs = static_cast<DWORD>(target);
  s_play.knowsTimes = true;
  ShowBar(s_play.elapsedMs, s_play.totalMs, true);
  ComposeNowPlaying();
  ShowPlayLine(true);
  if (!g_playback.paused) SetTimer(mainWindow, IDT_PLAY_TIME, kPlayTimeTickMs, nullptr);  // counted from here
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
