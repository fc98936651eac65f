/*
 * The program's own volume: the level and mute of its audio session on the
 * default output, which the system's mixer shows as Wendle's slider and
 * which scales every sound the program plays. A change made in the mixer
 * is posted to the window given (WM_SESSIONVOLUME), so the UI thread
 * follows it; the program's own changes are not echoed.
 *
 * Where the session's volume does not reach the samples (Wine's audio
 * drivers accept it and leave the sound as it is), the audio file device
 * is given the volume itself (DeviceVolume).
 */
#ifndef WENDLE_SESSION_VOLUME_H
#define WENDLE_SESSION_VOLUME_H

#include <windows.h>

#include <cstdint>

struct IAudioSessionEvents;

// Opens the session (UI thread, once; COM is started for this thread):
// false when the system has no audio output or no session volume, and the
// volume is then the devices' alone.
bool OpenSessionVolume(HWND window);
// Releases the session and stops the notices (before window is destroyed).
void CloseSessionVolume();
// Sets the level (0 to 100 per cent) and the mute; false when no session
// is open or it refused.
bool SetSessionVolume(uint32_t percent, bool muted);
// Reads them back from the session.
bool ReadSessionVolume(uint32_t* percent, bool* muted);
// What the session tells of changes: the mixer calls it on a thread of its
// own (tests call it to stand for the mixer).
IAudioSessionEvents* SessionVolumeEvents();

// The volume the audio file device is given itself, 0 to 1000 as its
// "setaudio volume" takes it; -1 when the session's volume reaches the
// samples and the device keeps its own at full.
int DeviceVolume();

#endif
