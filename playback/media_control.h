/*
 * Playing one Sound Object through MCI: which device types exist, starting
 * an object, the now-playing texts, countdowns, the menus while something
 * plays, the completion notice and stopping.
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

#include "model/sound_object_handle.h"

// Opens each device type once: the MediaCaps bits. Sets the CD track bound.
uint32_t ProbeMediaDevices();
// Greys Add All CD Tracks and Catalog Active CD without a CD-audio device.
void DisableCdMenus(HWND mainWindow, uint32_t caps);

// Starts a Sound Object: the kind started (Wave 1, Midi 2, Video 16,
// CdTrack 4, Pause 8) or 0. A media object returns once it has started (or
// failed to); a Pause object returns when its countdown is over.
int PlaySoundObject(SoundObjectHandle handle, bool fromPlayAll);
// The now-playing text on the status bar (and in a minimized title).
void ShowNowPlaying(SoundObjectHandle handle);
// Counts seconds down (0: the pause between objects) on the status bar or
// in the minimized title; ends early when `playing` is cleared.
void PauseCountdown(uint32_t seconds);

// Waits, handling this thread's messages, until `playing` is cleared or the
// play's deadline passes (the play then counts as ended). Uses no CPU.
void WaitWhilePlaying();

// Stop/Skip (command 118).
void StopPlayback();
// Play Selected Item (command 116): plays the selected object and returns
// when it has ended.
void PlaySelectedCommand();
// MM_MCINOTIFY: code is the notification, device the MCI device.
void OnMediaNotify(WPARAM code, LPARAM device);

// Stop every device, close every device, silence sndPlaySound: on the UI
// thread directly, from another thread through it.
void StopAllDevices();
// Enables or greys the menus that must not be used while something plays.
void SetPlaybackMenus(HWND mainWindow, bool enable);
// A language string on the status bar.
void ShowStatusString(UINT id);

// The main window's handlers of the worker's synchronous requests.
LRESULT OnPlayRequest(SoundObjectHandle handle);
void OnStopAllRequest();

// The main window's handling of MM_MCINOTIFY and of the worker's requests
// (WM_PLAYOBJECT, WM_STOPALLDEVICES, WM_PLAYALLENDED); false for any other
// message.
bool HandlePlaybackMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

#endif
