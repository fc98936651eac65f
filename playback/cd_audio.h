/*
 * The audio CD in the drive, read through MCI: the identity by which the CD
 * catalog knows a disc, which of its tracks hold audio, and the list's
 * objects for them.
 */
#ifndef WENDLE_CD_AUDIO_H
#define WENDLE_CD_AUDIO_H

#include <windows.h>

#include <cstdint>

#include "model/object_list.h"

// Track numbers of an audio CD run from 1 to 99.
constexpr int kMaxCdTracks = 99;

// Reads the CdIdentity of the disc: its length as the CD-audio device
// reports it in the tracks-minutes-seconds-frames time format (first), then
// in milliseconds (second). Device 0 opens "cdaudio" for the query and
// closes it again; another device is used as it is. Either out place may be
// null. 1, or 0 when there is no device or no readable disc.
int ReadCdIdentity(UINT device, uint32_t* first, uint32_t* second);

// The numbers of the disc's audio tracks, in order, into tracks (room for
// capacity numbers); returns how many. 0 without a drive, a disc or audio.
// A track whose type the drive cannot tell counts as audio.
int ReadCdAudioTracks(uint8_t* tracks, int capacity);

// The disc in the drive, as read on the device thread: a drive that does
// not answer costs a few seconds, never the window.
struct CdDisc {
  bool identified = false;  // first and second were read
  uint32_t first = 0;
  uint32_t second = 0;
  UINT trackBound = 0;  // the support library's bound for track numbers
  int audioCount = 0;   // the audio tracks, in order
  uint8_t audioTracks[kMaxCdTracks] = {};
};
// Reads the disc's identity, and with tracks its audio tracks and bound.
// False when the drive did not answer in time.
bool ReadCdDisc(CdDisc* disc, bool tracks);

// Appends one CdTrack object per audio track of the CD in the drive to
// list; returns how many were added. *outOfMemory (when given) tells that
// memory ran out before every track was added.
int AddAllCdTracks(ObjectList& list, bool* outOfMemory = nullptr);

#endif
