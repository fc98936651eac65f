/*
 * What the main window shows of playing: the now-playing text with the
 * time played, the countdowns and "Paused" on the status bar (or in the
 * minimized title), the position bar, the pass label, and the idle state
 * when a run ends. Playback tells it what happens
 * through WM_PLAYBACKEVENT.
 */
#ifndef WENDLE_PLAYBACK_VIEW_H
#define WENDLE_PLAYBACK_VIEW_H

#include <windows.h>

// WM_PLAYBACKEVENT: event is a PlaybackEvent, value its number.
void OnPlaybackEvent(HWND mainWindow, WPARAM event, LPARAM value);

// The now-playing text on the status bar (and in a minimized title), with
// the time played once the media has started.
void ShowNowPlaying();
// The line of what plays (or counts down) shown again, as the window
// changed its size or was minimized.
void ShowPlayLineAgain(HWND mainWindow);

// WM_TIMER of IDT_PLAY_TIME: the time played on the status bar and the
// position bar while media plays; the timer ends itself once nothing plays.
void OnPlayTimeTick(HWND mainWindow);
// WM_HSCROLL of the position bar (IDC_POSITION_BAR): dragged, or moved by
// its keys, it moves the media that plays there once let go (a held play
// stays held). A countdown shows on it and cannot be moved.
void OnPositionScroll(HWND mainWindow, int code);

// A play that did not start: what (an object's text or a file) and the
// media system's own reason, in a message box and on the status bar.
void ReportPlayFailure(HWND owner, const char* what, DWORD error);

#endif
