/*
 * Playing one Sound Object through MCI: which device types exist, starting
 * an object, countdowns, the completion notice, stopping, and the Favorite
 * Selection that plays beside everything else.
 *
 * Playback shows nothing itself: it tells the main window what happens
 * (playback_events.h), and the shell shows it.
 *
 * MCI devices are opened, stopped and closed on the UI thread only: the
 * platform may let only the opening thread use a device, and a notice is
 * tied to its play only where the device is known. The Play All worker
 * therefore starts and stops plays through synchronous calls into the UI
 * thread; its countdowns run on its own thread.
 */
#ifndef WENDLE_MEDIA_CONTROL_H
#define WENDLE_MEDIA_CONTROL_H

#include <windows.h>

#include <cstdint>

#include "state/sound_object_handle.h"

// Opens each device type once: the MediaCaps bits. Sets the CD track bound.
// Audio files are probed apart (below).
uint32_t ProbeMediaDevices();
// AudioFiles when MCI "mpegvideo" opens a sound file: its decoders are
// installed. Takes a few tenths of a second (it builds a decoding graph).
uint32_t ProbeAudioFileDevice();
// Probes the audio file device on a thread of its own, adding AudioFiles
// to g_mediaCaps when it opens, so that the start does not wait for it.
void StartAudioFileProbe();
// Waits, for a few seconds at most, until the probe has closed the device
// again. Under Wine the device opens the sound output while it is probed;
// a run that starts with the program (/play) waits so that its first
// sounds do not begin beside that and the probe's start-up work.
void WaitForAudioFileProbe();
// At the end: releases the probe's thread without waiting for it (a probe
// still at work must not hold the program's end; the end stops it).
void ReleaseAudioFileProbe();

// Starts a Sound Object: the kind started (Wave 1, Midi 2, Video 16,
// CdTrack 4, Pause 8, AudioFile 32); 0 when nothing was started (no object, or the run
// was stopped); -1 when the media system refused it, with the MCI error
// that says why in *error (when given). The object notes whether it failed
// (SoundObject::playFailed). A media object returns once it has started
// (or failed to); a Pause object returns when its countdown is over. run
// is the Play All run the object belongs to (0 for a single play on the UI
// thread): once that run is stopped, nothing of it starts.
int PlaySoundObject(SoundObjectHandle handle, uint32_t run, DWORD* error = nullptr);
// Counts seconds down (0: the pause between objects); ends early when
// `playing` is cleared or the run is stopped. A pause holds the count.
void PauseCountdown(uint32_t seconds, uint32_t run);
// Waits, handling this thread's messages, until `playing` is cleared, the
// run is stopped, or the play's deadline passes (the play then counts as
// ended; a held play has none). Uses no CPU.
void WaitWhilePlaying(uint32_t run);

// Pause/Resume (UI thread): holds what plays, or lets it go on from where
// it was held. A hold needs something that plays or counts down, and a
// media device that can hold (MCI_PAUSE); false when nothing changed.
bool TogglePause();
// A stop ends the hold without letting anything go on (any thread).
void EndPause();
// Waits, handling this thread's messages, while paused; ends early when
// the run is stopped or the program closes. Uses no CPU.
void WaitWhilePaused(uint32_t run);
// The time played of the media that plays (UI thread): false when none
// plays or its device cannot tell.
bool GetPlayTimes(DWORD* elapsedMs, DWORD* totalMs);

// Play Selected: plays one object on the UI thread and returns when it has
// ended; the commands' states change around it. 0, or the MCI error that
// kept it from playing.
DWORD PlayAndWait(SoundObjectHandle handle);
// Stop/Skip (command 118): ends the object that plays.
void StopPlayback();

// MM_MCINOTIFY: code is the notification, device the MCI device.
void OnMediaNotify(WPARAM code, LPARAM device);

// Stop every device, close every device, silence sndPlaySound: on the UI
// thread directly, from another thread through it.
void StopAllDevices();

// The Favorite Selection (a WAV, MIDI or audio file) plays beside whatever plays,
// touching neither the list nor the playing flags; a favorite that still
// plays ends first. 0 when it started, else the MCI error that says why not.
DWORD PlayFavoriteFile(const char* path);

// The main window's handlers of the worker's synchronous requests.
LRESULT OnPlayRequest(uint32_t run);
void OnStopAllRequest();

#endif
