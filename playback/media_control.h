/*
 * Playing one Sound Object: starting it, the countdowns, Pause, the time
 * played, stopping, and the side plays (the Favorite Selection beside
 * everything else, a CD track tried in its dialog).
 *
 * Every device is opened, played, held and closed on the device thread
 * (device_thread.h, media_session.h); the UI thread and the Play All
 * worker ask for that and wait at most kDeviceAnswerMs, so a driver that
 * never answers freezes no window: the play counts as failed, with its own
 * reason (kDeviceNoAnswer), and the next play gets a fresh device thread.
 *
 * Playback shows nothing itself: it tells the main window what happens
 * (playback_events.h), and the shell shows it.
 */
#ifndef WENDLE_MEDIA_CONTROL_H
#define WENDLE_MEDIA_CONTROL_H

#include <windows.h>

#include <cstdint>

#include "model/object_list.h"
#include "playback/media_session.h"
#include "model/sound_object_handle.h"
#include "support/globals.h"

// How long a device is given to answer one call (open and start a play,
// hold, continue, stop): longer than any healthy open seen, a few seconds.
constexpr DWORD kDeviceAnswerMs = 5000;
// The reason of a play whose device did not answer within that: not an
// MCI error (those are below 0x10000).
constexpr DWORD kDeviceNoAnswer = 0x57440001;

// What a play needs of a Sound Object, taken when it starts: nothing of
// the object is looked at after that.
struct PlayFacts {
  uint32_t kind = 0;                // Wave, Midi, Video, CdTrack, AudioFile or Pause; 0 for none
  MediaRequest media;               // a media object's file or track
  uint32_t pauseSeconds = 0;        // a Pause object's length
  char text[kTextBufferSize] = "";  // how it is announced (PlayingText)
};
// The facts of an object of list (on the UI thread, or under the list's
// Reading); false when it cannot be read.
bool TakePlayFacts(const ObjectList& list, SoundObjectHandle handle, PlayFacts* facts);

// Starts what facts describe: the kind started (Wave 1, Midi 2, Video 16,
// CdTrack 4, Pause 8, AudioFile 32); 0 when nothing was started (nothing
// to play, or the run or the play was stopped first); -1 when it could not
// be played, with the reason in *error (when given): the MCI error, or
// kDeviceNoAnswer. A media object returns once it has started (or failed
// to); a Pause object returns when its countdown is over. run is the Play
// All run the object belongs to (0 for a single play): once that run is
// stopped, nothing of it starts.
int PlayObject(const PlayFacts& facts, uint32_t run, DWORD* error = nullptr);
// Counts seconds down; ends early when `playing` is cleared or the run is
// stopped. A pause holds the count.
void PauseCountdown(uint32_t seconds, uint32_t run);
// Waits, handling this thread's messages, until `playing` is cleared, the
// run is stopped, or the play's deadline passes (the play then counts as
// ended; a held play has none). Uses no CPU. 0, or kDeviceNoAnswer when
// the play ended because its device stopped answering.
DWORD WaitWhilePlaying(uint32_t run);
// Ends the media play after its wait (its device closes); no wait.
void EndMediaPlay();

// Pause/Resume (UI thread): holds what plays, or lets it go on from where
// it was held. A hold needs something that plays or counts down, and a
// media device that can hold (MCI_PAUSE); false when nothing changed. A
// play still starting is held as soon as it has started, or, when its
// device cannot hold, the pause ends again.
bool TogglePause();
// A stop ends the hold without letting anything go on (any thread).
void EndPause();
// Waits, handling this thread's messages, while paused; ends early when
// the run is stopped or the program closes. Uses no CPU.
void WaitWhilePaused(uint32_t run);
// The time played of the media that plays: false when none plays or its
// position is not known yet.
bool GetPlayTimes(DWORD* elapsedMs, DWORD* totalMs);
// Moves the media play in progress to positionMs from its start (UI
// thread): it plays on from there, or, held, stays held and goes on from
// there. Its notice of the play that was moved ends nothing; a repeat
// starts from the beginning again. False when none plays or its device
// refused (or did not answer within kDeviceAnswerMs).
bool MovePlay(DWORD positionMs);
// By when the media play in progress must have ended (GetTickCount64): its
// length and a margin; 0 when none plays or it is held.
ULONGLONG PlayDeadline();
// The text of what plays or counts down (empty when nothing does).
void NowPlayingText(char* text, size_t size);

// Play Selected: plays one object on the UI thread and returns when it has
// ended; the commands' states change around it. 0, or the reason it
// could not be played.
DWORD PlayAndWait(const PlayFacts& facts);
// Stop/Skip (command 118): ends the object that plays.
void StopPlayback();
// Stops and closes every device the program opened (waits for the device
// thread, at most kDeviceAnswerMs).
void StopAllDevices();
// At the end of the program: the device thread ends, at most boundMs
// waited for; one stuck in a driver is left behind.
void EndMediaPlayback(DWORD boundMs);

// The Favorite Selection (a WAV, MIDI or audio file) plays beside whatever
// plays, touching neither the list nor the playing flags; a favorite that
// still plays ends first. 0 when it started, else the reason it did not.
DWORD PlayFavoriteFile(const char* path);
// A CD track tried beside everything else; window receives MM_MCINOTIFY
// when it ends or is stopped. 0 when it started, else the reason.
DWORD PlayCdTrackTrial(uint8_t track, HWND window);
// Ends the side play (the favorite or the tried track).
void StopSidePlay();
// The devices that play take the volume they are to have now (no wait).
void FollowVolume();

// Runs another job on the device thread (reading the disc in the drive,
// say), waiting at most kDeviceAnswerMs: false when it did not answer. The
// job keeps its own results; given up, it may still run later.
bool RunDeviceJob(const std::shared_ptr<DeviceJob>& job);

// How many device threads were given up since the start.
unsigned DeviceThreadsGivenUp();

#endif
