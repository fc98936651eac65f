/*
 * One play with its notice, on the device thread: starting a WAV, MIDI,
 * AVI or audio file or a CD track through the support library with the
 * thread's window as the target of its notice, holding and continuing it,
 * reading its position, and closing its device when it ends or is
 * stopped. Beside it, one side play: the Favorite Selection, or a CD
 * track tried in the CD track dialog.
 *
 * Every method runs on the device thread (device_thread.h); whoever plays
 * learns of the play's end and position through a PlayReport, from that
 * thread.
 */
#ifndef WENDLE_MEDIA_SESSION_H
#define WENDLE_MEDIA_SESSION_H

#include <windows.h>

#include <cstdint>

#include "playback/device_thread.h"
#include "support/globals.h"

// What to play: its kind (Wave, Midi, Video, CdTrack, AudioFile), its
// file, or its track and the disc's bound for tracks.
struct MediaRequest {
  uint32_t kind = 0;
  char path[kTextBufferSize] = "";
  uint8_t track = 0;
  uint8_t trackBound = 0;
};

// How a session tells whoever plays what became of a play, by the play's
// number. Called on the device thread.
class PlayReport {
 public:
  virtual ~PlayReport() = default;
  // The play ended by its notice (its device is closed by now).
  virtual void Ended(uint32_t serial) = 0;
  // Where the play stands, about twice a second while it is not held.
  virtual void Position(uint32_t serial, DWORD elapsedMs) = 0;
};

class MediaSession : public DeviceSession {
 public:
  MediaSession(HWND window, PlayReport* report) : DeviceSession(window), report_(report) {}
  ~MediaSession() override { CloseAll(); }

  // Starts the play numbered serial (a play still open is closed first):
  // 0 with *lengthMs its length, or the MCI error that says why not.
  DWORD Start(const MediaRequest& request, uint32_t serial, DWORD* lengthMs);
  // Holds the play; false when nothing plays or its device cannot hold.
  bool Hold();
  // Lets a held play go on; a device without MCI_RESUME, or a CD drive
  // that dropped its notice when it paused, plays on from where it stands
  // to the end of its track, with a new notice.
  void Continue();
  // Moves the play to positionMs from its start: it plays on from there,
  // or, held, goes on from there when it continues. False when nothing
  // plays or its device refused.
  bool MoveTo(DWORD positionMs);
  // Ends the play without a report.
  void Stop();
  // The number of the play in progress (0 for none), and whether it is held.
  uint32_t serial() const { return device_ ? serial_ : 0; }
  bool held() const { return device_ && held_; }
  // Starts a side play beside the play (the last side play ends first). A
  // WAV or MIDI file or a CD track tells window (when given) of its end
  // with MM_MCINOTIFY; an audio file plays without a notice, which would
  // name no device. 0, or the MCI error that says why not.
  DWORD StartSide(const MediaRequest& request, HWND window);
  // Ends the side play.
  void StopSide();
  // The audio file devices of the play and the side play take the volume
  // they are to have now (session_volume.h).
  void FollowVolume();

  void OnNotice(WPARAM code, LPARAM device) override;
  void OnTimer(UINT_PTR id) override;
  void CloseAll() override;

 private:
  void ClosePlay();
  void ReportPosition();
  // Plays the device from positionMs (from where it stands when
  // kFromHere), with a notice.
  bool PlayFrom(DWORD positionMs);
  static constexpr DWORD kFromHere = 0xFFFFFFFF;

  PlayReport* report_;
  UINT device_ = 0;
  uint32_t kind_ = 0;
  uint8_t track_ = 0;
  uint8_t trackBound_ = 0;
  uint32_t serial_ = 0;
  bool held_ = false;
  // The held device dropped its notice (a CD drive sends ABORTED when it
  // pauses): the play goes on by a new play that asks for one.
  bool noticeLost_ = false;
  // Moved while held: where it goes on from (kFromHere: where it was held).
  DWORD heldMoveMs_ = kFromHere;
  UINT side_ = 0;
  uint32_t sideKind_ = 0;
  HWND sideWindow_ = nullptr;
};

#endif
