// The test bench's virtual CD drive: an installable MCI driver that the
// test prefix registers as "CDAudio". It serves the disc described by the
// file that WENDLE_VIRTUAL_CD names (see disc.h); without that variable or
// file there is no drive and every open fails, so a test process sees a CD
// drive only when it asks for one.
//
// "No drive" is the answer to the open command, as a CD driver without a
// drive gives it; the driver instance itself always loads. Wine frees the
// device's type name twice when a driver refuses DRV_OPEN, and that stray
// free corrupted the test process's heap.
//
// The drive keeps a position on a disc whose tracks lie back to back from
// 0 ms. A play sounds, on its own thread, the tone of each audio track in
// its range through the wave device (data tracks are silent), then posts
// its notice. A play that is stopped, closed or replaced gets its aborted
// notice before the command that ended it returns.
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>

#include "disc.h"

extern "C" {
// Exported by winmm for MCI drivers; not declared by the toolchain's headers.
BOOL WINAPI mciDriverNotify(HWND callback, MCIDEVICEID device, UINT status);
DWORD_PTR WINAPI mciGetDriverData(MCIDEVICEID device);
BOOL WINAPI mciSetDriverData(MCIDEVICEID device, DWORD_PTR data);
__declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1, LPARAM param2);
}

namespace {

using virtual_cd::Disc;

// What DRV_OPEN answers for an open that is not a device's (no parameters).
constexpr DWORD_PTR kConfigurationOpen = 0xFFFFFFFF;
constexpr size_t kMaxDiscFile = 64 * 1024;
constexpr DWORD kToneTimeoutMs = 30000;  // a wave device that never finishes

struct Device {
  MCIDEVICEID id = 0;
  bool drive = false;  // the process described a disc (or an empty drive)
  Disc disc;
  CRITICAL_SECTION lock;
  DWORD timeFormat = MCI_FORMAT_MSF;  // as a CD-audio device starts
  // Guarded by lock: the position in ms, the play in progress and the
  // window that waits for its notice.
  uint32_t positionMs = 0;
  bool playing = false;
  HWND notifyWindow = nullptr;
  // The play's thread and its range; used by the thread that sends commands.
  HANDLE thread = nullptr;
  HANDLE stopEvent = nullptr;
  uint32_t fromMs = 0;
  uint32_t toMs = 0;
};

class Lock {
 public:
  explicit Lock(Device* device) : section_(&device->lock) { EnterCriticalSection(section_); }
  ~Lock() { LeaveCriticalSection(section_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION* section_;
};

// ---- The disc -----------------------------------------------------------

// Reads the disc file WENDLE_VIRTUAL_CD names; false when there is none.
bool ReadDisc(Disc* disc) {
  char path[MAX_PATH * 2];
  DWORD length = GetEnvironmentVariableA("WENDLE_VIRTUAL_CD", path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::unique_ptr<char[]> text(new (std::nothrow) char[kMaxDiscFile]);
  DWORD read = 0;
  bool ok = text && ReadFile(file, text.get(), kMaxDiscFile, &read, nullptr) && read < kMaxDiscFile;
  CloseHandle(file);
  return ok && virtual_cd::ParseDisc(std::string_view(text.get(), read), disc);
}

uint32_t TrackStartMs(const Disc& disc, int track) {
  uint32_t start = 0;
  for (int n = 1; n < track; ++n) start += disc.tracks[n - 1].lengthMs;
  return start;
}

uint32_t DiscLengthMs(const Disc& disc) { return TrackStartMs(disc, disc.trackCount + 1); }

// The track that holds a position (the last track for the end of the disc).
int TrackAt(const Disc& disc, uint32_t ms) {
  int track = 1;
  for (int n = 2; n <= disc.trackCount; ++n)
    if (TrackStartMs(disc, n) <= ms) track = n;
  return track;
}

// ---- Time formats ---------------------------------------------------------

uint32_t MsOfMinutesSecondsFrames(uint32_t minutes, uint32_t seconds, uint32_t frames) {
  return (minutes * 60 + seconds) * 1000 + frames * 1000 / 75;
}

DWORD MsfOfMs(uint32_t ms) {
  uint64_t frames = static_cast<uint64_t>(ms) * 75 / 1000;
  uint64_t minutes = frames / (75 * 60);
  if (minutes > 255) minutes = 255;
  return MCI_MAKE_MSF(minutes, (frames / 75) % 60, frames % 75);
}

// A position given in the device's time format, in ms; false when it names
// no place on the disc.
bool PositionToMs(const Device& device, DWORD value, uint32_t* ms) {
  switch (device.timeFormat) {
    case MCI_FORMAT_MILLISECONDS:
      *ms = value;
      break;
    case MCI_FORMAT_MSF:
      *ms = MsOfMinutesSecondsFrames(MCI_MSF_MINUTE(value), MCI_MSF_SECOND(value), MCI_MSF_FRAME(value));
      break;
    default: {  // TMSF
      int track = MCI_TMSF_TRACK(value);
      if (track < 1 || track > device.disc.trackCount) return false;
      *ms = TrackStartMs(device.disc, track) +
            MsOfMinutesSecondsFrames(MCI_TMSF_MINUTE(value), MCI_TMSF_SECOND(value), MCI_TMSF_FRAME(value));
      break;
    }
  }
  return *ms <= DiscLengthMs(device.disc);
}

// A position in the device's time format; *flags gets how winmm shows it.
DWORD PositionFromMs(const Device& device, uint32_t ms, DWORD* flags) {
  switch (device.timeFormat) {
    case MCI_FORMAT_MILLISECONDS:
      return ms;
    case MCI_FORMAT_MSF:
      *flags = MCI_COLONIZED3_RETURN;
      return MsfOfMs(ms);
    default: {
      int track = TrackAt(device.disc, ms);
      DWORD msf = MsfOfMs(ms - TrackStartMs(device.disc, track));
      *flags = MCI_COLONIZED4_RETURN;
      return MCI_MAKE_TMSF(track, MCI_MSF_MINUTE(msf), MCI_MSF_SECOND(msf), MCI_MSF_FRAME(msf));
    }
  }
}

// A length: milliseconds, or minutes-seconds-frames in MSF and TMSF alike.
DWORD LengthFromMs(const Device& device, uint32_t ms, DWORD* flags) {
  if (device.timeFormat == MCI_FORMAT_MILLISECONDS) return ms;
  *flags = MCI_COLONIZED3_RETURN;
  return MsfOfMs(ms);
}

// ---- Playing --------------------------------------------------------------

// Sounds one track's tone; false when the stop event ended it.
bool PlayTone(int track, HANDLE stopEvent) {
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = virtual_cd::kToneRate;
  format.nAvgBytesPerSec = virtual_cd::kToneRate;
  format.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!done) return WaitForSingleObject(stopEvent, 0) != WAIT_OBJECT_0;
  HWAVEOUT wave = nullptr;
  if (waveOutOpen(&wave, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) !=
      MMSYSERR_NOERROR) {
    // No wave device: the track plays in silence.
    CloseHandle(done);
    return WaitForSingleObject(stopEvent, 0) != WAIT_OBJECT_0;
  }
  unsigned char samples[virtual_cd::kToneSamples];
  for (size_t i = 0; i < sizeof samples; ++i) samples[i] = virtual_cd::ToneSample(track, i);
  WAVEHDR header = {};
  header.lpData = reinterpret_cast<LPSTR>(samples);
  header.dwBufferLength = sizeof samples;
  bool stopped = false;
  if (waveOutPrepareHeader(wave, &header, sizeof header) == MMSYSERR_NOERROR) {
    if (waveOutWrite(wave, &header, sizeof header) == MMSYSERR_NOERROR) {
      const HANDLE events[2] = {stopEvent, done};
      const ULONGLONG start = GetTickCount64();
      while (!(header.dwFlags & WHDR_DONE)) {
        ULONGLONG waited = GetTickCount64() - start;
        if (waited >= kToneTimeoutMs) break;
        DWORD result = WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(kToneTimeoutMs - waited));
        if (result == WAIT_OBJECT_0) {
          stopped = true;
          break;
        }
      }
      waveOutReset(wave);  // returns the buffer at once
    }
    waveOutUnprepareHeader(wave, &header, sizeof header);
  }
  waveOutClose(wave);
  CloseHandle(done);
  return !stopped;
}

DWORD WINAPI PlayThread(void* parameter) {
  Device* device = static_cast<Device*>(parameter);
  const Disc& disc = device->disc;
  bool stopped = false;
  for (int track = 1; track <= disc.trackCount && !stopped; ++track) {
    uint32_t start = TrackStartMs(disc, track);
    uint32_t end = start + disc.tracks[track - 1].lengthMs;
    if (end <= device->fromMs || start >= device->toMs) continue;
    {
      Lock lock(device);
      device->positionMs = start > device->fromMs ? start : device->fromMs;
    }
    if (disc.tracks[track - 1].audio) {
      stopped = !PlayTone(track, device->stopEvent);
      // A held track plays on, silent, until it is stopped.
      if (!stopped && disc.tracks[track - 1].held)
        stopped = WaitForSingleObject(device->stopEvent, INFINITE) == WAIT_OBJECT_0;
    } else
      stopped = WaitForSingleObject(device->stopEvent, 0) == WAIT_OBJECT_0;
  }
  if (stopped) return 0;
  HWND window;
  {
    Lock lock(device);
    device->positionMs = device->toMs;
    device->playing = false;
    window = device->notifyWindow;
    device->notifyWindow = nullptr;
  }
  if (window) mciDriverNotify(window, device->id, MCI_NOTIFY_SUCCESSFUL);
  return 0;
}

// Ends the play in progress, if any; a play still waiting for its notice
// gets `status` before this returns.
void EndPlay(Device* device, UINT status) {
  if (device->thread) {
    SetEvent(device->stopEvent);
    WaitForSingleObject(device->thread, INFINITE);
    CloseHandle(device->thread);
    device->thread = nullptr;
    ResetEvent(device->stopEvent);
  }
  HWND window;
  {
    Lock lock(device);
    device->playing = false;
    window = device->notifyWindow;
    device->notifyWindow = nullptr;
  }
  if (window) mciDriverNotify(window, device->id, status);
}

// ---- Commands -------------------------------------------------------------

HWND CallbackOf(const void* params) {
  return reinterpret_cast<HWND>(static_cast<const MCI_GENERIC_PARMS*>(params)->dwCallback);
}

// The notice a command asked for with MCI_NOTIFY, once it has succeeded (a
// play sends its own when it ends).
DWORD Finish(Device* device, UINT message, DWORD flags, const void* params, DWORD result) {
  if (message != MCI_PLAY && LOWORD(result) == 0 && (flags & MCI_NOTIFY) && params)
    mciDriverNotify(CallbackOf(params), device->id, MCI_NOTIFY_SUCCESSFUL);
  return result;
}

// A stuck drive: the call does not come back until the test lets it.
void StayStuck() {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, virtual_cd::kStuckReleaseEvent);
  if (!release) return;
  WaitForSingleObject(release, INFINITE);
  CloseHandle(release);
}

DWORD Play(Device* device, DWORD flags, const MCI_PLAY_PARMS* params) {
  if (!device->disc.present) return MCIERR_HARDWARE;
  if (device->disc.stuck) StayStuck();
  uint32_t length = DiscLengthMs(device->disc);
  uint32_t from, to = length;
  {
    Lock lock(device);
    from = device->positionMs;
  }
  if (flags & (MCI_FROM | MCI_TO)) {
    if (!params) return MCIERR_NULL_PARAMETER_BLOCK;
    if ((flags & MCI_FROM) && !PositionToMs(*device, params->dwFrom, &from)) return MCIERR_OUTOFRANGE;
    if ((flags & MCI_TO) && !PositionToMs(*device, params->dwTo, &to)) return MCIERR_OUTOFRANGE;
  }
  if (from > to) return MCIERR_OUTOFRANGE;

  EndPlay(device, MCI_NOTIFY_ABORTED);
  device->fromMs = from;
  device->toMs = to;
  {
    Lock lock(device);
    device->positionMs = from;
    device->playing = true;
    device->notifyWindow = (flags & MCI_NOTIFY) && params ? CallbackOf(params) : nullptr;
  }
  device->thread = CreateThread(nullptr, 0, PlayThread, device, 0, nullptr);
  if (!device->thread) {
    Lock lock(device);
    device->playing = false;
    device->notifyWindow = nullptr;
    return MCIERR_OUT_OF_MEMORY;
  }
  if (flags & MCI_WAIT) WaitForSingleObject(device->thread, INFINITE);
  return 0;
}

DWORD Seek(Device* device, DWORD flags, const MCI_SEEK_PARMS* params) {
  if (!device->disc.present) return MCIERR_HARDWARE;
  uint32_t to;
  if (flags & MCI_SEEK_TO_START) {
    to = 0;
  } else if (flags & MCI_SEEK_TO_END) {
    to = DiscLengthMs(device->disc);
  } else if ((flags & MCI_TO) && params) {
    if (!PositionToMs(*device, params->dwTo, &to)) return MCIERR_OUTOFRANGE;
  } else {
    return MCIERR_MISSING_PARAMETER;
  }
  EndPlay(device, MCI_NOTIFY_ABORTED);
  Lock lock(device);
  device->positionMs = to;
  return 0;
}

DWORD Set(Device* device, DWORD flags, const MCI_SET_PARMS* params) {
  if (flags & MCI_SET_TIME_FORMAT) {
    if (!params) return MCIERR_NULL_PARAMETER_BLOCK;
    switch (params->dwTimeFormat) {
      case MCI_FORMAT_MILLISECONDS:
      case MCI_FORMAT_MSF:
      case MCI_FORMAT_TMSF:
        device->timeFormat = params->dwTimeFormat;
        break;
      default:
        return MCIERR_BAD_TIME_FORMAT;
    }
  }
  if (flags & MCI_SET_DOOR_OPEN) EndPlay(device, MCI_NOTIFY_ABORTED);
  return 0;  // door closed and audio channels: nothing to do
}

DWORD ReturnResource(MCI_STATUS_PARMS* params, WORD value, WORD resource) {
  params->dwReturn = MAKEMCIRESOURCE(value, resource);
  return MCI_RESOURCE_RETURNED;
}

DWORD Status(Device* device, DWORD flags, MCI_STATUS_PARMS* params) {
  if (!params) return MCIERR_NULL_PARAMETER_BLOCK;
  if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
  const Disc& disc = device->disc;
  uint32_t position;
  bool playing;
  {
    Lock lock(device);
    position = device->positionMs;
    playing = device->playing;
  }
  DWORD result = 0;
  switch (params->dwItem) {
    case MCI_STATUS_MEDIA_PRESENT:
      return ReturnResource(params, disc.present, disc.present ? MCI_TRUE : MCI_FALSE);
    case MCI_STATUS_READY:
      return ReturnResource(params, disc.present, disc.present ? MCI_TRUE : MCI_FALSE);
    case MCI_STATUS_MODE: {
      WORD mode = !disc.present ? MCI_MODE_OPEN : playing ? MCI_MODE_PLAY : MCI_MODE_STOP;
      return ReturnResource(params, mode, mode);
    }
    case MCI_STATUS_TIME_FORMAT:
      return ReturnResource(params, static_cast<WORD>(device->timeFormat),
                            static_cast<WORD>(MCI_FORMAT_RETURN_BASE + device->timeFormat));
    default:
      break;
  }
  if (!disc.present) return MCIERR_HARDWARE;
  bool hasTrack = (flags & MCI_TRACK) != 0;
  if (hasTrack && (params->dwTrack < 1 || params->dwTrack > static_cast<DWORD>(disc.trackCount)))
    return MCIERR_OUTOFRANGE;
  int track = static_cast<int>(params->dwTrack);
  switch (params->dwItem) {
    case MCI_STATUS_NUMBER_OF_TRACKS:
      params->dwReturn = static_cast<DWORD>(disc.trackCount);
      break;
    case MCI_STATUS_CURRENT_TRACK:
      params->dwReturn = static_cast<DWORD>(TrackAt(disc, position));
      break;
    case MCI_STATUS_LENGTH:
      params->dwReturn =
          LengthFromMs(*device, hasTrack ? disc.tracks[track - 1].lengthMs : DiscLengthMs(disc), &result);
      break;
    case MCI_STATUS_POSITION:
      if (flags & MCI_STATUS_START)
        position = 0;
      else if (hasTrack)
        position = TrackStartMs(disc, track);
      params->dwReturn = PositionFromMs(*device, position, &result);
      break;
    case MCI_CDA_STATUS_TYPE_TRACK: {
      if (!hasTrack) return MCIERR_MISSING_PARAMETER;
      WORD type = disc.tracks[track - 1].audio ? MCI_CDA_TRACK_AUDIO : MCI_CDA_TRACK_OTHER;
      return ReturnResource(params, type, type);
    }
    default:
      return MCIERR_UNSUPPORTED_FUNCTION;
  }
  return result;
}

DWORD GetDevCaps(DWORD flags, MCI_GETDEVCAPS_PARMS* params) {
  if (!params) return MCIERR_NULL_PARAMETER_BLOCK;
  if (!(flags & MCI_GETDEVCAPS_ITEM)) return MCIERR_MISSING_PARAMETER;
  BOOL yes;
  switch (params->dwItem) {
    case MCI_GETDEVCAPS_DEVICE_TYPE:
      params->dwReturn = MAKEMCIRESOURCE(MCI_DEVTYPE_CD_AUDIO, MCI_DEVTYPE_CD_AUDIO);
      return MCI_RESOURCE_RETURNED;
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_HAS_AUDIO:
    case MCI_GETDEVCAPS_CAN_EJECT:
      yes = TRUE;
      break;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_HAS_VIDEO:
    case MCI_GETDEVCAPS_USES_FILES:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE:
    case MCI_GETDEVCAPS_CAN_SAVE:
      yes = FALSE;
      break;
    default:
      return MCIERR_UNSUPPORTED_FUNCTION;
  }
  params->dwReturn = MAKEMCIRESOURCE(yes, yes ? MCI_TRUE : MCI_FALSE);
  return MCI_RESOURCE_RETURNED;
}

DWORD Info(Device* device, DWORD flags, MCI_INFO_PARMSW* params) {
  if (!params || !params->lpstrReturn) return MCIERR_NULL_PARAMETER_BLOCK;
  wchar_t text[64];
  if (flags & MCI_INFO_PRODUCT) {
    lstrcpynW(text, L"Wendle virtual CD", 64);
  } else if (flags & MCI_INFO_MEDIA_IDENTITY) {
    if (!device->disc.present) return MCIERR_HARDWARE;
    _snwprintf(text, 64, L"%d-%lu", device->disc.trackCount, static_cast<unsigned long>(DiscLengthMs(device->disc)));
    text[63] = L'\0';
  } else {
    return MCIERR_MISSING_PARAMETER;
  }
  if (params->dwRetSize == 0) return MCIERR_PARAM_OVERFLOW;
  lstrcpynW(params->lpstrReturn, text, static_cast<int>(params->dwRetSize));
  return 0;
}

DWORD Command(Device* device, UINT message, DWORD flags, void* params) {
  switch (message) {
    case MCI_OPEN_DRIVER:
      return device->drive ? 0 : MCIERR_HARDWARE;
    case MCI_CLOSE_DRIVER:
    case MCI_STOP:
      EndPlay(device, MCI_NOTIFY_ABORTED);
      return 0;
    case MCI_PAUSE:
      // As CD-audio drivers do: the play holds where it is and its notice
      // comes at once, as ABORTED; a play without MCI_FROM goes on from
      // there. MCI_RESUME stays unsupported, as on some systems.
      EndPlay(device, MCI_NOTIFY_ABORTED);
      return 0;
    case MCI_PLAY:
      return Play(device, flags, static_cast<MCI_PLAY_PARMS*>(params));
    case MCI_SEEK:
      return Seek(device, flags, static_cast<MCI_SEEK_PARMS*>(params));
    case MCI_SET:
      return Set(device, flags, static_cast<MCI_SET_PARMS*>(params));
    case MCI_STATUS:
      return Status(device, flags, static_cast<MCI_STATUS_PARMS*>(params));
    case MCI_GETDEVCAPS:
      return GetDevCaps(flags, static_cast<MCI_GETDEVCAPS_PARMS*>(params));
    case MCI_INFO:
      return Info(device, flags, static_cast<MCI_INFO_PARMSW*>(params));
    default:
      return MCIERR_UNSUPPORTED_FUNCTION;
  }
}

// DRV_OPEN: a device of the drive, when the process describes a disc.
LRESULT OpenDevice(MCI_OPEN_DRIVER_PARMS* open) {
  if (!open) return kConfigurationOpen;
  Device* device = new (std::nothrow) Device;
  if (!device) return 0;
  device->drive = ReadDisc(&device->disc);
  device->stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!device->stopEvent) {
    delete device;
    return 0;
  }
  InitializeCriticalSection(&device->lock);
  device->id = open->wDeviceID;
  mciSetDriverData(device->id, reinterpret_cast<DWORD_PTR>(device));
  // winmm then uses its own command table for CD audio, string commands too.
  open->wType = MCI_DEVTYPE_CD_AUDIO;
  open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
  return device->id;
}

LRESULT CloseDevice(DWORD_PTR id) {
  if (id == kConfigurationOpen) return 1;
  auto* device = reinterpret_cast<Device*>(mciGetDriverData(static_cast<MCIDEVICEID>(id)));
  if (!device) return 0;
  EndPlay(device, MCI_NOTIFY_ABORTED);
  mciSetDriverData(device->id, 0);
  CloseHandle(device->stopEvent);
  DeleteCriticalSection(&device->lock);
  delete device;
  return 1;
}

}  // namespace

LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1, LPARAM param2) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
      return 1;
    case DRV_OPEN:
      return OpenDevice(reinterpret_cast<MCI_OPEN_DRIVER_PARMS*>(param2));
    case DRV_CLOSE:
      return CloseDevice(id);
    case DRV_QUERYCONFIGURE:
      return 0;
    case DRV_CONFIGURE:
      return DRVCNF_OK;
    case DRV_INSTALL:
    case DRV_REMOVE:
      return DRVCNF_RESTART;
    default:
      break;
  }
  if (message < DRV_MCI_FIRST || message > DRV_MCI_LAST) return DefDriverProc(id, driver, message, param1, param2);
  auto* device = reinterpret_cast<Device*>(mciGetDriverData(static_cast<MCIDEVICEID>(id)));
  if (!device) return MCIERR_INVALID_DEVICE_ID;
  DWORD flags = static_cast<DWORD>(param1);
  void* params = reinterpret_cast<void*>(param2);
  return Finish(device, message, flags, params, Command(device, message, flags, params));
}
