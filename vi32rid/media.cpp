// Starting WAV, MIDI, AVI and compressed sound files and CD tracks through
// MCI.
//
// A started device stays open: it reports the end of the play to the
// caller's window with MM_MCINOTIFY, and the program closes every device
// itself. A device that was opened but could not start is closed here.
//
// Every play also records, for the thread that started it, its device and
// the length of what it plays (GetLastPlayInfo): the notice names the
// device, and the length bounds the caller's wait for a notice. A play
// whose length cannot be read, or is zero, is refused: it could never
// report its end. A play that did not start records why, as an MCI error
// (GetLastPlayError): the platform's own, or the one that says what this
// library found wrong.
//
// A WAV file is checked before a device opens it: a format a wave device
// cannot take (an absurd channel count, rate or sample size) can bring the
// platform's wave driver down with the whole process.
#include "support/support_library.h"
#include "support/scoped_win.h"

#include <mmsystem.h>
#include <mmreg.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

struct LastPlay {
  UINT device;
  DWORD lengthMs;
  DWORD error;
};
thread_local LastPlay t_lastPlay = {0, 0, 0};

// A play that did not start, and why.
void RecordFailure(DWORD error) { t_lastPlay = {0, 0, error}; }

// Every device is opened under a name of its own. Without one the file's
// name (or the type) names the device, and a device whose open never came
// back would keep that name taken for the rest of the run.
MCIDEVICEID OpenDevice(LPCSTR deviceType, LPCSTR element) {
  static LONG opened = 0;
  char alias[32];
  snprintf(alias, sizeof alias, "wendle%lu", static_cast<unsigned long>(InterlockedIncrement(&opened)));
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = deviceType;
  open.lpstrAlias = alias;
  DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_ALIAS | MCI_WAIT;
  if (element) {
    open.lpstrElementName = element;
    flags |= MCI_OPEN_ELEMENT;
  }
  if (MCIERROR error = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open))) {
    RecordFailure(error);
    return 0;
  }
  return open.wDeviceID;
}

void CloseDevice(MCIDEVICEID device) { mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, 0); }

bool QueryStatus(MCIDEVICEID device, DWORD item, DWORD track, DWORD_PTR* value) {
  MCI_STATUS_PARMS status = {};
  status.dwItem = item;
  status.dwTrack = track;
  DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track ? MCI_TRACK : 0);
  if (mciSendCommandA(device, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&status)) != 0) return false;
  *value = status.dwReturn;
  return true;
}

// Starts the play; the notice of its end goes to window.
bool StartPlay(MCIDEVICEID device, HWND window, DWORD flags, DWORD from, DWORD to) {
  MCI_PLAY_PARMS play = {};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(window);
  play.dwFrom = from;
  play.dwTo = to;
  if (window) flags |= MCI_NOTIFY;
  return mciSendCommandA(device, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play)) == 0;
}

bool SetTimeFormat(MCIDEVICEID device, DWORD format) {
  MCI_SET_PARMS set = {};
  set.dwTimeFormat = format;
  return mciSendCommandA(device, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&set)) == 0;
}

// The length in milliseconds of the whole medium (track 0) or of one track;
// 0 when the device cannot tell.
DWORD LengthMs(MCIDEVICEID device, DWORD track) {
  DWORD_PTR length = 0;
  MCI_STATUS_PARMS status = {};
  status.dwItem = MCI_STATUS_LENGTH;
  status.dwTrack = track;
  DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track ? MCI_TRACK : 0);
  if (!SetTimeFormat(device, MCI_FORMAT_MILLISECONDS) ||
      mciSendCommandA(device, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&status)) != 0)
    return 0;
  length = status.dwReturn;
  return static_cast<DWORD>(length);
}

void RecordPlay(MCIDEVICEID device, DWORD lengthMs) { t_lastPlay = {device, lengthMs, 0}; }

// ---- WAV headers -------------------------------------------------------

// Limits of what a wave device is asked to take.
constexpr WORD kMaxChannels = 8;
constexpr DWORD kMinRate = 1000;
constexpr DWORD kMaxRate = 384000;
constexpr WORD kMaxCompressedBlock = 16384;
constexpr int kMaxChunks = 1024;             // chunks looked at before "data"
constexpr DWORD kExtensibleFormatSize = 40;  // a "fmt " chunk of WAVE_FORMAT_EXTENSIBLE

uint32_t Le32(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
uint16_t Le16(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

// The fields of a "fmt " chunk that decide whether a device can play it.
struct WaveFormat {
  WORD tag;
  WORD channels;
  DWORD rate;
  WORD blockAlign;
  WORD bits;
};

bool IsWholeBytesOf(WORD bits, WORD channels, WORD blockAlign) {
  return bits % 8 == 0 && blockAlign == channels * (bits / 8);
}

bool IsSaneFormat(const WaveFormat& format, DWORD chunkSize) {
  if (format.channels < 1 || format.channels > kMaxChannels) return false;
  if (format.rate < kMinRate || format.rate > kMaxRate) return false;
  if (format.blockAlign == 0) return false;
  switch (format.tag) {
    case WAVE_FORMAT_PCM:
      return (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32) &&
             IsWholeBytesOf(format.bits, format.channels, format.blockAlign);
    case WAVE_FORMAT_IEEE_FLOAT:
      return (format.bits == 32 || format.bits == 64) &&
             IsWholeBytesOf(format.bits, format.channels, format.blockAlign);
    case WAVE_FORMAT_EXTENSIBLE:
      return chunkSize >= kExtensibleFormatSize && format.bits >= 8 && format.bits <= 64 &&
             IsWholeBytesOf(format.bits, format.channels, format.blockAlign);
    default:  // compressed: decoded by the platform's codecs
      return format.bits <= 32 && format.blockAlign <= kMaxCompressedBlock;
  }
}

bool ReadAt(HANDLE file, uint64_t offset, void* buffer, DWORD size) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
         read == size;
}

// 0 for a RIFF WAVE file whose "fmt " chunk a wave device can take and
// whose "data" chunk, after it, holds at least one whole block; else the
// MCI error that says what is wrong.
DWORD WaveFileError(LPCSTR path) {
  ScopedHandle opened(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  HANDLE file = opened.get();
  if (!opened) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? MCIERR_FILE_NOT_FOUND : MCIERR_FILE_READ;
  }
  DWORD result = MCIERR_INVALID_FILE;
  LARGE_INTEGER size;
  unsigned char riff[12];
  if (GetFileSizeEx(file, &size) && ReadAt(file, 0, riff, sizeof riff) && memcmp(riff, "RIFF", 4) == 0 &&
      memcmp(riff + 8, "WAVE", 4) == 0) {
    const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    uint64_t offset = sizeof riff;
    bool haveFormat = false;
    WaveFormat format = {};
    for (int chunk = 0; chunk < kMaxChunks && offset + 8 <= fileSize; ++chunk) {
      unsigned char header[8];
      if (!ReadAt(file, offset, header, sizeof header)) break;
      const uint32_t chunkSize = Le32(header + 4);
      const uint64_t body = offset + 8;
      if (memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
        unsigned char fields[16];
        if (chunkSize < sizeof fields || !ReadAt(file, body, fields, sizeof fields)) break;
        format = {Le16(fields), Le16(fields + 2), Le32(fields + 4), Le16(fields + 12), Le16(fields + 14)};
        if (!IsSaneFormat(format, chunkSize)) {
          result = MCIERR_WAVE_OUTPUTSUNSUITABLE;
          break;
        }
        haveFormat = true;
      } else if (memcmp(header, "data", 4) == 0) {
        const uint64_t present = fileSize - body < chunkSize ? fileSize - body : chunkSize;
        if (haveFormat && present >= format.blockAlign) result = 0;
        break;
      }
      offset = body + chunkSize + (chunkSize & 1);
    }
  }
  return result;
}

// ---- Plays ----------------------------------------------------------------

BOOL PlayFile(HWND window, LPCSTR deviceType, LPCSTR path) {
  RecordFailure(MCIERR_FILENAME_REQUIRED);
  if (!path || !*path) return FALSE;
  MCIDEVICEID device = OpenDevice(deviceType, path);
  if (!device) return FALSE;
  DWORD length = LengthMs(device, 0);
  if (length > 0 && StartPlay(device, window, 0, 0, 0)) {
    RecordPlay(device, length);
    return TRUE;
  }
  // Nothing to play, or a play that would never end: the file is not one
  // the device can play.
  RecordFailure(MCIERR_INVALID_FILE);
  CloseDevice(device);
  return FALSE;
}

// Opens the CD-audio device when a disc is in it; *tracks gets the number
// of tracks on the disc (audio and data).
MCIDEVICEID OpenCdWithDisc(DWORD* tracks) {
  MCIDEVICEID device = OpenDevice("cdaudio", nullptr);
  if (!device) return 0;
  DWORD_PTR present = 0;
  DWORD_PTR count = 0;
  if (QueryStatus(device, MCI_STATUS_MEDIA_PRESENT, 0, &present) && present &&
      QueryStatus(device, MCI_STATUS_NUMBER_OF_TRACKS, 0, &count) && count > 0) {
    *tracks = static_cast<DWORD>(count);
    return device;
  }
  CloseDevice(device);
  return 0;
}

// A drive that cannot tell a track's type is taken to hold audio only.
bool IsAudioTrack(MCIDEVICEID device, DWORD track) {
  DWORD_PTR type = MCI_CDA_TRACK_AUDIO;
  QueryStatus(device, MCI_CDA_STATUS_TYPE_TRACK, track, &type);
  return type == MCI_CDA_TRACK_AUDIO;
}

// Plays exactly one track: from its start to the start of the next, or to
// the end of the disc for the last track.
bool StartTrack(MCIDEVICEID device, HWND window, DWORD track, DWORD tracks) {
  if (track > tracks || !IsAudioTrack(device, track)) return false;
  DWORD length = LengthMs(device, track);
  if (length == 0 || !SetTimeFormat(device, MCI_FORMAT_TMSF)) return false;
  RecordPlay(device, length);
  DWORD from = MCI_MAKE_TMSF(track, 0, 0, 0);
  if (track < tracks) return StartPlay(device, window, MCI_FROM | MCI_TO, from, MCI_MAKE_TMSF(track + 1, 0, 0, 0));
  return StartPlay(device, window, MCI_FROM, from, 0);
}

}  // namespace

BOOL WINAPI PlayWaveFile(HWND notifyWindow, LPCSTR path) {
  if (!path || !*path) {
    RecordFailure(MCIERR_FILENAME_REQUIRED);
    return FALSE;
  }
  if (DWORD error = WaveFileError(path)) {
    RecordFailure(error);
    return FALSE;
  }
  return PlayFile(notifyWindow, "waveaudio", path);
}

BOOL WINAPI PlayMidiFile(HWND notifyWindow, LPCSTR path, DWORD /*reserved*/) {
  // With no MIDI output the sequencer still accepts the play, then fails
  // inside without ever notifying: the caller would wait for ever.
  if (midiOutGetNumDevs() == 0) {
    RecordFailure(MCIERR_SEQ_NOMIDIPRESENT);
    return FALSE;
  }
  return PlayFile(notifyWindow, "sequencer", path);
}

BOOL WINAPI PlayVideoFile(HWND notifyWindow, LPCSTR path) { return PlayFile(notifyWindow, "avivideo", path); }

// The system's media player device decodes the compressed formats. Its type
// is always named: the platform guesses none from most of these extensions.
// It gives one error for a file that is missing, garbage, cut short or in a
// codec the system lacks: a missing file is told apart first, and the rest
// are files it cannot play.
BOOL WINAPI PlayAudioFile(HWND notifyWindow, LPCSTR path) {
  if (!path || !*path) {
    RecordFailure(MCIERR_FILENAME_REQUIRED);
    return FALSE;
  }
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    RecordFailure(attributes == INVALID_FILE_ATTRIBUTES ? MCIERR_FILE_NOT_FOUND : MCIERR_INVALID_FILE);
    return FALSE;
  }
  if (PlayFile(notifyWindow, "mpegvideo", path)) return TRUE;
  if (t_lastPlay.error == MCIERR_INTERNAL) RecordFailure(MCIERR_INVALID_FILE);
  return FALSE;
}

BOOL WINAPI PlayCdTrack(HWND notifyWindow, BYTE track, BYTE trackCount) {
  RecordFailure(MCIERR_OUTOFRANGE);
  if (track < 1 || track > trackCount) return FALSE;
  DWORD tracks = 0;
  MCIDEVICEID device = OpenCdWithDisc(&tracks);
  if (!device) {
    if (!t_lastPlay.error || t_lastPlay.error == MCIERR_OUTOFRANGE) RecordFailure(MCIERR_DEVICE_NOT_READY);
    return FALSE;
  }
  if (StartTrack(device, notifyWindow, track, tracks)) return TRUE;
  RecordFailure(MCIERR_OUTOFRANGE);  // past the disc, a data track, or no length
  CloseDevice(device);
  return FALSE;
}

// The bound for track numbers: the number of the last audio track, which on
// a disc that begins with data tracks is more than the count of audio tracks.
UINT WINAPI GetCdTrackCount(DWORD /*reserved*/) {
  DWORD tracks = 0;
  MCIDEVICEID device = OpenCdWithDisc(&tracks);
  if (!device) return 0;
  UINT last = 0;
  for (DWORD track = 1; track <= tracks; ++track)
    if (IsAudioTrack(device, track)) last = track;
  CloseDevice(device);
  return last;
}

DWORD WINAPI GetLastPlayError(void) { return t_lastPlay.error; }

UINT WINAPI GetLastPlayInfo(DWORD* lengthMs) {
  if (lengthMs) *lengthMs = t_lastPlay.lengthMs;
  return t_lastPlay.device;
}
