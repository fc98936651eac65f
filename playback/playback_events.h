/*
 * What playback tells the main window, which shows it: playback draws no
 * text, label, button or menu itself. Each event is a WM_PLAYBACKEVENT sent
 * synchronously to the main window from whichever thread plays, so the
 * window shows it before playing goes on. It carries a number, never a
 * pointer: the playing object is g_state.currentObject.
 */
#ifndef WENDLE_PLAYBACK_EVENTS_H
#define WENDLE_PLAYBACK_EVENTS_H

#include <windows.h>

enum PlaybackEvent : WPARAM {
  PlaybackStarted = 1,   // g_state.currentObject starts to play
  PlaybackCountdown,     // a countdown shows value seconds left
  PlaybackPassStarted,   // Play All's pass number value (from 1) begins
  PlaybackBusyChanged,   // something started or stopped playing
  PlaybackRunEnded,      // Play All's run is over; value objects could not be played
  PlaybackTimed,         // the media of g_state.currentObject has started: its time played can be shown
  PlaybackPauseChanged,  // value 1: what plays is held; 0: it goes on
};

void NotifyPlayback(PlaybackEvent event, LPARAM value = 0);

#endif
