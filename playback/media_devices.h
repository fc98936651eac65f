/*
 * Which media device types this system has: found once, at start, on a
 * thread of its own, since a driver may take long to open (a CD drive
 * spinning up) or, in the worst case, never come back.
 */
#ifndef WENDLE_MEDIA_DEVICES_H
#define WENDLE_MEDIA_DEVICES_H

#include <windows.h>

#include <atomic>
#include <cstdint>

// MediaCaps: the usable MCI device types, found once at start.
enum MediaCaps : uint32_t {
  CdAudio = 1,
  WaveAudio = 2,
  MidiAudio = 4,  // set together with WaveAudio
  AviVideo = 8,
  AudioFiles = 16,  // MCI "mpegvideo" plays compressed sound files
};
extern std::atomic<uint32_t> g_mediaCaps;
// The MediaCaps bit of the device that plays an object kind (0 for a Pause,
// which needs none).
uint32_t DeviceOfKind(uint32_t kind);
// CdTrackCount: the bound for CD track numbers, from GetCdTrackCount.
extern std::atomic<uint8_t> g_cdTrackCount;

// Opens each device type once: the MediaCaps bits. Sets the CD track bound.
// Audio files are probed apart (below). Any thread.
uint32_t ProbeMediaDevices();
// AudioFiles when MCI "mpegvideo" opens a sound file: its decoders are
// installed. Takes a few tenths of a second (it builds a decoding graph).
uint32_t ProbeAudioFileDevice();

// Starts the probe on a thread of its own: the device types first, then
// the audio file device, each added to g_mediaCaps once found.
void StartMediaProbe();
// Waits, at most boundMs, until the device types other than audio files
// are known; false when the probe did not answer in time.
bool WaitForDeviceTypes(DWORD boundMs);
// Waits, for a few seconds at most, until the probe has closed the audio
// file device again, or one of the count events in stop is set. Under Wine
// the device opens the sound output while it is probed; a run that starts
// with the program (/play) waits so that its first sounds do not begin
// beside that and the probe's start-up work.
void WaitForAudioFileProbe(const HANDLE* stop, DWORD count);
// At the end: releases the probe's thread without waiting for it (a probe
// still at work must not hold the program's end).
void ReleaseMediaProbe();

#endif
