#include "playback/media_session.h"

#include <mmsystem.h>
#include <digitalv.h>

#include "model/file_kind.h"
#include "model/sound_object_kind.h"
#include "playback/session_volume.h"
#include "resources/ids.h"
#include "support/support_library.h"

namespace {

// How often the position of what plays is read.
constexpr UINT kPositionTickMs = 500;

void CloseDevice(UINT device) { mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, 0); }

// Removes the queued notices of one closed device, keeping every other: a
// late notice of it would end whatever plays by then on the reused number.
// An audio file's notices name no device (nameless): those go too.
void DiscardNoticesOf(HWND window, UINT device, bool nameless) {
  MSG kept[64];
  int count = 0;
  MSG msg;
  while (count < 64 && PeekMessageW(&msg, window, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE))
    if (static_cast<UINT>(msg.lParam) != device && (msg.lParam != 0 || !nameless)) kept[count++] = msg;
  for (int i = 0; i < count; ++i) PostMessageW(kept[i].hwnd, kept[i].message, kept[i].wParam, kept[i].lParam);
}

// Starts a play of the request through the support library, its notice to
// window (none when null): the device, or 0 with the reason in *error.
UINT StartThroughLibrary(const MediaRequest& request, HWND window, DWORD* lengthMs, DWORD* error) {
  BOOL started = FALSE;
  switch (request.kind) {
    case Wave:
      started = PlayWaveFile(window, request.path);
      break;
    case Midi:
      started = PlayMidiFile(window, request.path, 0);
      break;
    case Video:
      started = PlayVideoFile(window, request.path);
      break;
    case CdTrack:
      started = PlayCdTrack(window, request.track, request.trackBound);
      break;
    case AudioFile:
      started = PlayAudioFile(window, request.path);
      break;
    default:
      *error = MCIERR_UNRECOGNIZED_COMMAND;
      return 0;
  }
  if (!started) {
    DWORD reason = GetLastPlayError();
    *error = reason ? reason : MCIERR_INTERNAL;
    return 0;
  }
  *error = 0;
  return GetLastPlayInfo(lengthMs);
}

// The audio file device's own volume, where it is given one
// (session_volume.h); other devices have none.
void SetDeviceVolume(UINT device, uint32_t kind) {
  const int volume = DeviceVolume();
  if (volume < 0 || kind != AudioFile || !device) return;
  MCI_DGV_SETAUDIO_PARMS audio = {};
  audio.dwItem = MCI_DGV_SETAUDIO_VOLUME;
  audio.dwValue = static_cast<DWORD>(volume);
  mciSendCommandA(device, MCI_SETAUDIO, MCI_WAIT | MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE,
                  reinterpret_cast<DWORD_PTR>(&audio));
}

}  // namespace

void MediaSession::FollowVolume() {
  SetDeviceVolume(device_, kind_);
  SetDeviceVolume(side_, sideKind_);
}

DWORD MediaSession::Start(const MediaRequest& request, uint32_t serial, DWORD* lengthMs) {
  ClosePlay();
  DWORD error = 0;
  DWORD length = 0;
  UINT device = StartThroughLibrary(request, window(), &length, &error);
  if (!device) return error;
  device_ = device;
  kind_ = request.kind;
  track_ = request.track;
  trackBound_ = request.trackBound;
  serial_ = serial;
  held_ = false;
  noticeLost_ = false;
  heldMoveMs_ = kFromHere;
  SetDeviceVolume(device_, kind_);
  if (lengthMs) *lengthMs = length;
  SetTimer(window(), IDT_DEVICE_POSITION, kPositionTickMs, nullptr);
  return 0;
}

bool MediaSession::Hold() {
  if (!device_ || held_) return held_;
  if (mciSendCommandA(device_, MCI_PAUSE, MCI_WAIT, 0) != 0) return false;
  held_ = true;
  ReportPosition();  // where it was held
  KillTimer(window(), IDT_DEVICE_POSITION);
  return true;
}

void MediaSession::Continue() {
  if (!device_ || !held_) return;
  held_ = false;
  // A CD drive's dropped notice may still be on its way.
  MSG msg;
  while (PeekMessageW(&msg, window(), MM_MCINOTIFY, MM_MCINOTIFY, PM_NOREMOVE) &&
         static_cast<UINT>(msg.lParam) == device_ && msg.wParam == MCI_NOTIFY_ABORTED) {
    PeekMessageW(&msg, window(), MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE);
    noticeLost_ = true;
  }
  const DWORD movedTo = heldMoveMs_;
  heldMoveMs_ = kFromHere;
  if (movedTo != kFromHere)
    PlayFrom(movedTo);
  else if (noticeLost_ || mciSendCommandA(device_, MCI_RESUME, MCI_WAIT, 0) != 0)
    PlayFrom(kFromHere);
  noticeLost_ = false;
  SetTimer(window(), IDT_DEVICE_POSITION, kPositionTickMs, nullptr);
}

bool MediaSession::PlayFrom(DWORD positionMs) {
  MCI_PLAY_PARMS play = {};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(window());
  DWORD flags = MCI_NOTIFY;
  if (positionMs != kFromHere) {
    // Not every driver starts a playing or paused device anew from the
    // place a play names, and "seek" is missing on the audio file device:
    // the device stops, and plays anew from there. The stop's notice ends
    // nothing.
    mciSendCommandA(device_, MCI_STOP, MCI_WAIT, 0);
    DiscardNoticesOf(window(), device_, kind_ == AudioFile);
    flags |= MCI_FROM;
    play.dwFrom = positionMs;
    if (kind_ == CdTrack) {
      const DWORD seconds = positionMs / 1000;
      play.dwFrom = MCI_MAKE_TMSF(track_, seconds / 60, seconds % 60, positionMs % 1000 * 75 / 1000);
    }
  }
  if (kind_ == CdTrack && track_ < trackBound_) {
    flags |= MCI_TO;
    play.dwTo = MCI_MAKE_TMSF(track_ + 1, 0, 0, 0);
  }
  return mciSendCommandA(device_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play)) == 0;
}

bool MediaSession::MoveTo(DWORD positionMs) {
  if (!device_) return false;
  if (held_) {
    heldMoveMs_ = positionMs;
    report_->Position(serial_, positionMs);
    return true;
  }
  if (!PlayFrom(positionMs)) {
    // Stopped, and refused to play from there (its end, say): it ends.
    const uint32_t serial = serial_;
    ClosePlay();
    report_->Ended(serial);
    return false;
  }
  report_->Position(serial_, positionMs);
  return true;
}

void MediaSession::Stop() { ClosePlay(); }

void MediaSession::ClosePlay() {
  KillTimer(window(), IDT_DEVICE_POSITION);
  if (!device_) return;
  const UINT device = device_;
  device_ = 0;
  serial_ = 0;
  held_ = false;
  heldMoveMs_ = kFromHere;
  CloseDevice(device);
  // The close may post the play's last notice; it ends nothing now.
  DiscardNoticesOf(window(), device, kind_ == AudioFile);
}

DWORD MediaSession::StartSide(const MediaRequest& request, HWND window) {
  StopSide();
  // An audio file's notice names no device: it could not be told from
  // the play's, so the side play of one asks for none.
  HWND target = request.kind == AudioFile ? nullptr : this->window();
  DWORD error = 0;
  UINT device = StartThroughLibrary(request, target, nullptr, &error);
  if (!device) return error;
  side_ = device;
  sideKind_ = request.kind;
  sideWindow_ = target ? window : nullptr;
  SetDeviceVolume(side_, sideKind_);
  return 0;
}

void MediaSession::StopSide() {
  if (!side_) return;
  const UINT device = side_;
  HWND told = sideWindow_;
  side_ = 0;
  sideWindow_ = nullptr;
  CloseDevice(device);
  DiscardNoticesOf(window(), device, false);
  if (told) PostMessageW(told, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, 0);
}

void MediaSession::OnNotice(WPARAM code, LPARAM device) {
  UINT id = static_cast<UINT>(device);
  // A held play whose device dropped its notice is not over: it is held.
  if (held_ && id == device_ && device_ && code == MCI_NOTIFY_ABORTED) {
    noticeLost_ = true;
    return;
  }
  // An audio file's device names itself in no notice; the side play of one
  // asks for none.
  if (id == 0 && kind_ == AudioFile) id = device_;
  if (id == 0) return;
  if (id == side_) {
    // The side play ends alone, and tells its window.
    HWND told = sideWindow_;
    side_ = 0;
    sideWindow_ = nullptr;
    CloseDevice(id);
    if (told) PostMessageW(told, MM_MCINOTIFY, code, 0);
    return;
  }
  if (id != device_) return;  // a closed play's notice ends nothing
  if (code != MCI_NOTIFY_SUCCESSFUL && code != MCI_NOTIFY_ABORTED && code != MCI_NOTIFY_FAILURE) return;
  const uint32_t serial = serial_;
  ClosePlay();
  report_->Ended(serial);
}

void MediaSession::OnTimer(UINT_PTR id) {
  if (id == IDT_DEVICE_POSITION) ReportPosition();
}

void MediaSession::ReportPosition() {
  if (!device_) return;
  if (held_ && heldMoveMs_ != kFromHere) {
    report_->Position(serial_, heldMoveMs_);  // where it will go on
    return;
  }
  MCI_STATUS_PARMS status = {};
  status.dwItem = MCI_STATUS_POSITION;
  if (mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)) != 0)
    return;
  DWORD position = static_cast<DWORD>(status.dwReturn);
  if (kind_ == CdTrack) {
    // A CD plays in tracks, minutes, seconds and frames (75 a second);
    // past its track it is at its end, before it at its start.
    if (MCI_TMSF_TRACK(position) != track_)
      position = MCI_TMSF_TRACK(position) > track_ ? 0xFFFFFFFF : 0;
    else
      position = (MCI_TMSF_MINUTE(position) * 60u + MCI_TMSF_SECOND(position)) * 1000u +
                 MCI_TMSF_FRAME(position) * 1000u / 75u;
  }
  report_->Position(serial_, position);
}

void MediaSession::CloseAll() {
  ClosePlay();
  StopSide();
  sndPlaySoundA(nullptr, SND_ASYNC | SND_NODEFAULT);
}
