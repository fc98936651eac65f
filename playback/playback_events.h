/*
 * What playback tells the main window, which shows it: playback draws no
 * text, label, button or menu itself. Each event is a WM_PLAYBACKEVENT sent
 * synchronously to the main window from whichever thread plays, so the
 * window shows it before playing goes on. It carries a number, never a
 * pointer: the text of what plays is NowPlayingText (media_control.h), an
 * object is named by its index in the list.
 */
#ifndef WENDLE_PLAYBACK_EVENTS_H
#define WENDLE_PLAYBACK_EVENTS_H

#include <windows.h>

enum PlaybackEvent : WPARAM {
  PlaybackStarted = 1,   // what NowPlayingText names starts to play
  PlaybackCountdown,     // a countdown shows value seconds left
  PlaybackPassStarted,   // Play All's pass number value (from 1) begins
  PlaybackBusyChanged,   // something started or stopped playing
  PlaybackRunEnded,      // Play All's run is over; value objects could not be played
  PlaybackTimed,         // the media has started: its time played can be shown
  PlaybackPauseChanged,  // value 1: what plays is held; 0: it goes on
  PlaybackObjectChosen,  // Play All plays the object at index value now
  PlaybackObjectPlayed,  // the object at index value played
  PlaybackObjectFailed,  // the object at index value could not be played
};

void NotifyPlayback(PlaybackEvent event, LPARAM value = 0);

#endif
