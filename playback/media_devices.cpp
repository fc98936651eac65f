#include "playback/media_devices.h"

#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>

#include "model/sound_object_kind.h"
#include "support/scoped_win.h"
#include "support/support_library.h"

std::atomic<uint32_t> g_mediaCaps{0};
std::atomic<uint8_t> g_cdTrackCount{0};

namespace {

// The longest wait for the audio file device's probe: its first start in a
// fresh Wine set-up builds GStreamer's plugin cache, which takes seconds.
constexpr DWORD kAudioFileProbeWaitMs = 10000;

// The modules loaded in this process, at most kMaxModules of them.
constexpr DWORD kMaxModules = 1024;
struct ModuleList {
  HMODULE modules[kMaxModules];
  DWORD count = 0;
};

void ListModules(ModuleList* list) {
  DWORD bytes = 0;
  list->count = 0;
  if (EnumProcessModules(GetCurrentProcess(), list->modules, sizeof list->modules, &bytes))
    list->count = std::min<DWORD>(bytes / sizeof(HMODULE), kMaxModules);
}

// Keeps every module loaded since `before` loaded until the program ends.
// An MCI driver's playing thread may still be finishing when the last device
// closes; unloading the driver under it would crash the program.
void PinModulesLoadedSince(const ModuleList& before) {
  ModuleList after;
  ListModules(&after);
  for (DWORD i = 0; i < after.count; ++i) {
    if (std::find(before.modules, before.modules + before.count, after.modules[i]) != before.modules + before.count)
      continue;
    HMODULE pinned;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(after.modules[i]), &pinned);
  }
}

// Opens a device type, without a file or on element; true when it opens
// (it is closed again). Its driver stays loaded from then on.
bool DeviceTypeOpens(const char* type, const char* element = nullptr) {
  thread_local ModuleList before;  // large: kept out of the stack
  ListModules(&before);
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = type;
  open.lpstrElementName = element;
  DWORD flags = MCI_OPEN_TYPE | MCI_WAIT | (element ? MCI_OPEN_ELEMENT : 0);
  if (mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)) != 0) return false;
  PinModulesLoadedSince(before);
  mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
  return true;
}

// A sound file MCI "mpegvideo" opens where its decoders are installed: the
// type opens no device without a file. A WAV of silence, made for the
// probe and deleted after.
bool AudioFileDeviceWorks() {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder || !GetTempFileNameA(folder, "wdl", 0, path)) return false;
  // 8-bit 8 kHz mono, 80 samples: a RIFF header, "fmt " and "data".
  constexpr DWORD kSamples = 80;
  unsigned char wave[44 + kSamples];
  const unsigned char header[44] = {
      'R',      'I', 'F', 'F', 36 + kSamples, 0,    0, 0, 'W',  'A',  'V', 'E', 'f', 'm', 't', ' ', 16,  0,   0,   0,
      1,        0,   1,   0,   0x40,          0x1F, 0, 0, 0x40, 0x1F, 0,   0,   1,   0,   8,   0,   'd', 'a', 't', 'a',
      kSamples, 0,   0,   0};
  memcpy(wave, header, sizeof header);
  memset(wave + sizeof header, 0x80, kSamples);
  bool written = false;
  {
    ScopedHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    DWORD done = 0;
    written = file && WriteFile(file.get(), wave, sizeof wave, &done, nullptr) && done == sizeof wave;
  }
  bool opens = written && DeviceTypeOpens("mpegvideo", path);
  DeleteFileA(path);
  return opens;
}

// The probe's thread, and the event it raises once the device types other
// than audio files are known.
ScopedHandle g_probe;
SignalEvent g_typesKnown{true};

DWORD WINAPI MediaProbeThread(LPVOID) {
  g_mediaCaps |= ProbeMediaDevices();
  g_typesKnown.Raise();
  g_mediaCaps |= ProbeAudioFileDevice();
  return 0;
}

}  // namespace

uint32_t DeviceOfKind(uint32_t kind) {
  switch (kind) {
    case Wave:
      return WaveAudio;
    case Midi:
      return MidiAudio;
    case Video:
      return AviVideo;
    case AudioFile:
      return AudioFiles;
    case CdTrack:
      return CdAudio;
    default:
      return 0;
  }
}

uint32_t ProbeMediaDevices() {
  uint32_t caps = 0;
  if (DeviceTypeOpens("waveaudio")) caps |= WaveAudio | MidiAudio;
  if (DeviceTypeOpens("avivideo")) caps |= AviVideo;
  if (DeviceTypeOpens("cdaudio")) {
    caps |= CdAudio;
    g_cdTrackCount = static_cast<uint8_t>(GetCdTrackCount(0));
  }
  return caps;
}

uint32_t ProbeAudioFileDevice() { return AudioFileDeviceWorks() ? static_cast<uint32_t>(AudioFiles) : 0u; }

void StartMediaProbe() {
  if (g_probe) return;
  ResetEvent(g_typesKnown.handle());
  g_probe.reset(CreateThread(nullptr, 0, MediaProbeThread, nullptr, 0, nullptr));
  if (!g_probe) g_typesKnown.Raise();
}

bool WaitForDeviceTypes(DWORD boundMs) { return WaitForSingleObject(g_typesKnown.handle(), boundMs) == WAIT_OBJECT_0; }

void WaitForAudioFileProbe(const HANDLE* stop, DWORD count) {
  HANDLE probe = g_probe.get();
  if (!probe) return;
  constexpr DWORD kMaxStops = 3;
  HANDLE events[1 + kMaxStops] = {probe};
  if (count > kMaxStops) count = kMaxStops;
  for (DWORD i = 0; i < count; ++i) events[1 + i] = stop[i];
  WaitForMultipleObjects(1 + count, events, FALSE, kAudioFileProbeWaitMs);
}

void ReleaseMediaProbe() { g_probe.reset(); }
